// Small string and path helpers that several subsystems share.
#pragma once

#include <string>

// Lower case as the runtime library's _wcslwr_s does it in the current locale.
// Every map keyed by lower-case paths uses this one function.
std::wstring LowerCase(std::wstring text);

// The text after the last backslash (PathFindFileNameW; a trailing backslash
// belongs to the last component).
std::wstring FileNamePart(const std::wstring& path);

// The path without its last component (as FileNamePart finds it) and the
// backslash before that; empty when no backslash comes before the component.
std::wstring ParentFolder(const std::wstring& path);

// Cuts the string at the first backslash of its final run of backslashes.
std::wstring StripTrailingBackslashes(std::wstring path);

// A full path on a drive: "X:\..." or, verbatim for the file system, "\\?\X:\...",
// with no zero character inside. Relative, drive-relative and network paths are not.
bool IsFullLocalPath(const std::wstring& path);

// "X:\" of a full local path (its "\\?\" dropped); empty for any other path.
std::wstring DriveRootOf(const std::wstring& path);
