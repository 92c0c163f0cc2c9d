// Simulated crashes, so that recovery can be tried: VAULTHOST_CRASH_AT names
// the point at which the host kills itself ("after-database": the change
// committed, the disk untouched; "during-local-moves": after the module's
// first file move; "during-rewrite": before the module's rewrite of the
// middle one of the listed documents).
#pragma once

#include "interfaces/FileFormatMgr.h"

#include <windows.h>

#include <functional>

enum class CrashPoint { None, AfterDatabase, DuringLocalMoves, DuringRewrite };

inline constexpr UINT kCrashExitCode = 70;

// Reads VAULTHOST_CRASH_AT; an unknown value raises UsageError.
CrashPoint ArmedCrashPoint();

// Makes the module reach the armed point, through its imports of file moves
// and of the file-format manager; `listedDocuments` says how many documents
// the host listed for the rewrite.
void ArmCrashPoints(HMODULE module, std::function<int()> listedDocuments);

// Ends the process at once when `point` is the armed one.
void ReachCrashPoint(CrashPoint point);
