// Creating an object of the vault client's installation and running it.
#pragma once

#include "common/ComPtr.h"

#include <ole2.h>

// In-process server, in-process handler, local server or remote server.
inline constexpr DWORD kAnyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;  // 0x17

// Creates the object as IUnknown, runs it and queries `iid` into `out`. On any
// failure `out` is empty and the failure code is the result.
template <class T>
HRESULT CreateRunningObject(REFCLSID clsid, REFIID iid, ComPtr<T>& out) {
    out.Reset();
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(clsid, nullptr, kAnyServerContext, IID_IUnknown, unknown.PutVoid());
    if (FAILED(hr)) return hr;
    hr = OleRun(unknown.Get());
    if (FAILED(hr)) return hr;
    out = ComPtr<T>::Query(unknown.Get(), iid, &hr);
    return hr;
}
