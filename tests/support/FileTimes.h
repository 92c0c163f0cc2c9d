// Last-write times of files, set and read in UTC, and times as text.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>

inline std::string TimeText(const SYSTEMTIME& t) {
    char text[48];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond, t.wMilliseconds);
    return text;
}

inline bool SetUtcWriteTime(const std::wstring& path, const SYSTEMTIME& utc) {
    FILETIME time = {};
    const UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    return SystemTimeToFileTime(&utc, &time) && file && SetFileTime(file.Get(), nullptr, nullptr, &time);
}

inline std::string UtcWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME utc = {};
    const bool read = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                      FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
    return read ? TimeText(utc) : "none";
}
