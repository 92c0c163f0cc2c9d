// The vault object's handler of documents that a plain CAD document references.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

// {52CCD174-F3F0-4E68-97ED-F74E462F7D96}
inline constexpr IID IID_IReferencedFileHandler = {0x52CCD174, 0xF3F0, 0x4E68, {0x97, 0xED, 0xF7, 0x4E, 0x46, 0x2F, 0x7D, 0x96}};

// Slots 3 to 7 belong to the vault and are never called by the module.
struct IReferencedFileHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Slot3() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Slot4() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Slot5() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Slot6() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE Slot7() { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE HandleReferencedFile(BSTR path) = 0;  // slot 8
};
