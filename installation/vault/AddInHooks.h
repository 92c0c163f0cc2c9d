// The vault's add-in side: the hook interface that hands out one dispatcher
// per command, the interface with the vault value, and IDispatch with the
// "VaultValue" property that add-ins read through the command record.
#pragma once

#include "common/ComPtr.h"
#include "installation/standin/ComServer.h"
#include "installation/vault/Facet.h"
#include "interfaces/AddInHooks.h"

namespace vault {

class Hooks : public Facet<IAddInHooks> {
public:
    using Facet::Facet;
    HRESULT STDMETHODCALLTYPE Reserved3() override;
    HRESULT STDMETHODCALLTYPE PrepareHooks() override;
    HRESULT STDMETHODCALLTYPE Reserved5() override;
    HRESULT STDMETHODCALLTYPE Reserved6() override;
    HRESULT STDMETHODCALLTYPE Reserved7() override;
    HRESULT STDMETHODCALLTYPE Reserved8() override;
    HRESULT STDMETHODCALLTYPE Reserved9() override;
    HRESULT STDMETHODCALLTYPE Reserved10() override;
    // A configured "null-dispatcher=<cmd>" hands out none for that command.
    HRESULT STDMETHODCALLTYPE GetDispatcher(int32_t cmd, IAddInDispatcher** dispatcher) override;
};

// Calls every add-in listed under the installation's add-in key, in the
// key's order; the first that fails ends the dispatch with its code, else the
// last add-in's answer is the result.
class Dispatcher : public standin::ComObject<IAddInDispatcher> {
public:
    Dispatcher(IUnknown& vault, int32_t cmd) : vault_(ComPtr<IUnknown>::Borrow(&vault)), cmd_(cmd) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IUnknown, out);
    }
    HRESULT STDMETHODCALLTYPE Dispatch(AddInCmd* cmd, SAFEARRAY** data) override;

private:
    ComPtr<IUnknown> vault_;
    int32_t cmd_;
};

// "vault-value=<n>" in the configuration; 521 by default.
class ValueSource : public Facet<IVaultValue> {
public:
    using Facet::Facet;
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVaultValue(int32_t* value) override;
};

int32_t ConfiguredVaultValue();

class Automation : public Facet<IDispatch> {
public:
    using Facet::Facet;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;
};

}  // namespace vault
