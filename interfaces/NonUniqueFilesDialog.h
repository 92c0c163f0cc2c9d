// The vault client's dialog that lists the vault files sharing a name.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

// {C09954A0-23C7-4678-B79B-034C8BAEABD4}
inline constexpr CLSID CLSID_NonUniqueFilesDialog = {
    0xC09954A0, 0x23C7, 0x4678, {0xB7, 0x9B, 0x03, 0x4C, 0x8B, 0xAE, 0xAB, 0xD4}};
// {0D3DF114-EC4B-4B09-ACAC-216E7BF07292}
inline constexpr IID IID_INonUniqueFilesDialog = {
    0x0D3DF114, 0xEC4B, 0x4B09, {0xAC, 0xAC, 0x21, 0x6E, 0x7B, 0xF0, 0x72, 0x92}};

// The arguments the module passes to ShowDialog besides the caption.
inline constexpr LONG kNonUniqueShowFirst = 0, kNonUniqueShowSecond = 4, kNonUniqueShowThird = 0;

struct INonUniqueFilesDialog : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    // Paths (VT_BSTR), the paths they clash with (VT_BSTR), and the vault files
    // found (NonUniqueFileRecord); any of them may be null.
    virtual HRESULT STDMETHODCALLTYPE SetData(SAFEARRAY* names, SAFEARRAY* otherNames, SAFEARRAY* records) = 0;
    // Modal; returns when the user closes the dialog.
    virtual HRESULT STDMETHODCALLTYPE ShowDialog(LONG first, LONG second, LONG third, BSTR caption) = 0;
};
