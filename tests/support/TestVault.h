// A vault object as the host passes it in MoveRequest::vault: counts its
// references and records the add-in hook calls it receives.
#pragma once

#include "interfaces/AddInHooks.h"

#include <string>
#include <vector>

class TestVault : public IAddInHooks {
public:
    explicit TestVault(bool withHooks) : withHooks_(withHooks) {}

    std::vector<std::string> calls;
    long References() const { return refs_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE Reserved3() override { return Unexpected("slot 3"); }
    HRESULT STDMETHODCALLTYPE PrepareHooks() override;
    HRESULT STDMETHODCALLTYPE Reserved5() override { return Unexpected("slot 5"); }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return Unexpected("slot 6"); }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return Unexpected("slot 7"); }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return Unexpected("slot 8"); }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return Unexpected("slot 9"); }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return Unexpected("slot 10"); }
    HRESULT STDMETHODCALLTYPE GetDispatcher(int32_t cmd, IAddInDispatcher** dispatcher) override;

private:
    HRESULT Unexpected(const char* slot);
    bool withHooks_;
    long refs_ = 1;
};
