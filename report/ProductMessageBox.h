// The vault client's own message box, from its message-box library.
#pragma once

#include <windows.h>

#include <string>

// The box's answer: 0x20 try again, 0x100 stop asking; 0 when it could not be shown.
int ShowProductMessageBox(const std::wstring& caption, const std::wstring& text, HWND parent);
