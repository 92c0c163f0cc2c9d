// A typed GetProcAddress.
#pragma once

#include <windows.h>

template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
    // Through a generic function pointer, which any function pointer may be cast from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
