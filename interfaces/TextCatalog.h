// The vault client's text-localisation service, as the module uses it.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

// {FD916D1A-ECA5-4E00-A937-4A66A02AEC3C}
inline constexpr CLSID CLSID_TextCatalog = {0xFD916D1A, 0xECA5, 0x4E00, {0xA9, 0x37, 0x4A, 0x66, 0xA0, 0x2A, 0xEC, 0x3C}};
// {BFC277FA-1167-472C-A65F-634CA3F9B04B}
inline constexpr IID IID_ITextCatalog = {0xBFC277FA, 0x1167, 0x472C, {0xA6, 0x5F, 0x63, 0x4C, 0xA3, 0xF9, 0xB0, 0x4B}};

// Slots 3 to 6 belong to the service and are never called by the module.
struct ITextCatalog : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    // S_OK when the catalogue supplies a text for the identifier.
    virtual HRESULT STDMETHODCALLTYPE GetText(ULONG id, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSectionText(ULONG id, BSTR section, BSTR* text) = 0;
    // Selects the catalogue of one module; negative when it cannot be served.
    virtual HRESULT STDMETHODCALLTYPE Init(BSTR productCaption, BSTR moduleName) = 0;
};

// The product caption every catalogue is opened with.
inline constexpr const wchar_t* kProductCaption = L"Brimwork PDM";
