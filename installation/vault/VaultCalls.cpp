#include "installation/vault/VaultCalls.h"

#include "installation/standin/ErrorInfo.h"
#include "installation/standin/Journal.h"
#include "installation/vault/VaultClass.h"

namespace vault {

HRESULT Called(std::initializer_list<std::wstring> fields) {
    standin::Journal(kVaultComponent, fields);
    const std::wstring call = *fields.begin();
    const HRESULT configured = standin::ConfigCode(kVaultComponent, L"fail:" + call, S_OK);
    if (FAILED(configured)) standin::LeaveErrorInfo(call + L" failed in the vault");
    return configured;
}

bool Without(const wchar_t* name) {
    for (const std::wstring& value : standin::ConfigValues(kVaultComponent, L"without")) {
        if (value == name) return true;
    }
    return false;
}

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(L"(null)"); }

}  // namespace vault
