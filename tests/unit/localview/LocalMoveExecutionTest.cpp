// Execution pieces on a real disk: folder creation, one file's move with its
// copy-and-delete fallback, and the pairs recorded for the reference repair.
#include "common/Handles.h"
#include "common/StringUtil.h"
#include "localview/EnsureDirectory.h"
#include "localview/MoveLocalFile.h"
#include "move/Mover.h"

#include "LocalViewServiceProcess.h"
#include "ComThread.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using Paths = std::vector<std::wstring>;

class LocalMoveExecutionTest : public ::testing::Test {
protected:
    ComThread com;

    Paths ServiceNotices() const {
        Paths paths;
        for (const auto& line : folder.Journal(L"LocalViewService")) paths.push_back(line.at(3));
        return paths;
    }

    TestFolder folder;
};

TEST_F(LocalMoveExecutionTest, EnsureDirectoryCreatesOnlyWhatIsMissingAndTellsTheServiceFirst) {
    LocalViewServiceProcess service;
    folder.MakeFolder(L"a");
    // Leading backslashes are dropped and a run of them separates once.
    EXPECT_EQ(EnsureDirectory(L"\\\\" + folder.Path(L"a\\\\b\\c\\")), S_OK);
    EXPECT_EQ(EnsureDirectory(folder.Path(L"a\\b\\c")), S_FALSE);
    EXPECT_EQ(EnsureDirectory(L"\\\\\\"), S_FALSE);
    service.Stop();
    EXPECT_EQ(folder.Tree(), (Paths{L"a\\", L"a\\b\\", L"a\\b\\c\\"}));
    EXPECT_EQ(ServiceNotices(), (Paths{folder.Path(L"a\\b"), folder.Path(L"a\\b\\c")}));
}

TEST_F(LocalMoveExecutionTest, EnsureDirectoryFailsWhereAFileIsInTheWay) {
    folder.WriteFile(L"a\\plain.txt");
    const HRESULT hr = EnsureDirectory(folder.Path(L"a\\plain.txt\\sub"));
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(HRESULT_FACILITY(hr), FACILITY_WIN32);
    EXPECT_EQ(folder.Tree(), (Paths{L"a\\", L"a\\plain.txt"}));
}

// Z: is the Linux root under Wine; /dev/shm is another file system than the
// prefix's drive C, so a rename between them fails and the copy path runs.
class OtherVolume {
public:
    OtherVolume() : path_(L"Z:\\dev\\shm\\ghtests-" + std::to_wstring(GetCurrentProcessId())) {
        RemoveTree(path_);
        available_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
    }
    ~OtherVolume() { RemoveTree(path_); }
    bool Available() const { return available_; }
    std::wstring Path(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
    bool available_;
};

TEST_F(LocalMoveExecutionTest, AReadOnlyFileMovesToAnotherVolumeByCopyAndDelete) {
    OtherVolume other;
    if (!other.Available()) GTEST_SKIP() << "no second volume at Z:\\dev\\shm";
    folder.WriteFile(L"ro.txt", "read only");
    SetFileAttributesW(folder.Path(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(MoveFileExW(folder.Path(L"ro.txt").c_str(), other.Path(L"probe").c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));

    EXPECT_EQ(MoveLocalFile(folder.Path(L"ro.txt"), other.Path(L"new\\ro.txt")), S_OK);
    EXPECT_FALSE(folder.Exists(L"ro.txt"));
    std::ifstream moved(other.Path(L"new\\ro.txt").c_str(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(moved), {}), "read only");
}

TEST_F(LocalMoveExecutionTest, APathLongerThanTheWorkingBufferIsRefusedUntouched) {
    folder.WriteFile(L"f.txt", "f");
    const std::wstring longPath = folder.Path(std::wstring(600, L'x') + L"\\f.txt");
    EXPECT_EQ(MoveLocalFile(folder.Path(L"f.txt"), longPath), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(folder.ReadFile(L"f.txt"), "f");
}

TEST_F(LocalMoveExecutionTest, EveryMovedFileAndFolderIsRecordedUnderItsLowerCaseOldPath) {
    folder.WriteFile(L"P\\Old\\Sub\\Deep.txt", "d");
    folder.WriteFile(L"P\\Old\\top.txt", "t");
    RecordingHost host;
    OwnedRequest request(folder.LocalRoot());
    request.AddFolder(4, 2, L"New");
    Mover mover(nullptr, &host, request.get(), true);
    mover.PlanLocalMoves({}, {{2, L"\\P\\"}, {4, L"\\P\\Old\\"}});
    // Gone between planning and execution: skipped without a report.
    DeleteFileW(folder.Path(L"P\\Old\\top.txt").c_str());

    MovedPaths moved;
    mover.ExecuteLocalMoves(moved);

    EXPECT_EQ(request->errors.count, 0);
    const std::wstring lowerRoot = LowerCase(folder.LocalRoot());
    EXPECT_EQ(moved, (MovedPaths{{lowerRoot + L"\\p\\old", folder.Path(L"P\\New")},
                                 {lowerRoot + L"\\p\\old\\sub", folder.Path(L"P\\New\\Sub")},
                                 {lowerRoot + L"\\p\\old\\sub\\deep.txt", folder.Path(L"P\\New\\Sub\\Deep.txt")}}));
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"P\\New\\", L"P\\New\\Sub\\", L"P\\New\\Sub\\Deep.txt"}));
}

}  // namespace
