// Folder moves of realistic size through ghMove, each against its floor (the
// system calls the move must make, made by a plain loop in this process over
// an identical tree) and a bare MoveFileExW loop; a part rename that rewrites
// many assemblies; and the planning of a large tree on its own. Prints
// figures; asserts nothing.
//
//   move_benchmark.exe [--json] [--large] [--case NAME]
#include "BenchClock.h"
#include "BenchTree.h"
#include "GhMove.h"
#include "LocalViewServiceProcess.h"
#include "MoveFloor.h"
#include "RecordingHost.h"
#include "RewriteCase.h"
#include "TestFolder.h"
#include "common/Handles.h"
#include "common/ProcAddress.h"
#include "localview/FailedMoves.h"
#include "localview/NotifyFolderSelection.h"
#include "move/Mover.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring kBenchRoot = L"C:\\ghbench";
const std::wstring kJournals = kBenchRoot + L"\\standin";
constexpr int32_t kSource = 2, kDestination = 3, kMoved = 4;
constexpr double kRepeatBelowSeconds = 30;
constexpr int kRuns = 3;

bool g_json = false;
std::wstring g_only;  // --case NAME runs that case alone

bool Selected(const wchar_t* name) { return g_only.empty() || g_only == name; }

struct Figures {
    std::wstring name;
    size_t files = 0;
    double module = 0, floor = 0, bare = 0, peakMb = 0;
    // Of the module's and the floor's time, the part before the database
    // move: planning and the checks.
    std::optional<double> moduleChecks, floorChecks;
    std::optional<long> noticesSent, noticesServed;
};

void Print(const Figures& f) {
    if (g_json) {
        wprintf(L"{\"case\": \"%ls\", \"files\": %zu, \"module_s\": %.4f, \"floor_s\": %.4f, \"bare_s\": %.4f, "
                L"\"module_per_floor\": %.3f, \"peak_mb\": %.1f",
                f.name.c_str(), f.files, f.module, f.floor, f.bare, f.module / f.floor, f.peakMb);
        if (f.moduleChecks) wprintf(L", \"module_checks_s\": %.4f, \"floor_checks_s\": %.4f", *f.moduleChecks, *f.floorChecks);
        if (f.noticesSent) wprintf(L", \"notices_sent\": %ld, \"notices_served\": %ld", *f.noticesSent, *f.noticesServed);
        wprintf(L"}\n");
    } else {
        wprintf(L"%-16ls files %6zu  module %7.3f s  floor %7.3f s  bare %7.3f s  module/floor %5.3f  peak %5.1f MB",
                f.name.c_str(), f.files, f.module, f.floor, f.bare, f.module / f.floor, f.peakMb);
        if (f.moduleChecks) wprintf(L"  before the database %.3f / %.3f s", *f.moduleChecks, *f.floorChecks);
        if (f.noticesSent) wprintf(L"  notices %ld, served %ld", *f.noticesSent, *f.noticesServed);
        wprintf(L"\n");
    }
    if (f.noticesSent && *f.noticesSent != *f.noticesServed) {
        fwprintf(stderr, L"%ls: the service served %ld of %ld notices\n", f.name.c_str(), *f.noticesServed,
                 *f.noticesSent);
    }
    fflush(stdout);
}

// The better of two figures; a figure not taken yet counts as no figure.
void KeepBest(double& best, double figure) { best = best == 0 ? figure : std::min(best, figure); }
void KeepBest(std::optional<double>& best, const std::optional<double>& figure) {
    if (figure) best = best ? std::min(*best, *figure) : *figure;
}

// Notices the service has journaled so far.
long NoticesServed() {
    std::wifstream journal((kJournals + L"\\LocalViewService.journal").c_str());
    long lines = 0;
    for (std::wstring line; std::getline(journal, line);) lines += line.rfind(L"Notice", 0) == 0;
    return lines;
}

// The service journals into the benchmark's folder; the stand-ins loaded
// into this process journal nothing, so that their bookkeeping weighs on
// neither the module nor the floor.
class RunningService {
public:
    RunningService() {
        SetEnvironmentVariableW(L"STANDIN_DIR", kJournals.c_str());
        service_ = std::make_unique<LocalViewServiceProcess>();
        SetEnvironmentVariableW(L"STANDIN_DIR", nullptr);
    }

private:
    std::unique_ptr<LocalViewServiceProcess> service_;
};

double TimeModuleMove(GhMoveFunction ghMove, const std::wstring& view, Figures& f) {
    RecordingHost host;
    host.folderPaths = {{kSource, L"\\src\\"}, {kDestination, L"\\dst\\"}, {kMoved, L"\\src\\T\\"}};
    double checked = 0;
    host.onMoveInDatabase = [&](MoveRequest*) { checked = Seconds(); };
    OwnedRequest request(view);
    request.AddFolder(kMoved, kDestination);
    MemoryPeak peak;
    const double start = Seconds();
    const HRESULT hr = ghMove(nullptr, &host, request.get(), true);
    const double took = Seconds() - start;
    f.peakMb = peak.Megabytes();
    f.moduleChecks = checked - start;
    if (hr != S_OK || !request->errors.Empty()) fwprintf(stderr, L"module move failed: 0x%08lX\n", hr);
    return took;
}

double TimeBareMove(const std::wstring& from, const std::wstring& to, const Tree& tree) {
    const double start = Seconds();
    for (const TreeFolder& folder : tree.folders) CreateDirectoryW(Below(to, folder.path).c_str(), nullptr);
    for (const TreeFile& file : tree.files) {
        MoveFileExW(Below(from, file.path).c_str(), Below(to, file.path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    for (auto folder = tree.folders.rbegin(); folder != tree.folders.rend(); ++folder) {
        RemoveDirectoryW(Below(from, folder->path).c_str());
    }
    return Seconds() - start;
}

NoticeCount TimeFloorMove(const std::wstring& view, const Tree& tree, Figures& f) {
    const MemoryPeak sampledLikeTheModule;
    const double start = Seconds();
    const FloorRun run = MoveAtFloor({view, view + L"\\src\\T", view + L"\\dst\\T"}, tree);
    f.floor = Seconds() - start;
    f.floorChecks = run.checked - start;
    return run.notices;
}

// Three identical trees, src\T of a local view each, are built before any is
// timed; then the module, the floor and the bare loop move theirs to dst\T
// back to back, so that the load of the machine weighs on all alike. Whoever
// goes first meets the disk still writing the new trees, so the module and
// the floor take turns at going first.
Figures MoveOnce(GhMoveFunction ghMove, const Tree& tree, bool service, bool floorFirst) {
    const std::wstring base = kBenchRoot + L"\\run";
    RemoveTree(base);
    CreateDirectoryW(base.c_str(), nullptr);
    for (const wchar_t* side : {L"\\view", L"\\floor", L"\\bare"}) {
        CreateDirectoryW((base + side).c_str(), nullptr);
        CreateDirectoryW((base + side + L"\\src").c_str(), nullptr);
        CreateDirectoryW((base + side + L"\\dst").c_str(), nullptr);
        BuildTree(base + side + L"\\src\\T", tree);
    }
    Figures f;
    f.files = tree.files.size();
    long servedByModule = 0;
    NoticeCount floorNotices;
    const auto module = [&] {
        const long servedBefore = NoticesServed();
        f.module = TimeModuleMove(ghMove, base + L"\\view", f);
        servedByModule = NoticesServed() - servedBefore;
    };
    const auto floor = [&] { floorNotices = TimeFloorMove(base + L"\\floor", tree, f); };
    if (floorFirst) {
        floor();
        module();
    } else {
        module();
        floor();
    }
    if (service) {
        f.noticesSent = floorNotices.sent;
        f.noticesServed = servedByModule;
        if (floorNotices.answered != floorNotices.sent) {
            fwprintf(stderr, L"the service answered %ld of the floor's %ld notices\n", floorNotices.answered,
                     floorNotices.sent);
        }
    }
    f.bare = TimeBareMove(base + L"\\bare\\src\\T", base + L"\\bare\\dst\\T", tree);
    RemoveTree(base);
    return f;
}

// The best of three runs of each side, or one run when a run is long.
void MoveCase(GhMoveFunction ghMove, const wchar_t* name, const TreeShape& shape, bool withService) {
    if (!Selected(name)) return;
    std::optional<RunningService> service;
    if (withService) service.emplace();
    const Tree tree = DescribeTree(shape);
    Figures best;
    for (int run = 0; run < kRuns; ++run) {
        const Figures f = MoveOnce(ghMove, tree, withService, run % 2 == 1);
        best.files = f.files;
        KeepBest(best.module, f.module);
        KeepBest(best.floor, f.floor);
        KeepBest(best.bare, f.bare);
        KeepBest(best.moduleChecks, f.moduleChecks);
        KeepBest(best.floorChecks, f.floorChecks);
        best.peakMb = std::max(best.peakMb, f.peakMb);
        best.noticesSent = f.noticesSent;
        // A shortfall in any run shows.
        best.noticesServed = best.noticesServed ? std::min(*best.noticesServed, *f.noticesServed) : f.noticesServed;
        if (f.module > kRepeatBelowSeconds) break;
    }
    best.name = name;
    Print(best);
}

void RewriteCase(GhMoveFunction ghMove, int files) {
    if (!Selected(L"rewrite")) return;
    Figures best;
    best.name = L"rewrite";
    best.files = static_cast<size_t>(files);
    for (int run = 0; run < kRuns; ++run) {
        const RewriteTimes t = TimeRewrite(ghMove, L"c:\\ghbench\\rewrite", files, run % 2 == 1);
        KeepBest(best.module, t.module);
        KeepBest(best.floor, t.floor);
        KeepBest(best.bare, t.bare);
        best.peakMb = std::max(best.peakMb, t.peakMb);
        if (t.module > kRepeatBelowSeconds) break;
    }
    Print(best);
}

// What planning must read: every folder of the tree listed once.
double TimeListing(const std::wstring& moved, const Tree& tree) {
    const double start = Seconds();
    for (const TreeFolder& folder : tree.folders) {
        WIN32_FIND_DATAW data = {};
        const UniqueFindHandle search(FindFirstFileW((Below(moved, folder.path) + L"\\*.*").c_str(), &data));
        while (search && FindNextFileW(search.Get(), &data)) {
        }
    }
    return Seconds() - start;
}

// Planning alone, beside the bare listing of the same folders, and the notice
// selection over what it planned; the memory the planned entries hold, per
// entry.
void PlanningCase(const TreeShape& shape) {
    if (!Selected(L"planning")) return;
    const std::wstring view = kBenchRoot + L"\\plan";
    RemoveTree(view);
    CreateDirectoryW(view.c_str(), nullptr);
    CreateDirectoryW((view + L"\\src").c_str(), nullptr);
    const Tree tree = DescribeTree(shape);
    BuildTree(view + L"\\src\\T", tree);

    RecordingHost host;
    host.folderPaths = {{kSource, L"\\src\\"}, {kDestination, L"\\dst\\"}, {kMoved, L"\\src\\T\\"}};
    OwnedRequest request(view);
    request.AddFolder(kMoved, kDestination);
    {
        Mover mover(nullptr, &host, request.get(), true);
        const size_t before = HeapBytesInUse();
        double start = Seconds();
        mover.PlanLocalMoves(host.fileNames, host.folderPaths);
        const double planning = Seconds() - start;
        const double entries = static_cast<double>(mover.localMoves.count);
        const double bytesPerEntry = static_cast<double>(HeapBytesInUse() - before) / entries;
        const double listing = TimeListing(view + L"\\src\\T", tree);

        start = Seconds();
        Lst<LocalMoveData*> selection;
        SelectNotifyFolders(mover.localMoves, FailedMoves(request->errors), selection);
        const double selecting = Seconds() - start;
        if (g_json) {
            wprintf(L"{\"case\": \"planning\", \"entries\": %d, \"planning_s\": %.4f, \"selection_s\": %.4f, "
                    L"\"bytes_per_entry\": %.0f, \"listing_s\": %.4f}\n",
                    mover.localMoves.count, planning, selecting, bytesPerEntry, listing);
        } else {
            wprintf(L"planning         entries %6d  planning %.3f s (listing the folders alone %.3f s)  "
                    L"notice selection %.3f s  %.0f bytes per entry\n",
                    mover.localMoves.count, planning, listing, selecting, bytesPerEntry);
        }
        fflush(stdout);
    }
    RemoveTree(view);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool large = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        g_json |= option == L"--json";
        large |= option == L"--large";
        if (option == L"--case" && i + 1 < argc) g_only = argv[++i];
    }
    CoInitialize(nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder = folder.substr(0, folder.rfind(L'\\') + 1);
    const UniqueLibrary module(LoadLibraryW((folder + L"GhMove.dll").c_str()));
    const auto ghMove = module ? ProcAddress<GhMoveFunction>(module.Get(), "ghMove") : nullptr;
    if (!ghMove) {
        fwprintf(stderr, L"GhMove.dll could not be loaded\n");
        return 1;
    }
    RemoveTree(kBenchRoot);
    CreateDirectoryW(kBenchRoot.c_str(), nullptr);
    CreateDirectoryW(kJournals.c_str(), nullptr);

    const TreeShape wide = {20, 1, 500}, deep = {1, 12, 200};
    MoveCase(ghMove, L"20x500", wide, false);
    MoveCase(ghMove, L"depth12", deep, false);
    MoveCase(ghMove, L"20x500+service", wide, true);
    MoveCase(ghMove, L"depth12+service", deep, true);
    if (large) {
        MoveCase(ghMove, L"flat100k", {1, 0, 100000}, false);
        MoveCase(ghMove, L"wide100k", {100, 1, 1000}, false);
        // The folders and files of wide100k nested ten deep: planning lists
        // each file 3 to 12 times, about 750,000 entries in all.
        MoveCase(ghMove, L"deep100k", {10, 10, 1000}, false);
    }
    RewriteCase(ghMove, 1000);
    // Sizes of one shape, to show the memory per entry stays the same: 8,500
    // and 34,000 files, and with --large 100,300.
    PlanningCase({10, 1, 850});
    PlanningCase({40, 1, 850});
    if (large) PlanningCase({118, 1, 850});
    RemoveTree(kBenchRoot);
    CoUninitialize();
    return 0;
}
