// The module's only export.
#include "GhMove.h"

#include "move/Mover.h"

// Null arguments are a host bug; they must not take the vault client down.
extern "C" HRESULT __stdcall ghMove(HWND parent, MoveHost* host, MoveRequest* request, bool silent) {
    if (!host || !request) return E_POINTER;
    Mover mover(parent, host, request, silent);
    return mover.Run();
}
