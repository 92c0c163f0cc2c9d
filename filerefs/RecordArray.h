// COM arrays handed to the vault's components: SAFEARRAYs of records
// (VT_RECORD) and of paths (VT_BSTR). Every failure is raised as a ComError.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

// Owns one one-dimensional SAFEARRAY whose data stays accessed while the
// holder fills it.
class RecordArray {
public:
    RecordArray() = default;
    // Takes the array over and accesses its data; on failure destroys it and raises.
    static RecordArray Own(SAFEARRAY* array);
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;
    RecordArray(RecordArray&& other) noexcept;
    RecordArray& operator=(RecordArray&& other) noexcept;
    ~RecordArray() { Reset(); }

    SAFEARRAY* Get() const { return array_; }
    template <class T>
    T* Data() const { return static_cast<T*>(data_); }
    ULONG Count() const { return array_ ? array_->rgsabound[0].cElements : 0; }

    // For an in/out argument: data access ends and the callee gets the
    // address of the array pointer; TakeBack then owns whatever it left there.
    SAFEARRAY** HandOff();
    void TakeBack();

    // Ends data access and destroys an owned array.
    void Reset();
    // Ends data access and hands the array on (to a VARIANT, for example).
    [[nodiscard]] SAFEARRAY* Detach();

private:
    void Access();

    bool owns_ = false;
    SAFEARRAY* array_ = nullptr;
    void* data_ = nullptr;
};

// A zeroed vector of `count` records of one type from a registered type library.
SAFEARRAY* CreateRecordArray(REFGUID libraryId, WORD major, WORD minor, REFGUID recordId, ULONG count);
RecordArray CreateAddInCmdDataArray(ULONG count);
RecordArray CreateObjectIdPairArray(ULONG count);
RecordArray CreateNonUniqueFileRecordArray(ULONG count);

// A vector of `count` null BSTRs, lower bound 0.
RecordArray CreateBstrArray(ULONG count);
