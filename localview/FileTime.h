// The last-write time of a file whose references were rewritten: captured
// before the rewrite, moved on by two seconds, and written back at the end, so
// that the file's time says when it was last edited, not when it was rewritten.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The last-write time in local time, milliseconds cleared and seconds rounded
// down to even; nothing when the file cannot be opened or its time converted.
std::optional<SYSTEMTIME> CaptureLastWriteTime(const std::wstring& path);

// Two seconds after a local time, through the C runtime's local calendar so
// that a daylight-saving change in between is honoured. Nothing when the
// calendar cannot represent the time; the time itself when it cannot convert
// back. Years before 1900 count as the start of the calendar.
std::optional<SYSTEMTIME> TwoSecondsLater(const SYSTEMTIME& localTime);

// Writes the time (local time of the current zone) as the last-write time,
// also on read-only files, leaving the attributes as they were.
bool SetLastWriteTime(const std::wstring& path, const SYSTEMTIME& localTime);
