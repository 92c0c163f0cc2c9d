// The local view service's COM notifier, told which files and folders are
// about to move before the module touches the disk.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

#include <cstdint>

// {C90505C8-C487-4295-83F7-61FDB83249AF}
inline constexpr CLSID CLSID_LocalViewNotifier = {0xC90505C8, 0xC487, 0x4295, {0x83, 0xF7, 0x61, 0xFD, 0xB8, 0x32, 0x49, 0xAF}};
// {5E5F4360-BAF4-4B2D-8D19-88AF3A75B299}
inline constexpr IID IID_ILocalViewNotifier = {0x5E5F4360, 0xBAF4, 0x4B2D, {0x8D, 0x19, 0x88, 0xAF, 0x3A, 0x75, 0xB2, 0x99}};
// {5E6994B8-95A4-477D-BFF9-495CFDA52759}
inline constexpr IID IID_ILocalViewFolderNotifier = {0x5E6994B8, 0x95A4, 0x477D, {0xBF, 0xF9, 0x49, 0x5C, 0xFD, 0xA5, 0x27, 0x59}};

// Slots 3 to 10 are the service's own; the module calls only slot 11.
struct ILocalViewNotifier : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
    // The full path of a file before its move; the module always passes 1.
    virtual HRESULT STDMETHODCALLTYPE AnnounceFile(BSTR path, int32_t flag) = 0;
};

struct ILocalViewFolderNotifier : IUnknown {
    // `paths`: VT_ARRAY | VT_BSTR, the full folder paths before the move,
    // owned by the caller. The module passes 1 and 0 before it.
    virtual HRESULT STDMETHODCALLTYPE AnnounceFolders(int32_t flag, int32_t reserved, VARIANT paths) = 0;
};
