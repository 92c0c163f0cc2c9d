// The vault object's lookup of vault folders by their local path.
//
// Slots the module does not call belong to the vault; they answer E_NOTIMPL
// here so that an implementation needs to define only what it serves. Slot
// numbers in comments are vtable indices (the three IUnknown slots included).
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

#include <cstdint>

// {5184BE51-F73D-41C5-82CC-4C3117B43D2B}
inline constexpr IID IID_IVaultFolderLookup = {0x5184BE51, 0xF73D, 0x41C5, {0x82, 0xCC, 0x4C, 0x31, 0x17, 0xB4, 0x3D, 0x2B}};

#define GH_UNUSED_SLOT(n) \
    virtual HRESULT STDMETHODCALLTYPE Slot##n() { return E_NOTIMPL; }

// A folder of the vault.
struct IVaultFolder : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6)
    virtual HRESULT STDMETHODCALLTYPE GetFolderId(int32_t* id) = 0;  // slot 7
};

struct IVaultFolderLookup : IUnknown {
    GH_UNUSED_SLOT(3) GH_UNUSED_SLOT(4) GH_UNUSED_SLOT(5) GH_UNUSED_SLOT(6) GH_UNUSED_SLOT(7)
    GH_UNUSED_SLOT(8) GH_UNUSED_SLOT(9) GH_UNUSED_SLOT(10) GH_UNUSED_SLOT(11) GH_UNUSED_SLOT(12)
    GH_UNUSED_SLOT(13) GH_UNUSED_SLOT(14) GH_UNUSED_SLOT(15) GH_UNUSED_SLOT(16) GH_UNUSED_SLOT(17)
    GH_UNUSED_SLOT(18) GH_UNUSED_SLOT(19) GH_UNUSED_SLOT(20) GH_UNUSED_SLOT(21) GH_UNUSED_SLOT(22)
    // The folder at a full local path; null when the vault has none there.
    virtual HRESULT STDMETHODCALLTYPE FindFolderByPath(BSTR path, IVaultFolder** folder) = 0;  // slot 23
};

#undef GH_UNUSED_SLOT
