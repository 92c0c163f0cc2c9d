// File times across a rewrite, in Europe/Berlin (ctest sets TZ for this
// program): summer time began on 2023-03-26 at 02:00 local, 01:00 UTC.
#include "localview/FileTime.h"

#include "TestFolder.h"
#include "common/Handles.h"
#include "HeldFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The C runtime misreads a zone name in TZ; without TZ it follows the system's
// zone, which Wine took from TZ when the process started.
class RuntimeZone : public ::testing::Environment {
public:
    void SetUp() override {
        _putenv("TZ=");
        _tzset();
    }
};
::testing::Environment* const g_zone = ::testing::AddGlobalTestEnvironment(new RuntimeZone);

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds = 0) {
    return {year, month, 0, day, hour, minute, second, milliseconds};
}

std::string Text(const std::optional<SYSTEMTIME>& t) {
    if (!t) return "none";
    char text[48];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t->wYear, t->wMonth, t->wDay, t->wHour,
             t->wMinute, t->wSecond, t->wMilliseconds);
    return text;
}

void SetUtcWriteTime(const std::wstring& path, const SYSTEMTIME& utc) {
    FILETIME time = {};
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && SetFileTime(file.get(), nullptr, nullptr, &time));
}

std::string UtcWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME utc = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &utc)) {
        return "none";
    }
    return Text(utc);
}

class FileTimeTest : public ::testing::Test {
protected:
    FileTimeTest() { folder.WriteFile(L"doc.prt"); }
    std::wstring Doc() const { return folder.Path(L"doc.prt"); }

    TestFolder folder;
};

TEST_F(FileTimeTest, TimesAreCapturedAndWrittenInTheZoneOfTheirDate) {
    SetUtcWriteTime(Doc(), Time(2023, 7, 14, 8, 15, 33, 750));  // summer: UTC+2
    EXPECT_EQ(Text(CaptureLastWriteTime(Doc())), "2023-07-14 10:15:32.000");
    SetUtcWriteTime(Doc(), Time(2023, 1, 14, 9, 15, 34, 999));  // winter: UTC+1
    EXPECT_EQ(Text(CaptureLastWriteTime(Doc())), "2023-01-14 10:15:34.000");
    ASSERT_TRUE(SetLastWriteTime(Doc(), Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(Doc()), "2023-07-14 08:15:34.000");
    ASSERT_TRUE(SetLastWriteTime(Doc(), Time(2023, 1, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(Doc()), "2023-01-14 09:15:34.000");

    EXPECT_FALSE(CaptureLastWriteTime(folder.Path(L"missing.prt")));
    EXPECT_FALSE(SetLastWriteTime(folder.Path(L"missing.prt"), Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_FALSE(folder.Exists(L"missing.prt"));

    // A file held without write sharing keeps its time and attributes.
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(Doc().c_str(), readOnly));
    const HeldFile held(Doc(), FILE_SHARE_READ, GENERIC_READ);
    EXPECT_FALSE(SetLastWriteTime(Doc(), Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(Doc()), "2023-01-14 09:15:34.000");
    EXPECT_EQ(GetFileAttributesW(Doc().c_str()), readOnly);
}

TEST_F(FileTimeTest, TwoSecondsLaterFollowsTheLocalCalendar) {
    const struct {
        SYSTEMTIME from;
        const char* expected;
    } cases[] = {
        {Time(2023, 7, 14, 10, 15, 32), "2023-07-14 10:15:34.000"},  // summer time
        {Time(2023, 12, 31, 23, 59, 58), "2024-01-01 00:00:00.000"},
        {Time(2023, 3, 26, 1, 59, 58), "2023-03-26 03:00:00.000"},  // the hour from 02:00 does not exist
        {Time(1850, 6, 1, 12, 0, 0), "1970-01-01 01:00:02.000"},    // before 1900: the calendar's start
        {Time(3001, 1, 1, 0, 0, 0), "none"},                        // beyond the calendar: no time at all
    };
    for (const auto& c : cases) EXPECT_EQ(Text(TwoSecondsLater(c.from)), c.expected) << Text(c.from);
    EXPECT_EQ(TwoSecondsLater(Time(2023, 12, 31, 23, 59, 58))->wDayOfWeek, 1);  // a Monday
}

TEST_F(FileTimeTest, ARewriteJustBeforeSummerTimeEndsAfterTheSkippedHour) {
    SetUtcWriteTime(Doc(), Time(2023, 3, 26, 0, 59, 59, 250));  // 01:59:59.250 local, winter
    const auto captured = CaptureLastWriteTime(Doc());
    ASSERT_TRUE(captured);
    const auto later = TwoSecondsLater(*captured);
    ASSERT_TRUE(later);
    ASSERT_TRUE(SetLastWriteTime(Doc(), *later));
    EXPECT_EQ(UtcWriteTime(Doc()), "2023-03-26 01:00:00.000");  // 03:00 local, summer
}

}  // namespace
