// The add-in hook interface of the host's vault object.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

#include <cstdint>

// {827A8B2F-C762-4F88-8594-B719A898431F}
inline constexpr IID IID_IAddInHooks = {0x827A8B2F, 0xC762, 0x4F88, {0x85, 0x94, 0xB7, 0x19, 0xA8, 0x98, 0x43, 0x1F}};

struct IAddInDispatcher : IUnknown {
    // Calls every add-in registered for the command in `cmd`.
    virtual HRESULT STDMETHODCALLTYPE Dispatch(void* cmd, SAFEARRAY** data) = 0;
};

// Slots the module does not call are the vault's own business.
struct IAddInHooks : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    // Called once, without arguments, before the add-ins are asked.
    virtual HRESULT STDMETHODCALLTYPE PrepareHooks() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
    // Hands out the dispatcher of one command type; it may come back null.
    virtual HRESULT STDMETHODCALLTYPE GetDispatcher(int32_t cmd, IAddInDispatcher** dispatcher) = 0;
};
