// File times across a rewrite, in Europe/Berlin (ctest sets TZ for this program): summer time began on 2023-03-26 at
// 02:00 local, 01:00 UTC.
#include "localview/FileTime.h"

#include "FileTimes.h"
#include "HeldFile.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// The C runtime misreads a zone name in TZ; without TZ it follows the system's zone, which Wine took from TZ when the
// process started.
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

std::string Text(const std::optional<SYSTEMTIME>& t) { return t ? TimeText(*t) : "none"; }

TEST(FileTime, TimesAreCapturedAndWrittenInTheZoneOfTheirDate) {
    TestFolder folder;
    folder.WriteFile(L"doc.prt");
    const std::wstring doc = folder.Path(L"doc.prt");
    ASSERT_TRUE(SetUtcWriteTime(doc, Time(2023, 7, 14, 8, 15, 33, 750)));  // summer: UTC+2
    EXPECT_EQ(Text(CaptureLastWriteTime(doc)), "2023-07-14 10:15:32.000");
    ASSERT_TRUE(SetUtcWriteTime(doc, Time(2023, 1, 14, 9, 15, 34, 999)));  // winter: UTC+1
    EXPECT_EQ(Text(CaptureLastWriteTime(doc)), "2023-01-14 10:15:34.000");
    ASSERT_TRUE(SetLastWriteTime(doc, Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(doc), "2023-07-14 08:15:34.000");
    ASSERT_TRUE(SetLastWriteTime(doc, Time(2023, 1, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(doc), "2023-01-14 09:15:34.000");

    EXPECT_FALSE(CaptureLastWriteTime(folder.Path(L"missing.prt")));
    EXPECT_FALSE(SetLastWriteTime(folder.Path(L"missing.prt"), Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_FALSE(folder.Exists(L"missing.prt"));

    // A file held without write sharing keeps its time and attributes.
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(doc.c_str(), readOnly));
    const HeldFile held(doc, FILE_SHARE_READ, GENERIC_READ);
    EXPECT_FALSE(SetLastWriteTime(doc, Time(2023, 7, 14, 10, 15, 34)));
    EXPECT_EQ(UtcWriteTime(doc), "2023-01-14 09:15:34.000");
    EXPECT_EQ(GetFileAttributesW(doc.c_str()), readOnly);
}

TEST(FileTime, TwoSecondsLaterFollowsTheLocalCalendar) {
    const std::pair<SYSTEMTIME, const char*> cases[] = {
        {Time(2023, 7, 14, 10, 15, 32), "2023-07-14 10:15:34.000"},  // summer time
        {Time(2023, 12, 31, 23, 59, 58), "2024-01-01 00:00:00.000"},
        {Time(2023, 3, 26, 1, 59, 58), "2023-03-26 03:00:00.000"},  // the hour from 02:00 does not exist
        {Time(1850, 6, 1, 12, 0, 0), "1970-01-01 01:00:02.000"},    // before 1900: the calendar's start
        {Time(3001, 1, 1, 0, 0, 0), "none"},                        // beyond the calendar: no time at all
    };
    for (const auto& [from, expected] : cases) EXPECT_EQ(Text(TwoSecondsLater(from)), expected) << TimeText(from);
}

}  // namespace
