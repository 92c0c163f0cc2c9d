// Everything a host can get wrong in a call to ghMove: each gets a clear result, and nothing on disk is lost or
// put elsewhere. A list is what its nodes hold, whatever its count or tail says.
#include "ComThread.h"
#include "HeapBytes.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "common/Handles.h"
#include "installation/standin/StandinWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>

namespace {

using Calls = std::vector<std::string>;
using Paths = std::vector<std::wstring>;
using Lines = std::vector<std::vector<std::wstring>>;

constexpr int32_t kP = 2, kQ = 3;
constexpr int32_t kA = 7, kB = 8;
const Calls kResolved = {"ResolveNames"};
const Calls kListed = {"ResolveNames", "ListReferenceUpdates"};
const Calls kWholeRun = {"ResolveNames", "ListReferenceUpdates", "MoveInDatabase"};
const HRESULT kTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

// P holds a.txt and b.txt, Q is empty.
const Paths kBefore = {L"P\\", L"P\\a.txt", L"P\\b.txt", L"Q\\"};
const Paths kMoved = {L"P\\", L"P\\b.txt", L"Q\\", L"Q\\a.txt"};

// One call as a host makes it; a case arranges what the host gets wrong.
struct Call {
    Call() {
        folder.WriteFile(L"P\\a.txt", "a");
        folder.WriteFile(L"P\\b.txt", "b");
        folder.MakeFolder(L"Q");
        host.folderPaths = {{kP, L"\\P\\"}, {kQ, L"\\Q\\"}};
        host.fileNames = {{kA, L"a.txt"}, {kB, L"b.txt"}};
    }
    HRESULT Move() { return module.Move(owner, &host, request.get(), silent); }
    void MoveA() { request.AddFile(kA, kP, kQ); }
    void MoveALocally(const std::wstring& to) { request.AddLocal(false, folder.Path(L"P\\a.txt"), to); }
    std::wstring AInQ() const { return folder.Path(L"Q\\a.txt"); }
    std::wstring B() const { return folder.Path(L"P\\b.txt"); }
    // A local move of P\a.txt to a path of `length` characters below Q.
    std::wstring LongTarget(size_t length) const {
        std::wstring path = folder.Path(L"Q");
        while (path.size() < length) {
            const size_t room = length - path.size() - 1;
            path += L"\\" + std::wstring(room <= 200 ? room : std::min<size_t>(200, room - 2), L'n');
        }
        return path;
    }
    // What stands in the test's folder beside the local view and the stand-ins' folder.
    Paths Beside() const {
        Paths out;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
            const std::wstring name = entry.path().filename();
            if (name != L"localview" && name != L"standin") out.push_back(name);
        }
        return out;
    }
    std::vector<HRESULT> ErrorCodes() {
        std::vector<HRESULT> codes;
        for (const MoveErrorEntry* e : request->errors) codes.push_back(e ? e->code : S_OK);
        return codes;
    }

    TestFolder folder;
    ComThread com;  // before the module loads
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    HWND owner = parent.Get();
    bool silent = true;
    std::optional<MessageBoxWatcher> reports, boxes, views;  // for a case that is not silent
};

struct BadInput {
    const char* name;
    std::function<void(Call&)> arrange;
    HRESULT result;
    Calls calls;
    Paths after;                                 // the local view afterwards; not compared when empty
    std::function<void(Call&)> check = nullptr;  // what else the case pins
};

void Watch(Call& c) {
    c.silent = false;
    c.reports.emplace(IDOK, kReportDialogClass);
    c.boxes.emplace();
    c.views.emplace(IDOK, kNonUniqueDialogClass);
}

RefFile* NewRefFile(const std::wstring& oldPath, std::vector<MoveRef*> refs = {}) {
    auto* file = new RefFile;
    file->oldPath = oldPath;
    for (MoveRef* ref : refs) file->refs.Append(ref);
    return file;
}

const BadInput kCases[] = {
    // A null in the request's lists refuses the call as it came; one the host lists stops it there.
    {"NullMoveItem", [](Call& c) {
         c.MoveA();
         c.request->items.Append(nullptr);
         c.request->errors.Append(new MoveErrorEntry(L"x", L"y", E_FAIL, L""));
     }, E_POINTER, {}, kBefore,
     [](Call& c) { EXPECT_EQ(c.ErrorCodes(), std::vector<HRESULT>{E_FAIL}); }},  // not even emptied
    {"NullLocalItem", [](Call& c) { c.MoveALocally(c.AInQ()); c.request->localItems.Append(nullptr); },
     E_POINTER, {}, kBefore},
    {"NullRefFileListed", [](Call& c) {
         c.MoveA();
         c.host.onListReferenceUpdates = [](MoveRequest* r) { r->refFiles.Append(nullptr); };
     }, E_POINTER, kListed, kBefore},
    {"NullMoveRefListed", [](Call& c) {
         c.MoveA();
         c.host.onListReferenceUpdates = [b = c.B()](MoveRequest* r) { r->refFiles.Append(NewRefFile(b, {nullptr})); };
     }, E_POINTER, kListed, kBefore},
    {"NullDbMoveErrorAndNullParentWindow", [](Call& c) {
         Watch(c);
         c.owner = nullptr;
         c.MoveA();
         c.host.onMoveInDatabase = [](MoveRequest* r) {
             r->dbErrors.Append(nullptr);
             r->dbErrors.Append(new DbMoveError{kA, 0, 0, L"", 2, L"a.txt", L"", L"\\P\\", L"\\Q\\"});
         };
     }, S_FALSE, kWholeRun, kBefore,
     [](Call& c) {
         const auto seen = c.reports->Boxes();
         ASSERT_EQ(seen.size(), 1u);
         EXPECT_EQ(seen[0].owner, nullptr);
         EXPECT_EQ(c.folder.JournalField(L"ReportDialog", L"Group"),
                   Paths{L"One file is checked out on another computer"});
     }},
    {"NullFoundFileRecord", [](Call& c) {
         Watch(c);
         c.folder.Configure(L"ReportDialog", {L"invoke=11"});
         c.MoveA();
         c.host.onMoveInDatabase = [](MoveRequest* r) {
             r->dbErrors.Append(new DbMoveError{kA, 0, 0, L"", 6, L"a.txt", L"A.txt", L"\\P\\", L"\\Q\\"});
         };
         c.host.foundFiles = {nullptr};
     }, S_FALSE, {"ResolveNames", "ListReferenceUpdates", "MoveInDatabase", "FindFilesByName"}, kBefore,
     [](Call& c) {
         const Lines journal = c.folder.Journal(L"NonUniqueFilesDialog");
         ASSERT_GE(journal.size(), 4u);
         EXPECT_EQ(journal[2], (std::vector<std::wstring>{L"Records", L"1"}));
         EXPECT_EQ(journal[3], (std::vector<std::wstring>{L"Record", L"0", L"0", L"0", L"(null)", L"(null)", L"(null)",
                                                          L"(null)", L"0"}));
     }},

    // Items need a local view root that makes their paths full; local items bring their own.
    {"EmptyLocalRoot", [](Call& c) { c.request->localRoot.clear(); c.MoveA(); }, E_INVALIDARG, {}, kBefore},
    {"EmptyLocalRootWithFullLocalPaths", [](Call& c) { c.request->localRoot.clear(); c.MoveALocally(c.AInQ()); },
     S_OK, kWholeRun, kMoved},
    {"VerbatimLocalRoot", [](Call& c) { c.request->localRoot = L"\\\\?\\" + c.folder.LocalRoot(); c.MoveA(); },
     S_OK, kWholeRun, kMoved},

    // Counts and tails that disagree with the nodes: the nodes count.
    {"ItemsCountZeroWithANode", [](Call& c) { c.MoveA(); c.request->items.count = 0; }, S_OK, kWholeRun, kMoved},
    {"DbErrorsCountZeroWithANode", [](Call& c) {  // still a refusal: the disk stays
         c.MoveA();
         c.host.onMoveInDatabase = [](MoveRequest* r) {
             r->dbErrors.Append(new DbMoveError{kA, 0, 0, L"", 2, L"a.txt", L"", L"\\P\\", L"\\Q\\"});
             r->dbErrors.count = 0;
         };
     }, S_FALSE, kWholeRun, kBefore},
    {"DbErrorsCountWithoutNodes", [](Call& c) {
         c.MoveA();
         c.host.onMoveInDatabase = [](MoveRequest* r) { r->dbErrors.count = 3; };
     }, S_OK, kWholeRun, kMoved},
    {"RefFilesAndRefsCountsAndTailsWrong", [](Call& c) {
         c.MoveA();
         c.host.onListReferenceUpdates = [b = c.B()](MoveRequest* r) {
             RefFile* file = NewRefFile(b, {new MoveRef{L"o1", L"n1"}, new MoveRef{L"o2", L"n2"}});
             file->refs.count = 9;
             file->refs.tail = nullptr;
             r->refFiles.Append(file);
             r->refFiles.count = 0;
         };
     }, S_OK, kWholeRun, kMoved,
     [](Call& c) {  // the reference pairs the rewrite handed the file-format manager
         EXPECT_EQ(c.folder.JournalField(L"Formwright", L"UpdateReferencePaths", 2), Paths{L"o1>n1;o2>n2"});
     }},

    // Names the host takes back give their items no local move.
    {"MapsLeftEmpty", [](Call& c) {
         c.MoveA();
         c.request.AddFolder(kP, kQ, L"Renamed");
         c.host.onResolveNames = [](FolderPathMap& folders, FileNameMap& files) {
             folders.clear();
             files.clear();
         };
     }, S_OK, kWholeRun, kBefore},

    // Only full drive paths reach the disk, and only targets that fit 520 characters with the terminator.
    {"TargetOfFiveHundredNineteen", [](Call& c) { c.MoveALocally(c.LongTarget(519)); }, S_OK, kWholeRun, {},
     [](Call& c) {
         EXPECT_FALSE(c.folder.Exists(L"P\\a.txt"));
         EXPECT_NE(GetFileAttributesW(c.LongTarget(519).c_str()), INVALID_FILE_ATTRIBUTES);
     }},
    {"TargetOfFiveHundredTwenty", [](Call& c) { c.MoveALocally(c.LongTarget(520)); }, kTooLong, kResolved, kBefore,
     [](Call& c) { EXPECT_EQ(c.ErrorCodes(), std::vector<HRESULT>{kTooLong}); }},
    {"RelativeLocalPath", [](Call& c) { c.request.AddLocal(false, L"P\\a.txt", c.AInQ()); },
     E_INVALIDARG, kResolved, kBefore},
    {"ZeroInsideALocalPath", [](Call& c) { c.MoveALocally(c.AInQ() + L'\0' + L"x"); }, E_INVALIDARG, kResolved,
     kBefore},
    {"ZeroInsideAListedPath", [](Call& c) {
         c.MoveA();
         const std::wstring b = c.B() + L'\0' + L"x";
         c.host.onListReferenceUpdates = [b](MoveRequest* r) { r->refFiles.Append(NewRefFile(b)); };
     }, E_INVALIDARG, kListed, kBefore},

    // A name the file system would store as nothing is refused.
    {"NewNameOfSpacesOnly", [](Call& c) { c.request.AddFile(kA, kP, kP, L"   "); }, S_FALSE, kResolved, kBefore,
     [](Call& c) { EXPECT_EQ(c.ErrorCodes(), std::vector<HRESULT>{E_QOR_INVALID_NAME}); }},  // not taken for P itself
};

void PrintTo(const BadInput& bad, std::ostream* out) { *out << bad.name; }

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, GetsAClearResultAndLosesNothingOnDisk) {
    const BadInput& bad = GetParam();
    Call c;
    bad.arrange(c);
    EXPECT_EQ(c.Move(), bad.result);
    EXPECT_EQ(c.host.calls, bad.calls);
    if (!bad.after.empty()) {
        EXPECT_EQ(c.folder.Tree(), bad.after);
    }
    EXPECT_EQ(c.Beside(), Paths{});
    if (bad.check) bad.check(c);
    if (!c.silent || bad.after != kBefore) return;

    // Refused again and again, the call gives back every block it took. The manager's library stays loaded: each
    // load of it starts its own runtime, which keeps blocks of its own for good.
    const UniqueLibrary manager(LoadLibraryW(LoadedModule::BesideProgram(L"Formwright.dll").c_str()));
    ASSERT_TRUE(manager);
    const auto again = [&c, &bad] {
        c.host.calls.clear();
        c.host.askedFolderIds.clear();
        c.host.askedFileIds.clear();
        EXPECT_EQ(c.Move(), bad.result);
        return HeapBytesInUse();
    };
    again();
    const size_t settled = again();
    EXPECT_EQ(again(), settled);
    EXPECT_EQ(c.folder.Tree(), kBefore);
}

INSTANTIATE_TEST_SUITE_P(Host, BadInputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

}  // namespace
