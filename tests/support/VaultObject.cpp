#include "VaultObject.h"

#include "installation/standin/Journal.h"
#include "installation/vault/VaultClass.h"

#include <stdexcept>

ComPtr<IUnknown> CreateVaultObject() {
    ComPtr<IUnknown> vault;
    if (FAILED(CoCreateInstance(CLSID_StandinVault, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, vault.PutVoid()))) {
        throw std::runtime_error("the vault object is not installed");
    }
    return vault;
}

std::wstring VaultDocument(const std::wstring& path, const std::vector<std::wstring>& references) {
    std::wstring line = L"document=" + standin::EscapeField(path);
    for (const std::wstring& reference : references) line += L"|" + standin::EscapeField(reference);
    return line;
}
