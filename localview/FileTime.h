// Setting a file's last-write time to a chosen local time.
#pragma once

#include <windows.h>

#include <string>

// Writes the time (local time of the current zone) as the last-write time,
// also on read-only files, leaving the attributes as they were.
bool SetLastWriteTime(const std::wstring& path, const SYSTEMTIME& localTime);
