// Which processes hold a file. Wine's Restart Manager lists nobody for any
// file; on Windows the holders are listed.
#include "localview/LockingProcesses.h"

#include "HeldFile.h"
#include "TestFolder.h"
#include "common/Handles.h"

#include <gtest/gtest.h>

namespace {

TEST(LockingProcesses, HoldersAreListedByProcessIdAndEarlierIdsDropped) {
    TestFolder folder;
    for (const wchar_t* name : {L"free.prt", L"mine.prt", L"theirs.prt"}) folder.WriteFile(name);
    const UniqueFileHandle mine(
        CreateFileW(folder.Path(L"mine.prt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(mine);
    const HeldFile theirs(folder.Path(L"theirs.prt"));
    const bool listsNobody = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    const std::pair<const wchar_t*, std::vector<DWORD>> files[] = {
        {L"free.prt", {}},
        {L"mine.prt", listsNobody ? std::vector<DWORD>{} : std::vector<DWORD>{GetCurrentProcessId()}},
        {L"theirs.prt", listsNobody ? std::vector<DWORD>{} : std::vector<DWORD>{theirs.ProcessId()}}};
    for (const auto& [name, holders] : files) {
        std::vector<DWORD> ids{4711};  // left from an earlier query
        EXPECT_EQ(GetLockingProcessIds(folder.Path(name), ids), holders.empty() ? 1u : 0u) << name;
        EXPECT_EQ(ids, holders) << name;
    }
}

}  // namespace
