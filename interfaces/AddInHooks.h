// The add-in hooks of the host's vault object: per command type a dispatcher
// that calls every add-in registered for it with one command record and an
// array of AddInCmdData records (ComRecords.h).
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>

// {827A8B2F-C762-4F88-8594-B719A898431F}
inline constexpr IID IID_IAddInHooks = {0x827A8B2F, 0xC762, 0x4F88, {0x85, 0x94, 0xB7, 0x19, 0xA8, 0x98, 0x43, 0x1F}};
// {64A687F1-A84E-4F09-96A3-BC9040BACAD7}
inline constexpr IID IID_IVaultValue = {0x64A687F1, 0xA84E, 0x4F09, {0x96, 0xA3, 0xBC, 0x90, 0x40, 0xBA, 0xCA, 0xD7}};

// Command codes: which items, and whether before or after the change.
inline constexpr int32_t kAddInFolderMoveBefore = 0x21, kAddInFolderMoveAfter = 0x22;
inline constexpr int32_t kAddInFolderRenameBefore = 0x1F, kAddInFolderRenameAfter = 0x20;
inline constexpr int32_t kAddInFileMoveBefore = 0x15, kAddInFileMoveAfter = 0x16;
inline constexpr int32_t kAddInFileRenameBefore = 0x0F, kAddInFileRenameAfter = 0x10;

// The command record a dispatcher receives by address.
struct AddInCmd {
    int32_t cmdType;
    int32_t parentWindow;      // the caller's parent window
    int32_t zero1;
    int32_t vaultValue;        // from IVaultValue; 0 when it cannot be read
    IDispatch* vaultDispatch;  // the vault object, not add-referenced for the record
    int32_t zero2[3];
    int16_t zero3;
    int16_t cancel;            // set by an add-in that refuses the operation
};

struct IAddInDispatcher : IUnknown {
    // Calls every add-in registered for the command in `cmd`.
    virtual HRESULT STDMETHODCALLTYPE Dispatch(AddInCmd* cmd, SAFEARRAY** data) = 0;
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

// The vault object's interface that carries the value of AddInCmd::vaultValue.
struct IVaultValue : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVaultValue(int32_t* value) = 0;
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(AddInCmd) == 36 && offsetof(AddInCmd, parentWindow) == 0x04 &&
                  offsetof(AddInCmd, vaultValue) == 0x0C && offsetof(AddInCmd, vaultDispatch) == 0x10 &&
                  offsetof(AddInCmd, zero2) == 0x14 && offsetof(AddInCmd, zero3) == 0x20 &&
                  offsetof(AddInCmd, cancel) == 0x22,
              "AddInCmd layout");
#endif
