#include "installation/vault/FolderLookup.h"

#include "installation/standin/Journal.h"
#include "installation/vault/VaultCalls.h"
#include "installation/vault/VaultClass.h"

#include <cwchar>
#include <string>

namespace vault {

namespace {

// The configured id of the folder at `path`; 0 when there is none.
int32_t ConfiguredFolderId(const std::wstring& path) {
    for (const std::wstring& line : standin::ConfigValues(kVaultComponent, L"folder")) {
        const size_t bar = line.rfind(L'|');
        if (bar == std::wstring::npos) continue;
        if (_wcsicmp(line.substr(0, bar).c_str(), path.c_str()) == 0) {
            return static_cast<int32_t>(wcstol(line.c_str() + bar + 1, nullptr, 0));
        }
    }
    return 0;
}

}  // namespace

HRESULT Folder::GetFolderId(int32_t* id) {
    const HRESULT hr = Called({L"GetFolderId", std::to_wstring(id_)});
    if (FAILED(hr)) return hr;
    if (!id) return E_POINTER;
    *id = id_;
    return S_OK;
}

HRESULT FolderLookup::FindFolderByPath(BSTR path, IVaultFolder** folder) {
    if (folder) *folder = nullptr;
    const std::wstring text = Text(path);
    const HRESULT hr = Called({L"FindFolderByPath", text});
    if (FAILED(hr)) return hr;
    if (!folder) return E_POINTER;
    if (const int32_t id = ConfiguredFolderId(text)) *folder = standin::NewObject<Folder>(Vault(), id);
    return S_OK;
}

}  // namespace vault
