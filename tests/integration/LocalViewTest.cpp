// Moves and renames on a real local view: what changes on disk, what the local view service and the shell are
// told, and what is refused before the database changes.
#include "ComThread.h"
#include "LoadedModule.h"
#include "LocalViewServiceProcess.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using Paths = std::vector<std::wstring>;
using Calls = std::vector<std::string>;
using Notices = std::vector<std::pair<long, Paths>>;  // the event, the place below the root of each list
using Error = std::tuple<std::wstring, std::wstring, HRESULT>;  // old and new path below the root, code

// The shell notices for places below `root`. A flushed notice reaches this thread's window before the sender's
// call returns, so all have arrived when the module, called on this thread, returns.
class ShellNotices {
public:
    explicit ShellNotices(const std::wstring& root) : root_(ILCreateFromPathW(root.c_str())) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Receive;
        windowClass.lpszClassName = L"GhShellNotices";
        RegisterClassW(&windowClass);  // fails harmlessly when registered before
        window_ = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const SHChangeNotifyEntry below = {root_.Get(), TRUE};
        registration_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                               SHCNE_ALLEVENTS, WM_APP, 1, &below);
    }
    ~ShellNotices() {
        SHChangeNotifyDeregister(registration_);
        DestroyWindow(window_);
    }
    const Notices& Seen() {
        MSG message;
        while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return seen_;
    }

private:
    static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ShellNotices*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message != WM_APP || !self) return DefWindowProcW(window, message, wParam, lParam);
        PIDLIST_ABSOLUTE* lists = nullptr;
        LONG event = 0;
        HANDLE lock =
            SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &lists, &event);
        self->seen_.push_back({event, {self->Place(lists[0])}});
        if (lists[1]) self->seen_.back().second.push_back(self->Place(lists[1]));
        SHChangeNotification_Unlock(lock);
        return 0;
    }
    // "\Q\A" from the ANSI names the simple items below the root hold at byte 14.
    std::wstring Place(PCIDLIST_ABSOLUTE list) const {
        PCUIDLIST_RELATIVE item = list ? ILFindChild(root_.Get(), list) : nullptr;
        if (!item) return L"(elsewhere)";
        std::wstring place;
        for (; item->mkid.cb; item = ILGetNext(item)) {
            const char* name = reinterpret_cast<const char*>(item) + 14;
            place += L"\\" + std::wstring(name, name + std::strlen(name));
        }
        return place;
    }

    UniqueIdList root_;
    HWND window_ = nullptr;
    ULONG registration_ = 0;
    Notices seen_;
};

// P and Q below the root, A inside P.
constexpr int32_t kP = 2, kQ = 3, kA = 4;

class LocalViewTest : public ::testing::Test {
protected:
    LocalViewTest() {
        host.folderPaths = {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}, {kA, L"\\P\\A\\"}};
        folder.MakeFolder(L"P\\A");
        folder.MakeFolder(L"Q");
    }

    HRESULT Move(OwnedRequest& r) { return module.Move(nullptr, &host, r.get(), true); }
    std::wstring Relative(const std::wstring& path) const {
        const std::wstring root = folder.LocalRoot() + L"\\";
        return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
    }
    std::vector<Paths> Journal(const wchar_t* component) const {
        auto lines = folder.Journal(component);
        for (auto& line : lines) {
            for (auto& field : line) field = Relative(field);
        }
        return lines;
    }
    std::vector<Error> Errors(OwnedRequest& r) {
        std::vector<Error> out;
        for (const MoveErrorEntry* e : r->errors) out.emplace_back(Relative(e->path), Relative(e->newPath), e->code);
        return out;
    }

    TestFolder folder;
    ComThread com;
    LoadedModule module;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
};

// A chain of single entries (A\S\T\z.txt) keeps every order independent of how the file system lists a folder.
TEST_F(LocalViewTest, RenamingAFolderRecreatesItAndTellsTheServiceEachPathInOrder) {
    folder.WriteFile(L"P\\A\\S\\T\\z.txt", "zed");
    // The senders' mutex is out of reach for the first notice only.
    folder.Configure(L"LocalViewService", {L"lock-out-until=1"});
    LocalViewServiceProcess service;
    ShellNotices shell(folder.LocalRoot());
    request.AddFolder(kA, kP, L"B");

    ASSERT_EQ(Move(request), S_OK);
    service.Stop();
    EXPECT_EQ(folder.Tree(), (Paths{L"P\\", L"P\\B\\", L"P\\B\\S\\", L"P\\B\\S\\T\\", L"P\\B\\S\\T\\z.txt", L"Q\\"}));
    EXPECT_EQ(request->errors.count, 0);
    // The file first (its new folders created on the way), then every repetition of the old folders, deepest
    // first, as each is removed. Each notice makes its own mutex, so all after the lock-out are serialised again.
    Paths notices;
    for (const auto& line : Journal(L"LocalViewService")) notices.push_back(line.at(3));
    const Paths serialised = folder.JournalField(L"LocalViewService", L"Notice", 5);
    EXPECT_EQ(notices, (Paths{L"P\\B\\S\\T\\z.txt", L"P\\B", L"P\\B\\S", L"P\\B\\S\\T", L"P\\A\\S\\T", L"P\\A\\S\\T",
                              L"P\\A\\S\\T", L"P\\A\\S", L"P\\A\\S", L"P\\A"}));
    Paths expectedSerialised(notices.size(), L"held");
    expectedSerialised.front() = L"free";
    EXPECT_EQ(serialised, expectedSerialised);
    // The notifier hears every planned entry before anything moves.
    const Paths announced = {L"AnnounceFile", L"P\\A\\S\\T\\z.txt", L"1"};
    EXPECT_EQ(Journal(L"LocalViewNotifier"),
              (std::vector<Paths>{{L"Create"}, announced, announced, announced, announced,
                                  {L"AnnounceFolders", L"1", L"0", L"0x00002008", L"0", L"P\\A\\S\\T", L"P\\A\\S\\T",
                                   L"P\\A\\S\\T", L"P\\A\\S", L"P\\A\\S", L"P\\A"}}));
    EXPECT_EQ(shell.Seen(), (Notices{{SHCNE_RENAMEFOLDER, {L"\\P\\A", L"\\P\\B"}}}));
}

// Without the service or its notifier the moves still happen; a file gets no shell notice.
TEST_F(LocalViewTest, MovingAFolderAnnouncesItsRemovalBeforeAndItsCreationAfter) {
    folder.WriteFile(L"P\\A\\S\\T\\z.txt", "zed");
    folder.WriteFile(L"P\\part.prt", "p");
    host.fileNames = {{7, L"part.prt"}};
    folder.Configure(L"LocalViewNotifier", {L"create-result=0x80040154"});
    ShellNotices shell(folder.LocalRoot());
    request.AddFolder(kA, kQ);
    request.AddFile(7, kP, kQ);

    ASSERT_EQ(Move(request), S_OK);
    EXPECT_EQ(folder.Tree(),
              (Paths{L"P\\", L"Q\\", L"Q\\A\\", L"Q\\A\\S\\", L"Q\\A\\S\\T\\", L"Q\\A\\S\\T\\z.txt", L"Q\\part.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\T\\z.txt"), "zed");
    EXPECT_EQ(folder.ReadFile(L"Q\\part.prt"), "p");
    EXPECT_TRUE(folder.Journal(L"LocalViewNotifier").empty());
    EXPECT_EQ(shell.Seen(), (Notices{{SHCNE_RMDIR, {L"\\P\\A"}}, {SHCNE_MKDIR, {L"\\Q\\A"}}}));
}

// A folder onto an existing one: the content whose counterpart exists, then the folder itself; the existing
// sub-folder is not descended. Two sources with one target: both, even when the target is free.
TEST_F(LocalViewTest, TakenOrSharedTargetsAreRefusedBeforeAnythingChanges) {
    for (const wchar_t* f : {L"P\\A\\a1.txt", L"P\\A\\S\\s1.txt", L"Q\\A\\a1.txt", L"Q\\A\\S\\s1.txt", L"Q\\y.txt"}) {
        folder.WriteFile(f);
    }
    const Paths before = folder.Tree();
    OwnedRequest shared{folder.LocalRoot()};
    shared.AddLocal(false, folder.Path(L"P\\A\\a1.txt"), folder.Path(L"z.txt"));
    shared.AddLocal(false, folder.Path(L"Q\\y.txt"), folder.Path(L"z.txt"));
    request.AddFolder(kA, kQ);
    for (OwnedRequest* r : {&request, &shared}) {
        host.calls.clear();
        EXPECT_EQ(Move(*r), S_FALSE);
        EXPECT_EQ(host.calls, Calls{"ResolveNames"});
        EXPECT_EQ(folder.Tree(), before);
    }
    auto errors = Errors(request);
    ASSERT_EQ(errors.size(), 3u);
    std::sort(errors.begin(), errors.end() - 1);
    EXPECT_EQ(errors, (std::vector<Error>{{L"P\\A\\S", L"Q\\A\\S", E_QOR_NAME_ALREADY_EXISTS},
                                          {L"P\\A\\a1.txt", L"Q\\A\\a1.txt", E_QOR_NAME_ALREADY_EXISTS},
                                          {L"P\\A", L"Q\\A", E_QOR_NAME_ALREADY_EXISTS}}));
    EXPECT_EQ(Errors(shared), (std::vector<Error>{{L"Q\\y.txt", L"z.txt", E_QOR_NAME_ALREADY_EXISTS},
                                                  {L"P\\A\\a1.txt", L"z.txt", E_QOR_NAME_ALREADY_EXISTS}}));
}

// Held when the checks run, the file refuses the move before the database (every planned appearance of it, never
// a folder). Opened while the database changes, it is copied but stays, and every folder above it is reported.
TEST_F(LocalViewTest, AHeldFileRefusesTheMoveOrStaysWithEveryFolderAboveIt) {
    folder.WriteFile(L"P\\A\\S\\held.txt", "held");
    UniqueFileHandle holder;
    const auto hold = [&] {
        holder.Reset(CreateFileW(folder.Path(L"P\\A\\S\\held.txt").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
    };
    request.AddFolder(kA, kQ);

    hold();
    ASSERT_EQ(Move(request), E_QOR_FILE_SHARE_ERROR);
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates"}));
    const Error held = {L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", E_QOR_FILE_SHARE_ERROR};
    EXPECT_EQ(Errors(request), std::vector<Error>(3, held));
    EXPECT_FALSE(folder.Exists(L"Q\\A"));

    holder.Reset();
    host.onMoveInDatabase = [&](MoveRequest*) { hold(); };
    ShellNotices shell(folder.LocalRoot());
    ASSERT_EQ(Move(request), S_OK);  // silent: the host reads the errors
    EXPECT_EQ(folder.ReadFile(L"P\\A\\S\\held.txt"), "held");
    EXPECT_EQ(folder.ReadFile(L"Q\\A\\S\\held.txt"), "held");
    // Each planned appearance is attempted: the file stands three times, S twice and A once.
    const Error file = {L"P\\A\\S\\held.txt", L"Q\\A\\S\\held.txt", HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)};
    const Error s = {L"P\\A\\S", L"Q\\A\\S", HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY)};
    EXPECT_EQ(Errors(request), (std::vector<Error>{file, file, file, s, s, {L"P\\A", L"Q\\A", std::get<2>(s)}}));
    // Failed folders are announced where they still are, each appearance.
    EXPECT_EQ(shell.Seen(), (Notices{{SHCNE_RMDIR, {L"\\P\\A"}}, {SHCNE_MKDIR, {L"\\P\\A\\S"}},
                                     {SHCNE_MKDIR, {L"\\P\\A\\S"}}, {SHCNE_MKDIR, {L"\\P\\A"}}}));
}

}  // namespace
