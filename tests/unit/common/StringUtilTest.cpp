// Which paths the module lets reach the disk: full drive paths only, plain or verbatim.
#include "common/StringUtil.h"

#include <gtest/gtest.h>

namespace {

TEST(IsFullLocalPath, TakesDrivePathsPlainOrVerbatimAndNothingElse) {
    for (const wchar_t* path : {L"C:\\", L"z:\\view\\a.txt", L"\\\\?\\C:\\", L"\\\\?\\d:\\view"}) {
        EXPECT_TRUE(IsFullLocalPath(path)) << path;
    }
    for (const wchar_t* path : {L"", L"C:", L"C:view", L"\\view", L"view\\a.txt", L"1:\\", L"\\\\server\\share\\a",
                                L"\\\\?\\UNC\\server\\share\\a", L"\\\\?\\C:", L"\\\\.\\C:\\a", L"C:/view"}) {
        EXPECT_FALSE(IsFullLocalPath(path)) << path;
    }
    EXPECT_FALSE(IsFullLocalPath(std::wstring(L"C:\\a\0b", 6)));  // the file system would see "C:\a"
}

TEST(DriveRootOf, IsTheDriveOfAFullPathAndEmptyForAnyOther) {
    EXPECT_EQ(DriveRootOf(L"C:\\view\\"), L"C:\\");
    EXPECT_EQ(DriveRootOf(L"\\\\?\\d:\\view"), L"d:\\");
    EXPECT_EQ(DriveRootOf(L"\\\\server\\share\\"), L"");
    EXPECT_EQ(DriveRootOf(L"\\"), L"");
}

}  // namespace
