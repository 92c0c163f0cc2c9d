// The vault client's message-box library, "Plinth.dll", as the module calls it.
#pragma once

#include "interfaces/ProductKey.h"

#include <windows.h>

#include <cstdint>

// The folder of the library: the value "Location" (REG_SZ) of the product's
// key under HKEY_LOCAL_MACHINE.
inline constexpr const wchar_t* kPlinthKey = kProductKeyPath;
inline constexpr const wchar_t* kPlinthLocationValue = L"Location";
inline constexpr const wchar_t* kPlinthLibraryName = L"Plinth.dll";
inline constexpr const char* kPlinthExportName = "gePlinth";

// Shows one question; returns the answer code of the button pressed.
using PlinthFunction = int32_t(__stdcall*)(HWND parent, const wchar_t* caption, const wchar_t* text,
                                           uint32_t style, uint32_t buttons, uint32_t reserved);

// What the module asks for: its style values, and the answers it reads.
inline constexpr uint32_t kPlinthQuestionStyle = 0x101A0;
inline constexpr uint32_t kPlinthRetryButtons = 0x20;
inline constexpr int32_t kPlinthTryAgain = 0x20;
inline constexpr int32_t kPlinthStopAsking = 0x100;
