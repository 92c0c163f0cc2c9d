// A vault object as the host passes it in MoveRequest::vault: counts its
// references and records every add-in hook call it receives, by slot.
#pragma once

#include "interfaces/AddInHooks.h"

#include <string>
#include <vector>

class TestVault : public IAddInHooks {
public:
    explicit TestVault(bool withHooks) : withHooks_(withHooks) {}

    std::vector<std::string> calls;
    long References() const { return refs_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        const bool answers = iid == IID_IUnknown || (withHooks_ && iid == IID_IAddInHooks);
        *out = answers ? static_cast<IAddInHooks*>(this) : nullptr;
        if (answers) AddRef();
        return answers ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE Reserved3() override { return Call("slot 3"); }
    HRESULT STDMETHODCALLTYPE PrepareHooks() override { return Call("PrepareHooks"); }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return Call("slot 5"); }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return Call("slot 6"); }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return Call("slot 7"); }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return Call("slot 8"); }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return Call("slot 9"); }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return Call("slot 10"); }
    HRESULT STDMETHODCALLTYPE GetDispatcher(int32_t, IAddInDispatcher** dispatcher) override {
        *dispatcher = nullptr;
        return Call("GetDispatcher");
    }

private:
    HRESULT Call(const char* slot) {
        calls.push_back(slot);
        return S_OK;
    }
    bool withHooks_;
    long refs_ = 1;
};
