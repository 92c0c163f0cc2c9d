// Creating a folder and every missing folder above it.
#pragma once

#include <windows.h>

#include <string>

// S_OK when a folder was created, S_FALSE when all of them existed, else the
// failure of the folder that could not be created. The local view service
// hears of each folder before it is created. Leading backslashes are dropped,
// so a network path is not handled; a verbatim path ("\\?\C:\...") keeps its prefix.
HRESULT EnsureDirectory(const std::wstring& path);
