#include "installation/vault/ReferenceUtility.h"

#include "installation/standin/Journal.h"
#include "installation/vault/VaultCalls.h"
#include "installation/vault/VaultClass.h"
#include "interfaces/ComRecords.h"

namespace vault {

namespace {

bool HoldsObjectIdPairs(SAFEARRAY* array) {
    ComPtr<IRecordInfo> info;
    GUID type = {};
    return array && SafeArrayGetDim(array) == 1 && SUCCEEDED(SafeArrayGetRecordInfo(array, info.Put())) &&
           SUCCEEDED(info->GetGuid(&type)) && type == RECID_ObjectIdPair &&
           SafeArrayGetElemsize(array) == sizeof(ObjectIdPair);
}

std::vector<ObjectIdPair> PairsOf(SAFEARRAY* array) {
    std::vector<ObjectIdPair> pairs;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        ObjectIdPair pair = {};
        if (SUCCEEDED(SafeArrayGetElement(array, &i, &pair))) pairs.push_back(pair);
    }
    return pairs;
}

}  // namespace

HRESULT ReferenceUtility::AddItems(IVaultObjectModel*, SAFEARRAY** items) {
    const bool valid = items && HoldsObjectIdPairs(*items);
    std::wstring journaled = valid ? L"" : L"(not ObjectIdPair records)";
    const std::vector<ObjectIdPair> pairs = valid ? PairsOf(*items) : std::vector<ObjectIdPair>();
    for (const ObjectIdPair& pair : pairs) {
        if (!journaled.empty()) journaled += L";";
        journaled += std::to_wstring(pair.firstId) + L"," + std::to_wstring(pair.secondId);
    }
    const HRESULT hr = Called({L"AddItems", journaled});
    if (FAILED(hr)) return hr;
    if (!valid) return E_INVALIDARG;
    for (const ObjectIdPair& pair : pairs) documentIds_.push_back(pair.secondId);
    return S_OK;
}

HRESULT ReferenceUtility::Configure(int32_t value1, int32_t value2) {
    return Called({L"Configure", std::to_wstring(value1), std::to_wstring(value2)});
}

HRESULT ReferenceUtility::Run(int32_t* count) {
    const HRESULT hr = Called({L"Run"});
    if (FAILED(hr)) return hr;
    results_.clear();
    for (int32_t id : documentIds_) {
        const Document* document = graph_.FindById(id);
        if (!document) continue;
        results_.push_back(document->path);
        results_.insert(results_.end(), document->references.begin(), document->references.end());
    }
    if (count) *count = static_cast<int32_t>(results_.size());
    return S_OK;
}

HRESULT ReferenceUtility::GetResults(int32_t kind, IReferenceList** list) {
    if (list) *list = nullptr;
    const HRESULT hr = Called({L"GetResults", std::to_wstring(kind)});
    if (FAILED(hr)) return hr;
    if (!list) return E_POINTER;
    if (standin::Config(kVaultComponent, L"null-results") != L"1") {
        *list = standin::NewObject<ReferenceList>(*vault_.Get(), results_);
    }
    return S_OK;
}

HRESULT ReferenceList::GetFirstPosition(IListPosition** position) {
    if (position) *position = nullptr;
    const HRESULT hr = Called({L"GetFirstPosition"});
    if (FAILED(hr)) return hr;
    if (!position) return E_POINTER;
    if (standin::Config(kVaultComponent, L"null-position") != L"first") {
        *position = standin::NewObject<ListPosition>(*static_cast<IReferenceList*>(this), 0, entries_.size());
    }
    return S_OK;
}

// Positions handed back are this list's own.
HRESULT ReferenceList::GetNext(IListPosition** position, BSTR* path, int32_t* index, int32_t* unused) {
    const auto* place = position && *position ? static_cast<ListPosition*>(*position) : nullptr;
    const bool inList = place && place->Index() < entries_.size();
    const HRESULT hr = Called({L"GetNext", inList ? entries_[place->Index()] : L"(end)"});
    if (FAILED(hr)) return hr;
    if (!path || !index || !unused) return E_POINTER;
    *path = nullptr;
    if (!inList) return E_INVALIDARG;
    const size_t at = place->Index();
    *path = SysAllocStringLen(entries_[at].data(), static_cast<UINT>(entries_[at].size()));
    *index = static_cast<int32_t>(at);
    *unused = 0;
    (*position)->Release();
    *position = standin::Config(kVaultComponent, L"null-position") == L"next"
                    ? nullptr
                    : standin::NewObject<ListPosition>(*static_cast<IReferenceList*>(this), at + 1, entries_.size());
    return S_OK;
}

HRESULT ListPosition::IsNull(int16_t* isNull) {
    const HRESULT hr = Called({L"IsNull"});
    if (FAILED(hr)) return hr;
    if (!isNull) return E_POINTER;
    const bool atEnd = index_ >= size_;
    *isNull = atEnd ? VARIANT_TRUE : VARIANT_FALSE;
    return atEnd ? S_OK : S_FALSE;
}

}  // namespace vault
