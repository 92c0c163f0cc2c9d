#include "localview/FileTime.h"

#include "common/Handles.h"
#include "common/WritableForScope.h"

#include <ctime>

namespace {

__time64_t CalendarSeconds(const SYSTEMTIME& localTime) {
    if (localTime.wYear < 1900) return 0;
    tm calendar = {};
    calendar.tm_year = localTime.wYear - 1900;
    calendar.tm_mon = localTime.wMonth - 1;
    calendar.tm_mday = localTime.wDay;
    calendar.tm_hour = localTime.wHour;
    calendar.tm_min = localTime.wMinute;
    calendar.tm_sec = localTime.wSecond;
    calendar.tm_isdst = -1;  // the runtime decides whether daylight saving applies
    return _mktime64(&calendar);
}

}  // namespace

std::optional<SYSTEMTIME> CaptureLastWriteTime(const std::wstring& path) {
    FILETIME written = {};
    {
        const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written)) return std::nullopt;
    }
    SYSTEMTIME utc = {};
    SYSTEMTIME local = {};
    if (!FileTimeToSystemTime(&written, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::nullopt;
    }
    local.wMilliseconds = 0;
    local.wSecond &= ~1;
    return local;
}

std::optional<SYSTEMTIME> TwoSecondsLater(const SYSTEMTIME& localTime) {
    __time64_t seconds = CalendarSeconds(localTime);
    if (seconds == -1) return std::nullopt;  // beyond the runtime's calendar (after the year 3000)
    seconds += 2;
    tm later = {};
    if (_localtime64_s(&later, &seconds) != 0) return localTime;
    SYSTEMTIME result = {};
    result.wYear = static_cast<WORD>(later.tm_year + 1900);
    result.wMonth = static_cast<WORD>(later.tm_mon + 1);
    result.wDayOfWeek = static_cast<WORD>(later.tm_wday);
    result.wDay = static_cast<WORD>(later.tm_mday);
    result.wHour = static_cast<WORD>(later.tm_hour);
    result.wMinute = static_cast<WORD>(later.tm_min);
    result.wSecond = static_cast<WORD>(later.tm_sec);
    return result;
}

bool SetLastWriteTime(const std::wstring& path, const SYSTEMTIME& localTime) {
    SYSTEMTIME utc = {};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc)) utc = localTime;
    FILETIME written = {};
    if (!SystemTimeToFileTime(&utc, &written)) return false;

    const WritableForScope target(path);
    if (!target.Exists() || !target.Writable()) return false;
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && SetFileTime(file.get(), nullptr, nullptr, &written);
}
