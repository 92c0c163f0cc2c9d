#include "TestVault.h"

HRESULT TestVault::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || (withHooks_ && iid == IID_IAddInHooks)) {
        *out = static_cast<IAddInHooks*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT TestVault::PrepareHooks() {
    calls.push_back("PrepareHooks");
    return S_OK;
}

HRESULT TestVault::GetDispatcher(int32_t cmd, IAddInDispatcher** dispatcher) {
    calls.push_back("GetDispatcher " + std::to_string(cmd));
    if (dispatcher) *dispatcher = nullptr;
    return S_OK;
}

HRESULT TestVault::Unexpected(const char* slot) {
    calls.push_back(std::string("unexpected ") + slot);
    return E_UNEXPECTED;
}
