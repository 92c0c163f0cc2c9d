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

#include <algorithm>
#include <tuple>

namespace {

using Paths = std::vector<std::wstring>;
using Calls = std::vector<std::string>;
using Notices = std::vector<ShellNotice>;
using Error = std::tuple<std::wstring, std::wstring, HRESULT>;  // old and new path below the root, code

// Folder ids of the sample view: P and Q below the root, A inside P.
constexpr int32_t kP = 2, kQ = 3, kA = 4;

class LocalViewTest : public ::testing::Test {
protected:
    LocalViewTest() {
        host.folderPaths = {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}};
        folder.MakeFolder(L"P\\A");
        folder.MakeFolder(L"Q");
    }

    HRESULT Move() { return module.Move(nullptr, &host, request.get(), true); }
    std::wstring Relative(const std::wstring& path) const {
        const std::wstring root = folder.LocalRoot() + L"\\";
        return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
    }
    // Every field below the local view made relative, of every journal line.
    std::vector<Paths> Journal(const wchar_t* component) const {
        auto lines = folder.Journal(component);
        for (auto& line : lines) {
            for (auto& field : line) field = Relative(field);
        }
        return lines;
    }
    std::vector<Error> Errors() {
        std::vector<Error> out;
        for (const MoveErrorEntry* e : request->errors) {
            out.emplace_back(Relative(e->path), Relative(e->newPath), e->code);
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
TEST_F(LocalViewTest, RenamingAFolderRecreatesItAndTellsTheServiceEachPathInOrder) {
    folder.WriteFile(L"P\\A\\S\\T\\z.txt", "zed");
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
    Paths notices;
    for (const auto& line : Journal(L"LocalViewService")) notices.push_back(line.at(3));
    EXPECT_EQ(notices, (Paths{L"P\\B\\S\\T\\z.txt", L"P\\B", L"P\\B\\S", L"P\\B\\S\\T", L"P\\A\\S\\T", L"P\\A\\S\\T",
                              L"P\\A\\S\\T", L"P\\A\\S", L"P\\A\\S", L"P\\A"}));

    // The notifier hears every planned entry before anything moves.
    const Paths announced = {L"AnnounceFile", L"P\\A\\S\\T\\z.txt", L"1"};
    EXPECT_EQ(Journal(L"LocalViewNotifier"),
              (std::vector<Paths>{{L"Create"}, announced, announced, announced, announced,
                                  {L"AnnounceFolders", L"1", L"0", L"0x00002008", L"0", L"P\\A\\S\\T", L"P\\A\\S\\T",
                                   L"P\\A\\S\\T", L"P\\A\\S", L"P\\A\\S", L"P\\A"}}));

    // A rename is one notice from the old name to the new one.
    EXPECT_EQ(shell.Notices(), (Notices{{SHCNE_RENAMEFOLDER, {L"\\P\\A", L"\\P\\B"}}}));
}

// Without the service or its notifier the moves still happen. A moved folder
// is announced as removed before and created after; a file gets no notice.
TEST_F(LocalViewTest, MovingAFolderAnnouncesItsRemovalBeforeAndItsCreationAfter) {
    folder.WriteFile(L"P\\A\\S\\T\\z.txt", "zed");
    folder.WriteFile(L"P\\part.prt", "p");
    host.fileNames = {{7, L"part.prt"}};
    folder.Configure(L"LocalViewNotifier", {L"create-result=0x80040154"});
    ShellNoticeObserver shell(folder.LocalRoot());
    request.AddFolder(kA, kQ);
    request.AddFile(7, kP, kQ);

    ASSERT_EQ(Move(), S_OK);

    EXPECT_EQ(folder.Tree(),
              (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\S\\", L"Q\\A\\S\\T\\", L"Q\\A\\S\\T\\z.txt", L"Q\\part.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\T\\z.txt"), "zed");
    EXPECT_EQ(folder.ReadFile(L"Q\\part.prt"), "p");
    EXPECT_TRUE(folder.Journal(L"LocalViewNotifier").empty());
    EXPECT_EQ(shell.Notices(), (Notices{{SHCNE_RMDIR, {L"\\P\\A"}}, {SHCNE_MKDIR, {L"\\Q\\A"}}}));
}

// The content whose counterpart exists, then the folder itself; the existing
// sub-folder is not descended.
TEST_F(LocalViewTest, AFolderMovedOntoAnExistingFolderIsRefusedBeforeAnythingChanges) {
    for (const wchar_t* name : {L"P\\A\\a1.txt", L"P\\A\\S\\s1.txt", L"Q\\A\\a1.txt", L"Q\\A\\S\\s1.txt"}) {
        folder.WriteFile(name);
    }
    const Paths before = folder.Tree();
    request.AddFolder(kA, kQ);

    EXPECT_EQ(Move(), S_FALSE);
    EXPECT_EQ(host.calls, Calls{"ResolveNames"});
    EXPECT_EQ(folder.Tree(), before);
    auto errors = Errors();
    ASSERT_EQ(errors.size(), 3u);
    std::sort(errors.begin(), errors.end() - 1);
    EXPECT_EQ(errors, (std::vector<Error>{{L"P\\A\\S", L"Q\\A\\S", E_QOR_NAME_ALREADY_EXISTS},
                                          {L"P\\A\\a1.txt", L"Q\\A\\a1.txt", E_QOR_NAME_ALREADY_EXISTS},
                                          {L"P\\A", L"Q\\A", E_QOR_NAME_ALREADY_EXISTS}}));
}

TEST_F(LocalViewTest, TwoSourcesWithOneTargetAreRefusedEvenWhenTheTargetIsFree) {
    folder.WriteFile(L"P\\x.txt", "one");
    folder.WriteFile(L"Q\\y.txt", "two");
    const Paths before = folder.Tree();
    request.AddLocal(false, folder.Path(L"P\\x.txt"), folder.Path(L"z.txt"));
    request.AddLocal(false, folder.Path(L"Q\\y.txt"), folder.Path(L"z.txt"));
    EXPECT_EQ(Move(), S_FALSE);
    EXPECT_EQ(host.calls, Calls{"ResolveNames"});
    EXPECT_EQ(folder.Tree(), before);
    EXPECT_EQ(Errors(), (std::vector<Error>{{L"Q\\y.txt", L"z.txt", E_QOR_NAME_ALREADY_EXISTS},
                                            {L"P\\x.txt", L"z.txt", E_QOR_NAME_ALREADY_EXISTS}}));
}

// Held when the checks run, the file refuses the move before the database:
// every planned appearance of it, never a folder. Opened while the database
// changes, it is copied but stays, and every folder above it is reported.
TEST_F(LocalViewTest, AHeldFileRefusesTheMoveOrStaysWithEveryFolderAboveIt) {
    folder.WriteFile(L"P\\A\\S\\held.txt", "held");
    UniqueFileHandle holder;
    const auto hold = [&] {
        holder.reset(CreateFileW(folder.Path(L"P\\A\\S\\held.txt").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
    };
    request.AddFolder(kA, kQ);

    hold();
    ASSERT_EQ(Move(), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
    EXPECT_EQ(Errors(), std::vector<Error>(3, {L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", E_QOR_FILE_SHARE_ERROR}));
    EXPECT_FALSE(folder.Exists(L"Q\\A"));

    holder.reset();
    host.onMoveInDatabase = [&](MoveRequest*) { hold(); };
    ShellNoticeObserver shell(folder.LocalRoot());
    ASSERT_EQ(Move(), S_OK);  // silent: the host reads the errors

    EXPECT_EQ(folder.ReadFile(L"P\\A\\S\\held.txt"), "held");
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\held.txt"), "held");
    // Each planned appearance is attempted: the file stands three times, S twice and A once.
    const HRESULT sharing = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
    const HRESULT notEmpty = HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(Errors(), (std::vector<Error>{{L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", sharing},
                                            {L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", sharing},
                                            {L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", sharing},
                                            {L"P\\A\\S", L"Q\\A\\S", notEmpty},
                                            {L"P\\A\\S", L"Q\\A\\S", notEmpty},
                                            {L"P\\A", L"Q\\A", notEmpty}}));
    // Failed folders are announced where they still are, each appearance.
    EXPECT_EQ(shell.Notices(), (Notices{{SHCNE_RMDIR, {L"\\P\\A"}},
                                        {SHCNE_MKDIR, {L"\\P\\A\\S"}},
                                        {SHCNE_MKDIR, {L"\\P\\A\\S"}},
                                        {SHCNE_MKDIR, {L"\\P\\A"}}}));
}

}  // namespace
