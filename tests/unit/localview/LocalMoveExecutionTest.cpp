// Execution on a real disk: folder creation, and one file's move with its copy-and-delete fallback.
#include "localview/EnsureDirectory.h"
#include "localview/MoveLocalFile.h"

#include "LocalViewServiceProcess.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using Paths = std::vector<std::wstring>;

// A path too long for the working buffer is refused untouched, unannounced.
TEST(LocalMoveExecution, EnsureDirectoryCreatesOnlyWhatIsMissingAndTellsTheServiceFirst) {
    TestFolder folder;
    LocalViewServiceProcess service;
    folder.MakeFolder(L"a");
    // Leading backslashes are dropped and a run of them separates once.
    EXPECT_EQ(EnsureDirectory(L"\\\\" + folder.Path(L"a\\\\b\\c\\")), S_OK);
    EXPECT_EQ(EnsureDirectory(folder.Path(L"a\\b\\c")), S_FALSE);
    EXPECT_EQ(EnsureDirectory(L"\\\\\\"), S_FALSE);
    // A file in the way is a failure with its system error.
    folder.WriteFile(L"a\\plain.txt", "f");
    const HRESULT hr = EnsureDirectory(folder.Path(L"a\\plain.txt\\sub"));
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(HRESULT_FACILITY(hr), FACILITY_WIN32);
    const std::wstring longPath = folder.Path(std::wstring(600, L'x') + L"\\f.txt");
    EXPECT_EQ(MoveLocalFile(folder.Path(L"a\\plain.txt"), longPath), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    service.Stop();
    EXPECT_EQ(folder.Tree(), (Paths{L"a\\", L"a\\b\\", L"a\\b\\c\\", L"a\\plain.txt"}));
    EXPECT_EQ(folder.ReadFile(L"a\\plain.txt"), "f");
    Paths notices;
    for (const auto& line : folder.Journal(L"LocalViewService")) notices.push_back(line.at(3));
    EXPECT_EQ(notices, (Paths{folder.Path(L"a\\b"), folder.Path(L"a\\b\\c"), folder.Path(L"a\\plain.txt\\sub")}));
}

// A path of `length` characters below a folder of the local view, in components the Linux file system takes.
std::wstring PathOfLength(const TestFolder& folder, const wchar_t* top, size_t length) {
    std::wstring path = folder.Path(top);
    while (path.size() < length) {
        const size_t room = length - path.size() - 1;  // after the backslash; never less than 1
        path += L"\\" + std::wstring(room <= 200 ? room : std::min<size_t>(200, room - 2), L'n');
    }
    return path;
}

// The target buffer holds 519 characters and the terminator: a target of 519 moves, given plainly or verbatim (its
// folders made below "\\?\"); one of 520 is refused before anything is made.
TEST(LocalMoveExecution, ATargetOfFiveHundredNineteenCharactersMovesAndOneMoreIsRefused) {
    TestFolder folder;
    folder.WriteFile(L"a.txt", "a");
    folder.WriteFile(L"b.txt", "b");
    const std::wstring fits = PathOfLength(folder, L"Q", 519), over = PathOfLength(folder, L"Q", 520);
    ASSERT_EQ(fits.size(), 519u);
    ASSERT_EQ(over.size(), 520u);
    EXPECT_EQ(MoveLocalFile(folder.Path(L"a.txt"), over), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(folder.Exists(L"Q"));
    EXPECT_EQ(MoveLocalFile(folder.Path(L"a.txt"), fits), S_OK);
    const std::wstring verbatim = L"\\\\?\\" + PathOfLength(folder, L"V", 514) + L"v";
    ASSERT_EQ(verbatim.size(), 519u);
    EXPECT_EQ(MoveLocalFile(folder.Path(L"b.txt"), verbatim), S_OK);
    EXPECT_FALSE(folder.Exists(L"a.txt") || folder.Exists(L"b.txt"));
    EXPECT_NE(GetFileAttributesW(fits.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(verbatim.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The second move trusts the folder the first one made; finding it gone, it makes it again, and the service hears of it
// again.
TEST(LocalMoveExecution, ATargetFolderRemovedBetweenTwoMovesIntoItIsMadeAgain) {
    TestFolder folder;
    folder.WriteFile(L"a.txt", "a");
    folder.WriteFile(L"b.txt", "b");
    LocalViewServiceProcess service;
    ExistingFolders folders;
    EXPECT_EQ(MoveLocalFile(folder.Path(L"a.txt"), folder.Path(L"new\\a.txt"), folders), S_OK);
    ASSERT_TRUE(DeleteFileW(folder.Path(L"new\\a.txt").c_str()) && RemoveDirectoryW(folder.Path(L"new").c_str()));
    EXPECT_EQ(MoveLocalFile(folder.Path(L"b.txt"), folder.Path(L"new\\b.txt"), folders), S_OK);
    service.Stop();
    EXPECT_EQ(folder.Tree(), (Paths{L"new\\", L"new\\b.txt"}));
    Paths notices;
    for (const auto& line : folder.Journal(L"LocalViewService")) notices.push_back(line.at(3));
    EXPECT_EQ(notices, (Paths{folder.Path(L"new"), folder.Path(L"new")}));
}

// Z: is the Linux root under Wine; /dev/shm is another file system than the prefix's drive C, so a rename between them
// fails and the copy path runs.
TEST(LocalMoveExecution, AReadOnlyFileMovesToAnotherVolumeByCopyAndDelete) {
    TestFolder folder;
    const std::wstring other = L"Z:\\dev\\shm\\ghtests-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(other);
    if (!CreateDirectoryW(other.c_str(), nullptr)) GTEST_SKIP() << "no second volume at Z:\\dev\\shm";
    struct Cleanup { std::wstring path; ~Cleanup() { RemoveTree(path); } } cleanup{other};
    folder.WriteFile(L"ro.txt", "read only");
    SetFileAttributesW(folder.Path(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(MoveFileExW(folder.Path(L"ro.txt").c_str(), (other + L"\\probe").c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));

    EXPECT_EQ(MoveLocalFile(folder.Path(L"ro.txt"), other + L"\\new\\ro.txt"), S_OK);
    EXPECT_FALSE(folder.Exists(L"ro.txt"));
    std::ifstream moved((other + L"\\new\\ro.txt").c_str(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(moved), {}), "read only");
}

}  // namespace
