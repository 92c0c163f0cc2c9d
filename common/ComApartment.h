// COM initialised on the calling thread for one scope.
#pragma once

#include <objbase.h>

// Only an initialisation that succeeded (S_OK, or S_FALSE when the thread had
// one already) is undone, so a thread whose COM the host set up keeps it, even
// one in another apartment, where CoInitialize refuses with RPC_E_CHANGED_MODE.
class ComApartment {
public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};
