// Which processes hold a file. Wine's Restart Manager lists nobody for any
// file; on Windows the holders are listed.
#include "localview/LockingProcesses.h"

#include "HeldFile.h"
#include "TestFolder.h"
#include "common/Handles.h"

#include <gtest/gtest.h>

namespace {

bool RestartManagerListsNobody() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class LockingProcessesTest : public ::testing::Test {
protected:
    TestFolder folder;
    std::vector<DWORD> ids{4711};  // left from an earlier query: must be emptied
};

TEST_F(LockingProcessesTest, AFileNobodyHoldsHasNoHolders) {
    folder.WriteFile(L"free.prt");
    EXPECT_EQ(GetLockingProcessIds(folder.Path(L"free.prt"), ids), 1u);
    EXPECT_TRUE(ids.empty());
}

TEST_F(LockingProcessesTest, AMissingFileHasNoHolders) {
    GetLockingProcessIds(folder.Path(L"missing.prt"), ids);
    EXPECT_TRUE(ids.empty());
}

TEST_F(LockingProcessesTest, HoldersAreListedByProcessId) {
    folder.WriteFile(L"mine.prt");
    folder.WriteFile(L"theirs.prt");
    const UniqueFileHandle mine(
        CreateFileW(folder.Path(L"mine.prt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(mine);
    const HeldFile theirs(folder.Path(L"theirs.prt"));

    const DWORD mineStatus = GetLockingProcessIds(folder.Path(L"mine.prt"), ids);
    const std::vector<DWORD> mineIds = ids;
    const DWORD theirsStatus = GetLockingProcessIds(folder.Path(L"theirs.prt"), ids);
    if (RestartManagerListsNobody()) {
        EXPECT_EQ(mineStatus, 1u);
        EXPECT_EQ(theirsStatus, 1u);
        EXPECT_TRUE(mineIds.empty());
        EXPECT_TRUE(ids.empty());
    } else {
        EXPECT_EQ(mineStatus, 0u);
        EXPECT_EQ(mineIds, std::vector<DWORD>{GetCurrentProcessId()});
        EXPECT_EQ(theirsStatus, 0u);
        EXPECT_EQ(ids, std::vector<DWORD>{theirs.ProcessId()});
    }
}

}  // namespace
