// Small string and path helpers that several subsystems share.
#pragma once

#include <string>

// Lower case as the runtime library's _wcslwr_s does it in the current locale.
// Every map keyed by lower-case paths uses this one function.
std::wstring LowerCase(std::wstring text);

// The text after the last backslash (PathFindFileNameW; a trailing backslash
// belongs to the last component).
std::wstring FileNamePart(const std::wstring& path);

// Cuts the string at the first backslash of its final run of backslashes.
std::wstring StripTrailingBackslashes(std::wstring path);
