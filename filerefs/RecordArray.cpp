#include "filerefs/RecordArray.h"

#include "common/ComErrors.h"
#include "common/ComPtr.h"
#include "interfaces/ComRecords.h"

#include <utility>

namespace {

constexpr LCID kEnglish = 9;  // LANG_ENGLISH

}  // namespace

RecordArray RecordArray::Own(SAFEARRAY* array) {
    RecordArray holder;
    holder.array_ = array;
    holder.owns_ = true;
    holder.Access();
    return holder;
}

RecordArray::RecordArray(RecordArray&& other) noexcept
    : owns_(std::exchange(other.owns_, false)),
      array_(std::exchange(other.array_, nullptr)),
      data_(std::exchange(other.data_, nullptr)) {}

RecordArray& RecordArray::operator=(RecordArray&& other) noexcept {
    if (this != &other) {
        Reset();
        owns_ = std::exchange(other.owns_, false);
        array_ = std::exchange(other.array_, nullptr);
        data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
}

void RecordArray::Access() {
    if (!array_) return;
    const HRESULT hr = SafeArrayAccessData(array_, &data_);
    if (FAILED(hr)) {
        data_ = nullptr;
        Reset();
        ThrowIfFailed(hr, L"Could not lock safe array.");
    }
}

SAFEARRAY** RecordArray::HandOff() {
    if (data_) SafeArrayUnaccessData(array_);
    data_ = nullptr;
    owns_ = true;
    return &array_;
}

void RecordArray::TakeBack() { Access(); }

void RecordArray::Reset() {
    const bool owned = owns_;
    SAFEARRAY* array = Detach();
    if (owned && array) SafeArrayDestroy(array);
}

SAFEARRAY* RecordArray::Detach() {
    if (data_) SafeArrayUnaccessData(array_);
    data_ = nullptr;
    owns_ = false;
    return std::exchange(array_, nullptr);
}

SAFEARRAY* CreateRecordArray(REFGUID libraryId, WORD major, WORD minor, REFGUID recordId, ULONG count) {
    ComPtr<IRecordInfo> info;
    const HRESULT hr = GetRecordInfoFromGuids(libraryId, major, minor, kEnglish, recordId, info.Put());
    if (FAILED(hr)) RaiseComError(hr, L"Couldn't get record info from guids.");
    SAFEARRAY* array = SafeArrayCreateVectorEx(VT_RECORD, 0, count, info.Get());
    if (!array) RaiseComError(E_OUTOFMEMORY, L"SafeArrayCreateVectorEx failed.");
    return array;
}

RecordArray CreateAddInCmdDataArray(ULONG count) {
    return RecordArray::Own(
        CreateRecordArray(LIBID_VaultRecords, kVaultRecordsMajor, kVaultRecordsMinor, RECID_AddInCmdData, count));
}

RecordArray CreateObjectIdPairArray(ULONG count) {
    return RecordArray::Own(
        CreateRecordArray(LIBID_VaultRecords, kVaultRecordsMajor, kVaultRecordsMinor, RECID_ObjectIdPair, count));
}

RecordArray CreateNonUniqueFileRecordArray(ULONG count) {
    return RecordArray::Own(CreateRecordArray(LIBID_DialogRecords, kDialogRecordsMajor, kDialogRecordsMinor,
                                              RECID_NonUniqueFileRecord, count));
}

RecordArray CreateBstrArray(ULONG count) {
    SAFEARRAY* array = SafeArrayCreateVectorEx(VT_BSTR, 0, count, nullptr);
    if (!array) RaiseComError(E_OUTOFMEMORY, L"SafeArrayCreateVectorEx failed.");
    return RecordArray::Own(array);
}

