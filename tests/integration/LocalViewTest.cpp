// Moves and renames on a real local view through ghMove: what changes on
// disk, what the local view service and the shell are told, and what is
// refused before the database changes.
#include "ComThread.h"
#include "LoadedModule.h"
#include "LocalViewServiceProcess.h"
#include "RecordingHost.h"
#include "ShellNoticeObserver.h"
#include "TestFolder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Paths = std::vector<std::wstring>;

// Folder ids of the sample view: P and Q below the root, A inside P.
constexpr int32_t kRoot = 1, kP = 2, kQ = 3, kA = 4;

class LocalViewTest : public ::testing::Test {
protected:
    LocalViewTest() {
        host.folderPaths = {{kRoot, L"\\"}, {kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}};
        folder.MakeFolder(L"P\\A");
        folder.MakeFolder(L"Q");
    }

    HRESULT Move() { return module.Move(nullptr, &host, request.get(), true); }
    std::wstring Full(const std::wstring& relative) const { return folder.Path(relative); }

    // One field of every journal line of a component whose first field is `call`.
    Paths Journaled(const wchar_t* component, const std::wstring& call, size_t field) const {
        Paths out;
        for (const auto& line : folder.Journal(component)) {
            if (line.size() > field && line[0] == call) out.push_back(line[field]);
        }
        return out;
    }

    TestFolder folder;
    ComThread com;
    LoadedModule module;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
};

// A chain of single entries (A\S\T\z.txt) makes every order independent of
// the order in which the file system lists a folder.
class ChainTest : public LocalViewTest {
protected:
    ChainTest() { folder.WriteFile(L"P\\A\\S\\T\\z.txt", "zed"); }
};

TEST_F(ChainTest, RenamingAFolderRecreatesItAndTellsTheServiceEachPathInOrder) {
    LocalViewServiceProcess service;
    ShellNoticeObserver shell(folder.LocalRoot());
    request.AddFolder(kA, kP, L"B");

    ASSERT_EQ(Move(), S_OK);
    service.Stop();

    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"P\\B\\", L"P\\B\\S\\", L"P\\B\\S\\T\\", L"P\\B\\S\\T\\z.txt", L"Q\\"}));
    EXPECT_EQ(folder.ReadFile(L"P\\B\\S\\T\\z.txt"), "zed");
    EXPECT_EQ(request->errors.count, 0);

    // The file first (its new folders created on the way), then every
    // repetition of the old folders, deepest first, as each is removed.
    EXPECT_EQ(Journaled(L"LocalViewService", L"Notice", 3),
              (Paths{Full(L"P\\B\\S\\T\\z.txt"), Full(L"P\\B"), Full(L"P\\B\\S"), Full(L"P\\B\\S\\T"),
                     Full(L"P\\A\\S\\T"), Full(L"P\\A\\S\\T"), Full(L"P\\A\\S\\T"), Full(L"P\\A\\S"),
                     Full(L"P\\A\\S"), Full(L"P\\A")}));

    // The notifier hears every planned entry before anything moves.
    EXPECT_EQ(Journaled(L"LocalViewNotifier", L"AnnounceFile", 1), Paths(4, Full(L"P\\A\\S\\T\\z.txt")));
    EXPECT_EQ(Journaled(L"LocalViewNotifier", L"AnnounceFile", 2), Paths(4, L"1"));
    const auto journal = folder.Journal(L"LocalViewNotifier");
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(),
              (Paths{L"AnnounceFolders", L"1", L"0", L"0x00002008", L"0", Full(L"P\\A\\S\\T"), Full(L"P\\A\\S\\T"),
                     Full(L"P\\A\\S\\T"), Full(L"P\\A\\S"), Full(L"P\\A\\S"), Full(L"P\\A")}));
    EXPECT_EQ(journal.front(), Paths{L"Create"});

    // A rename is one notice from the old name to the new one.
    const auto& notices = shell.Notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].event, SHCNE_RENAMEFOLDER);
    EXPECT_EQ(notices[0].places, (Paths{L"\\P\\A", L"\\P\\B"}));
}

TEST_F(ChainTest, MovingAFolderAnnouncesItsRemovalBeforeAndItsCreationAfter) {
    ShellNoticeObserver shell(folder.LocalRoot());
    request.AddFolder(kA, kQ);

    ASSERT_EQ(Move(), S_OK);

    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\S\\", L"Q\\A\\S\\T\\", L"Q\\A\\S\\T\\z.txt"}));
    const auto& notices = shell.Notices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].event, SHCNE_RMDIR);
    EXPECT_EQ(notices[0].places, Paths{L"\\P\\A"});
    EXPECT_EQ(notices[1].event, SHCNE_MKDIR);
    EXPECT_EQ(notices[1].places, Paths{L"\\Q\\A"});
}

TEST_F(ChainTest, WithoutServiceOrNotifierTheMovesStillHappen) {
    folder.Configure(L"LocalViewNotifier", {L"create-result=0x80040154"});
    request.AddFolder(kA, kQ);
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\T\\z.txt"), "zed");
    EXPECT_FALSE(folder.Exists(L"P\\A"));
    EXPECT_TRUE(folder.Journal(L"LocalViewNotifier").empty());
}

TEST_F(LocalViewTest, AFolderMovedOntoAnExistingFolderIsRefusedBeforeAnythingChanges) {
    folder.WriteFile(L"P\\A\\a1.txt", "mine");
    folder.WriteFile(L"P\\A\\S\\s1.txt");
    folder.WriteFile(L"Q\\A\\a1.txt", "theirs");
    folder.WriteFile(L"Q\\A\\S\\s1.txt");
    const Paths before = folder.Tree();
    request.AddFolder(kA, kQ);

    EXPECT_EQ(Move(), S_FALSE);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ResolveNames"}));
    EXPECT_EQ(folder.Tree(), before);
    // The content whose counterpart exists, then the folder itself; the
    // existing sub-folder is not descended.
    Paths reported;
    for (const MoveErrorEntry* error : request->errors) {
        EXPECT_EQ(error->code, E_QOR_NAME_ALREADY_EXISTS);
        EXPECT_EQ(error->newPath.substr(0, Full(L"Q\\A").size()), Full(L"Q\\A"));
        reported.push_back(error->path);
    }
    std::sort(reported.begin(), reported.end() - 1);
    EXPECT_EQ(reported, (Paths{Full(L"P\\A\\S"), Full(L"P\\A\\a1.txt"), Full(L"P\\A")}));
}

TEST_F(LocalViewTest, TwoSourcesWithOneTargetAreRefusedEvenWhenTheTargetIsFree) {
    folder.WriteFile(L"P\\x.txt", "one");
    folder.WriteFile(L"Q\\y.txt", "two");
    const Paths before = folder.Tree();
    request.AddLocal(false, Full(L"P\\x.txt"), Full(L"z.txt"));
    request.AddLocal(false, Full(L"Q\\y.txt"), Full(L"z.txt"));
    EXPECT_EQ(Move(), S_FALSE);
    EXPECT_EQ(folder.Tree(), before);
    ASSERT_EQ(request->errors.count, 2);
    EXPECT_EQ(request->errors.head->value->path, Full(L"Q\\y.txt"));
    EXPECT_EQ(request->errors.tail->value->path, Full(L"P\\x.txt"));
}

bool RunsOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST_F(LocalViewTest, ACaseOnlyRenameIsNoConflictAndRenamesTheFileInPlace) {
    host.fileNames = {{7, L"part.prt"}};
    folder.WriteFile(L"P\\part.prt", "p");
    request.AddFile(7, kP, kP, L"PART.PRT");
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(request->errors.count, 0);
    // Wine's MoveFileExW succeeds on a change of case but keeps the old one.
    const std::wstring name = RunsOnWine() ? L"P\\part.prt" : L"P\\PART.PRT";
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"P\\A\\", name, L"Q\\"}));
    EXPECT_EQ(folder.ReadFile(L"P\\part.prt"), "p");
}

TEST_F(LocalViewTest, ALoneFileMoveSendsNoShellNotice) {
    host.fileNames = {{7, L"part.prt"}};
    folder.WriteFile(L"P\\part.prt", "p");
    ShellNoticeObserver shell(folder.LocalRoot());
    request.AddFile(7, kP, kQ);
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.ReadFile(L"Q\\part.prt"), "p");
    EXPECT_TRUE(shell.Notices().empty());
}

TEST_F(LocalViewTest, HiddenAndSystemFilesMoveWithTheirFolder) {
    folder.WriteFile(L"P\\A\\hidden.txt", "h");
    folder.WriteFile(L"P\\A\\system.txt", "s");
    SetFileAttributesW(Full(L"P\\A\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(Full(L"P\\A\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    const DWORD attributes = GetFileAttributesW(Full(L"P\\A\\system.txt").c_str());
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
    request.AddFolder(kA, kQ);
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\hidden.txt", L"Q\\A\\system.txt"}));
    EXPECT_EQ(GetFileAttributesW(Full(L"Q\\A\\system.txt").c_str()), attributes);
}

TEST_F(LocalViewTest, ATargetFolderThatAppearsAfterPlanningIsMergedInto) {
    folder.WriteFile(L"P\\A\\mine.txt", "mine");
    host.onMoveInDatabase = [this](MoveRequest*) { folder.WriteFile(L"Q\\A\\theirs.txt", "theirs"); };
    request.AddFolder(kA, kQ);
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(request->errors.count, 0);
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\mine.txt", L"Q\\A\\theirs.txt"}));
}

TEST_F(LocalViewTest, AFileHeldBeforeTheMoveRefusesItBeforeTheDatabase) {
    folder.WriteFile(L"P\\A\\S\\held.txt", "held");
    const UniqueFileHandle holder(CreateFileW(Full(L"P\\A\\S\\held.txt").c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    request.AddFolder(kA, kQ);
    ASSERT_EQ(Move(), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ResolveNames", "ListReferenceUpdates"}));
    // Every planned appearance of the file is refused; folders are never tested.
    std::vector<std::wstring> refused;
    for (const MoveErrorEntry* error : request->errors) {
        EXPECT_EQ(error->code, E_QOR_FILE_SHARE_ERROR);
        refused.push_back(error->path);
    }
    EXPECT_EQ(refused, Paths(3, Full(L"P\\A\\S\\held.txt")));
    EXPECT_EQ(folder.ReadFile(L"P\\A\\S\\held.txt"), "held");
    EXPECT_FALSE(folder.Exists(L"Q\\A"));
}

// A program that opens the file after the checks, while the database changes.
TEST_F(LocalViewTest, AFileHeldOpenStaysAndEveryFolderAboveItIsReported) {
    folder.WriteFile(L"P\\A\\S\\held.txt", "held");
    UniqueFileHandle holder;
    host.onMoveInDatabase = [&](MoveRequest*) {
        holder.reset(CreateFileW(Full(L"P\\A\\S\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
    };
    ShellNoticeObserver shell(folder.LocalRoot());
    request.AddFolder(kA, kQ);

    ASSERT_EQ(Move(), S_OK);  // silent: the host reads the errors

    // Copied, but the original could not be deleted: it stands at both places.
    EXPECT_EQ(folder.ReadFile(L"P\\A\\S\\held.txt"), "held");
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\held.txt"), "held");
    std::vector<std::pair<std::wstring, HRESULT>> errors;
    for (const MoveErrorEntry* error : request->errors) errors.push_back({error->path, error->code});
    // Each planned appearance is attempted and reported: the file stands
    // three times, S twice and A once.
    const HRESULT sharing = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
    const HRESULT notEmpty = HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(errors, (std::vector<std::pair<std::wstring, HRESULT>>{
                          {Full(L"P\\A\\S\\held.txt"), sharing},
                          {Full(L"P\\A\\S\\held.txt"), sharing},
                          {Full(L"P\\A\\S\\held.txt"), sharing},
                          {Full(L"P\\A\\S"), notEmpty},
                          {Full(L"P\\A\\S"), notEmpty},
                          {Full(L"P\\A"), notEmpty}}));
    // Failed folders are announced where they still are, each appearance.
    std::vector<std::pair<long, Paths>> notices;
    for (const ShellNotice& notice : shell.Notices()) notices.push_back({notice.event, notice.places});
    EXPECT_EQ(notices, (std::vector<std::pair<long, Paths>>{{SHCNE_RMDIR, {L"\\P\\A"}},
                                                            {SHCNE_MKDIR, {L"\\P\\A\\S"}},
                                                            {SHCNE_MKDIR, {L"\\P\\A\\S"}},
                                                            {SHCNE_MKDIR, {L"\\P\\A"}}}));
}

TEST_F(LocalViewTest, ALocalItemWithoutANewPathMovesIntoItsDestinationFolder) {
    folder.WriteFile(L"P\\loose.txt", "l");
    LocalItem* item = request.AddLocal(false, Full(L"P\\loose.txt"), L"", kQ);
    ASSERT_EQ(Move(), S_OK);
    EXPECT_EQ(item->newPath, Full(L"Q\\loose.txt"));
    EXPECT_EQ(folder.ReadFile(L"Q\\loose.txt"), "l");
}

}  // namespace
