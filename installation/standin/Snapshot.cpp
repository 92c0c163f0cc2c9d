#include "installation/standin/Snapshot.h"

#include "common/ComPtr.h"

#include <wincodec.h>

namespace {

// GDI objects of the capture; released in reverse order of creation.
struct Capture {
    HDC windowDc = nullptr;
    HDC memoryDc = nullptr;
    HBITMAP bitmap = nullptr;
    HWND window = nullptr;
    ~Capture() {
        if (bitmap) DeleteObject(bitmap);
        if (memoryDc) DeleteDC(memoryDc);
        if (windowDc) ReleaseDC(window, windowDc);
    }
};

HRESULT Encode(HBITMAP bitmap, const std::wstring& path) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.PutVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IWICBitmap> source;
    if (FAILED(hr = factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, source.Put()))) return hr;
    ComPtr<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.Put()))) return hr;
    if (FAILED(hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) return hr;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache))) return hr;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(hr = encoder->CreateNewFrame(frame.Put(), nullptr))) return hr;
    if (FAILED(hr = frame->Initialize(nullptr))) return hr;
    if (FAILED(hr = frame->WriteSource(source.Get(), nullptr))) return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}

}  // namespace

HRESULT SaveWindowImage(HWND window, const std::wstring& path) {
    RECT bounds = {};
    if (!GetWindowRect(window, &bounds)) return HRESULT_FROM_WIN32(GetLastError());
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    Capture capture;
    capture.window = window;
    capture.windowDc = GetWindowDC(window);
    capture.memoryDc = CreateCompatibleDC(capture.windowDc);
    capture.bitmap = CreateCompatibleBitmap(capture.windowDc, width, height);
    if (!capture.windowDc || !capture.memoryDc || !capture.bitmap) return E_FAIL;
    const HGDIOBJ previous = SelectObject(capture.memoryDc, capture.bitmap);
    const BOOL copied = BitBlt(capture.memoryDc, 0, 0, width, height, capture.windowDc, 0, 0, SRCCOPY);
    SelectObject(capture.memoryDc, previous);
    if (!copied) return E_FAIL;
    return Encode(capture.bitmap, path);
}
