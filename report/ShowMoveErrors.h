// The error report of a move or rename.
#pragma once

#include "GhMove.h"
#include "report/ReportedMove.h"

#include <windows.h>

#include <string>

// Shows the request's failure lists under `description` and returns when the
// user has closed the report. `cannotMode`: refused before any local change.
void ShowMoveErrors(HWND parent, MoveRequest* request, ReportedMove& move, const std::wstring& description,
                    bool cannotMode);
