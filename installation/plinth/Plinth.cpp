// Stand-in for the vault client's message-box library "Plinth.dll".
//
// gePlinth shows the caption and text it was given in a box of its own with
// three buttons, "Try again" (answers 0x20), "Don't ask again" (0x100) and
// "Cancel" (IDCANCEL, also closing the box), and returns the answer.
// Journal (Plinth.journal): Load, Unload, and per call
//   gePlinth <parent> <caption> <text> <style> <buttons> <reserved>;  Answer <answer>.
#include "installation/standin/Journal.h"
#include "installation/standin/ModalWindow.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"

namespace {

constexpr const wchar_t* kComponent = L"Plinth";
HMODULE g_module = nullptr;

}  // namespace

extern "C" __declspec(dllexport) int32_t __stdcall gePlinth(HWND parent, const wchar_t* caption, const wchar_t* text,
                                                           uint32_t style, uint32_t buttons, uint32_t reserved) {
    const std::wstring captionText = caption ? caption : L"";
    const std::wstring bodyText = text ? text : L"";
    standin::Journal(kComponent, {L"gePlinth", standin::Hex(parent), captionText, bodyText, standin::Hex(style),
                                  standin::Hex(buttons), std::to_wstring(reserved)});
    standin::ModalWindow box(g_module, kPlinthBoxClass, captionText, parent, 460, 200);
    box.AddControl(L"STATIC", bodyText, SS_LEFT, kStandinTextControl, 14, 12, 420, 96);
    box.AddControl(L"BUTTON", L"Try again", WS_TABSTOP | BS_DEFPUSHBUTTON, kPlinthTryAgain, 14, 120, 120, 28);
    box.AddControl(L"BUTTON", L"Don't ask again", WS_TABSTOP, kPlinthStopAsking, 146, 120, 140, 28);
    box.AddControl(L"BUTTON", L"Cancel", WS_TABSTOP, IDCANCEL, 298, 120, 120, 28);
    const int answer = box.Run();
    standin::Journal(kComponent, {L"Answer", standin::Hex(static_cast<unsigned long>(answer))});
    return answer;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        standin::Journal(kComponent, {L"Load"});
    }
    if (reason == DLL_PROCESS_DETACH) standin::Journal(kComponent, {L"Unload"});
    return TRUE;
}
