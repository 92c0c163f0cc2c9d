// The image of a window as a PNG file, for the demo to show the report.
#pragma once

#include <windows.h>

#include <string>

HRESULT SaveWindowImage(HWND window, const std::wstring& path);
