// The windows the stand-ins show, as tests find them and press their buttons.
// Each has a window class of its own, so that a watcher for message boxes
// ("#32770") never mistakes one for a message box.
#pragma once

#include <windows.h>

// The report dialog: its description is the static text 0xFFFF, Close is IDOK.
inline constexpr const wchar_t* kReportDialogClass = L"GhStandinReportDialog";
// The message-box library's box: its text is the static text 0xFFFF; its
// buttons answer with their own control ids (try again, stop asking, IDCANCEL).
inline constexpr const wchar_t* kPlinthBoxClass = L"GhStandinPlinthBox";
inline constexpr int kStandinTextControl = 0xFFFF;
// The non-unique files dialog: its static text 0xFFFF lists the paths in
// question, a list box the vault files found; OK closes it.
inline constexpr const wchar_t* kNonUniqueDialogClass = L"GhStandinNonUniqueDialog";
