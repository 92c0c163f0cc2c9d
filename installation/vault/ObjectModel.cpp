#include "installation/vault/ObjectModel.h"

#include "installation/vault/ReferenceUtility.h"
#include "installation/vault/VaultCalls.h"

#include <string>

namespace vault {

HRESULT VaultObject::GetId(int32_t* id) {
    const HRESULT hr = Called({L"GetId", std::to_wstring(id_)});
    if (FAILED(hr)) return hr;
    if (!id) return E_POINTER;
    *id = id_;
    return S_OK;
}

HRESULT ObjectModel::GetObjectsByPath(BSTR path, IVaultObject** first, IVaultObject** second) {
    if (first) *first = nullptr;
    if (second) *second = nullptr;
    const HRESULT hr = Called({L"GetObjectsByPath", Text(path)});
    if (FAILED(hr)) return hr;
    if (!first || !second) return E_POINTER;
    const Document* document = path ? graph_.Find(path) : nullptr;
    if (!document) return S_FALSE;
    *first = standin::NewObject<VaultObject>(Vault(), document->id);
    *second = standin::NewObject<VaultObject>(Vault(), document->folderId);
    return S_OK;
}

HRESULT ObjectModel::CreateUtility(int32_t kind, IUnknown** utility) {
    if (utility) *utility = nullptr;
    const HRESULT hr = Called({L"CreateUtility", std::to_wstring(kind)});
    if (FAILED(hr)) return hr;
    if (!utility) return E_POINTER;
    if (kind != kReferenceUtilityKind) return E_INVALIDARG;
    if (Without(L"utility")) {
        *utility = standin::NewObject<VaultObject>(Vault(), 0);  // an object that is no utility
    } else {
        *utility = static_cast<IReferenceUtility*>(standin::NewObject<ReferenceUtility>(Vault(), graph_));
    }
    return S_OK;
}

}  // namespace vault
