#include "installation/vault/AddInHooks.h"

#include "common/Handles.h"
#include "installation/addin/StandinAddIn.h"
#include "installation/standin/Journal.h"
#include "installation/vault/VaultCalls.h"
#include "installation/vault/VaultClass.h"

#include <cwchar>
#include <string>
#include <vector>

namespace vault {

namespace {

constexpr DISPID kVaultValueId = 1;

bool Configured(const wchar_t* key, int32_t cmd) {
    for (const std::wstring& value : standin::ConfigValues(kVaultComponent, key)) {
        if (static_cast<int32_t>(wcstoul(value.c_str(), nullptr, 0)) == cmd) return true;
    }
    return false;
}

// The add-ins' classes, in the order of the installation's add-in key.
std::vector<CLSID> RegisteredAddIns() {
    std::vector<CLSID> classes;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAddInsKey.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return classes;
    for (DWORD index = 0;; ++index) {
        wchar_t name[64];
        DWORD length = 64;
        if (RegEnumValueW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromString(name, &clsid))) classes.push_back(clsid);
    }
    return classes;
}

}  // namespace

HRESULT Hooks::Reserved3() { return Called({L"hooks slot 3"}); }
HRESULT Hooks::PrepareHooks() { return Called({L"PrepareHooks"}); }
HRESULT Hooks::Reserved5() { return Called({L"hooks slot 5"}); }
HRESULT Hooks::Reserved6() { return Called({L"hooks slot 6"}); }
HRESULT Hooks::Reserved7() { return Called({L"hooks slot 7"}); }
HRESULT Hooks::Reserved8() { return Called({L"hooks slot 8"}); }
HRESULT Hooks::Reserved9() { return Called({L"hooks slot 9"}); }
HRESULT Hooks::Reserved10() { return Called({L"hooks slot 10"}); }

HRESULT Hooks::GetDispatcher(int32_t cmd, IAddInDispatcher** dispatcher) {
    if (dispatcher) *dispatcher = nullptr;
    const HRESULT hr = Called({L"GetDispatcher", AddInCommandName(cmd)});
    if (FAILED(hr)) return hr;
    if (!dispatcher) return E_POINTER;
    if (!Configured(L"null-dispatcher", cmd)) *dispatcher = standin::NewObject<Dispatcher>(Vault(), cmd);
    return S_OK;
}

HRESULT Dispatcher::Dispatch(AddInCmd* cmd, SAFEARRAY** data) {
    const HRESULT hr = Called({L"Dispatch", AddInCommandName(cmd_), cmd ? AddInCommandName(cmd->cmdType) : L"(null)"});
    if (FAILED(hr)) return hr;
    if (!cmd || !data) return E_POINTER;
    HRESULT answered = S_OK;
    for (const CLSID& clsid : RegisteredAddIns()) {
        ComPtr<IStandinAddIn> addIn;
        const HRESULT created =
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IStandinAddIn, addIn.PutVoid());
        if (FAILED(created)) return created;
        answered = addIn->OnCommand(cmd, data);
        if (FAILED(answered)) return answered;
    }
    return answered;
}

int32_t ConfiguredVaultValue() {
    return static_cast<int32_t>(standin::ConfigCode(kVaultComponent, L"vault-value", 521));
}

HRESULT ValueSource::GetVaultValue(int32_t* value) {
    const HRESULT hr = Called({L"GetVaultValue"});
    if (FAILED(hr)) return hr;
    if (!value) return E_POINTER;
    *value = ConfiguredVaultValue();
    return S_OK;
}

HRESULT Automation::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT Automation::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT Automation::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const bool known = names[i] && _wcsicmp(names[i], L"VaultValue") == 0;
        ids[i] = known ? kVaultValueId : DISPID_UNKNOWN;
        if (!known) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT Automation::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (id != kVaultValueId) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = ConfiguredVaultValue();
    return S_OK;
}

}  // namespace vault
