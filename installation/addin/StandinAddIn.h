// How the installation's vault object reaches its add-ins: each add-in is a
// COM class listed under the installation's add-in key and implements
// IStandinAddIn, which the dispatchers call with the command and its records.
#pragma once

#include "interfaces/AddInHooks.h"
#include "interfaces/Plinth.h"

#include <cwchar>
#include <string>

// HKLM\<product key>\Addins: one value per add-in, named by its CLSID.
inline const std::wstring kAddInsKey = std::wstring(kPlinthKey) + L"\\Addins";

// {3E1F6A52-8C4D-4B7E-9A21-6D5C0B8E7F31}
inline constexpr IID IID_IStandinAddIn = {0x3E1F6A52, 0x8C4D, 0x4B7E, {0x9A, 0x21, 0x6D, 0x5C, 0x0B, 0x8E, 0x7F, 0x31}};
// {A4C2E7D1-5B3F-4E86-B0C9-1F2E3D4C5B6A}
inline constexpr CLSID CLSID_StandinAddIn = {
    0xA4C2E7D1, 0x5B3F, 0x4E86, {0xB0, 0xC9, 0x1F, 0x2E, 0x3D, 0x4C, 0x5B, 0x6A}};

struct IStandinAddIn : IUnknown {
    // May set cmd->cancel; a failure stops the dispatch with that code.
    virtual HRESULT STDMETHODCALLTYPE OnCommand(AddInCmd* cmd, SAFEARRAY** data) = 0;
};

// The component name of the add-in's journal and configuration.
inline constexpr const wchar_t* kAddInComponent = L"AddIn";

// A command code as journals and configurations write it: 0x21, 0xF.
inline std::wstring AddInCommandName(int32_t cmd) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%X", static_cast<unsigned>(cmd));
    return text;
}
