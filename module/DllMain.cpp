// The library's load and unload handler. Loading always succeeds.
#include "module/ModuleStartup.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH: OnProcessAttach(instance); break;
        case DLL_PROCESS_DETACH: OnProcessDetach(reserved != nullptr); break;
        default: break;
    }
    return TRUE;
}
