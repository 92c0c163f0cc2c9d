// The host's vault object model and its reference utility, as the module uses
// them to find the documents that a file references.
//
// Slots the module does not call belong to the vault; they answer E_NOTIMPL
// here so that an implementation needs to define only what it serves. Slot
// numbers in comments are vtable indices (the three IUnknown slots included).
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

#include <cstdint>

// {AFA451F6-9C67-4D07-9E61-CECA5F28A44D}
inline constexpr IID IID_IVaultObjectModel = {0xAFA451F6, 0x9C67, 0x4D07, {0x9E, 0x61, 0xCE, 0xCA, 0x5F, 0x28, 0xA4, 0x4D}};
// {A72BA527-B41F-4B78-8695-D7093A3FD924}
inline constexpr IID IID_IReferenceUtility = {0xA72BA527, 0xB41F, 0x4B78, {0x86, 0x95, 0xD7, 0x09, 0x3A, 0x3F, 0xD9, 0x24}};

// The utility kind that follows references.
inline constexpr int32_t kReferenceUtilityKind = 12;

#define GH_UNUSED_SLOT(n) \
    virtual HRESULT STDMETHODCALLTYPE Slot##n() { return E_NOTIMPL; }

// A file or folder of the vault.
struct IVaultObject : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6)
    virtual HRESULT STDMETHODCALLTYPE GetId(int32_t* id) = 0;  // slot 7
};

// A place in a result list; "null" once the list is walked.
struct IListPosition : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6)
    // S_OK ends a walk at once: while entries remain the answer is a non-zero
    // success code with the flag 0.
    virtual HRESULT STDMETHODCALLTYPE IsNull(int16_t* isNull) = 0;  // slot 7
};

struct IReferenceList : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6) GH_UNUSED_SLOT(7)
    GH_UNUSED_SLOT(8) GH_UNUSED_SLOT(9) GH_UNUSED_SLOT(10)
    virtual HRESULT STDMETHODCALLTYPE GetFirstPosition(IListPosition** position) = 0;  // slot 11
    // The path at `position`, which moves on to the next place (in and out).
    virtual HRESULT STDMETHODCALLTYPE GetNext(IListPosition** position, BSTR* path, int32_t* value1,
                                              int32_t* value2) = 0;  // slot 12
};

struct IVaultObjectModel;

struct IReferenceUtility : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6)
    // `items`: a vector of ObjectIdPair records (in and out).
    virtual HRESULT STDMETHODCALLTYPE AddItems(IVaultObjectModel* model, SAFEARRAY** items) = 0;  // slot 7
    GH_UNUSED_SLOT(8)
    virtual HRESULT STDMETHODCALLTYPE Configure(int32_t value1, int32_t value2) = 0;  // slot 9
    GH_UNUSED_SLOT(10) GH_UNUSED_SLOT(11)
    virtual HRESULT STDMETHODCALLTYPE Run(int32_t* value) = 0;                                 // slot 12
    virtual HRESULT STDMETHODCALLTYPE GetResults(int32_t kind, IReferenceList** list) = 0;  // slot 13
};

struct IVaultObjectModel : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6) GH_UNUSED_SLOT(7)
    GH_UNUSED_SLOT(8) GH_UNUSED_SLOT(9) GH_UNUSED_SLOT(10) GH_UNUSED_SLOT(11) GH_UNUSED_SLOT(12)
    GH_UNUSED_SLOT(13) GH_UNUSED_SLOT(14) GH_UNUSED_SLOT(15) GH_UNUSED_SLOT(16) GH_UNUSED_SLOT(17)
    GH_UNUSED_SLOT(18) GH_UNUSED_SLOT(19) GH_UNUSED_SLOT(20) GH_UNUSED_SLOT(21)
    // The two objects the vault keeps for a path; S_OK with both when it knows the path.
    virtual HRESULT STDMETHODCALLTYPE GetObjectsByPath(BSTR path, IVaultObject** first,
                                                       IVaultObject** second) = 0;  // slot 22
    GH_UNUSED_SLOT(23) GH_UNUSED_SLOT(24) GH_UNUSED_SLOT(25) GH_UNUSED_SLOT(26) GH_UNUSED_SLOT(27)
    GH_UNUSED_SLOT(28) GH_UNUSED_SLOT(29) GH_UNUSED_SLOT(30) GH_UNUSED_SLOT(31) GH_UNUSED_SLOT(32)
    GH_UNUSED_SLOT(33)
    virtual HRESULT STDMETHODCALLTYPE CreateUtility(int32_t kind, IUnknown** utility) = 0;  // slot 34
};

#undef GH_UNUSED_SLOT
