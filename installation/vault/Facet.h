// One interface of the vault object. Every facet shares the vault's identity
// and reference count, so that a new interface is one more facet.
#pragma once

#include <unknwn.h>

namespace vault {

template <class Interface>
class Facet : public Interface {
public:
    explicit Facet(IUnknown& vault) : vault_(vault) {}
    Facet(const Facet&) = delete;
    Facet& operator=(const Facet&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return vault_.QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return vault_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return vault_.Release(); }

protected:
    IUnknown& Vault() const { return vault_; }

private:
    IUnknown& vault_;
};

}  // namespace vault
