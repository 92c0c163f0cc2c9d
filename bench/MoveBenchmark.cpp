// Folder moves of realistic size through ghMove, against a bare MoveFileExW
// loop over an identical tree in the same process, and the planning of a
// large tree on its own. Prints figures; asserts nothing.
#include "GhMove.h"
#include "LocalViewServiceProcess.h"
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
#include <string>
#include <vector>

namespace {

const std::wstring kBenchRoot = L"C:\\ghbench";
constexpr int32_t kSource = 2, kDestination = 3, kTree = 4;

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A tree of `levels` nested folders below `breadth` top folders, each folder
// holding `files` files. Returns the files below `root`.
struct TreeShape {
    int breadth;
    int levels;
    int files;
};

std::vector<std::wstring> BuildTree(const std::wstring& root, const TreeShape& shape, std::vector<std::wstring>& folders) {
    std::vector<std::wstring> files;
    CreateDirectoryW(root.c_str(), nullptr);
    for (int top = 0; top < shape.breadth; ++top) {
        std::wstring folder;
        for (int level = 0; level < shape.levels; ++level) {
            folder += L"\\d" + std::to_wstring(top) + L"_" + std::to_wstring(level);
            folders.push_back(folder);
            CreateDirectoryW((root + folder).c_str(), nullptr);
            for (int i = 0; i < shape.files; ++i) {
                const std::wstring file = folder + L"\\part" + std::to_wstring(i) + L".prt";
                std::ofstream((root + file).c_str(), std::ios::binary) << "content";
                files.push_back(file);
            }
        }
    }
    return files;
}

class BenchHost : public MoveHost {
public:
    HRESULT ListReferenceUpdates(MoveRequest*) override { return S_OK; }
    HRESULT MoveInDatabase(MoveRequest*) override { return S_OK; }
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap&) override {
        folderPaths = {{kSource, L"\\src\\"}, {kDestination, L"\\dst\\"}, {kTree, L"\\src\\T\\"}};
        return S_OK;
    }
    HRESULT FindFilesByName(int32_t, const std::vector<std::wstring>*, std::vector<std::shared_ptr<FoundFileRecord>>*,
                            const wchar_t*) override {
        return S_OK;
    }
};

struct Result {
    size_t files;
    double module;
    double bare;
};

// One tree for the module (src\T moved into dst of a local view) and a twin
// for the bare loop, which knows its file list in advance. Both are built
// before either is timed, and timed back to back, so that the load of the
// machine weighs on both alike.
Result MoveOnce(GhMoveFunction ghMove, const TreeShape& shape, const std::wstring& base) {
    RemoveTree(base);
    CreateDirectoryW(kBenchRoot.c_str(), nullptr);
    CreateDirectoryW(base.c_str(), nullptr);
    for (const wchar_t* side : {L"\\view", L"\\bare"}) {
        CreateDirectoryW((base + side).c_str(), nullptr);
        CreateDirectoryW((base + side + L"\\src").c_str(), nullptr);
        CreateDirectoryW((base + side + L"\\dst").c_str(), nullptr);
    }
    std::vector<std::wstring> folders;
    const size_t files = BuildTree(base + L"\\view\\src\\T", shape, folders).size();
    const std::wstring from = base + L"\\bare\\src\\T", to = base + L"\\bare\\dst\\T";
    std::vector<std::wstring> bareFolders;
    const std::vector<std::wstring> bareFiles = BuildTree(from, shape, bareFolders);

    BenchHost host;
    MoveRequest request;
    request.localRoot = base + L"\\view";
    request.items.Append(new MoveItem{0, kTree, kDestination, L""});
    double start = Seconds();
    const HRESULT hr = ghMove(nullptr, &host, &request, true);
    const double module = Seconds() - start;
    if (hr != S_OK || !request.errors.Empty()) fwprintf(stderr, L"module move failed: 0x%08lX\n", hr);
    request.items.DeleteAll();
    request.errors.DeleteAll();

    start = Seconds();
    CreateDirectoryW(to.c_str(), nullptr);
    for (const std::wstring& folder : bareFolders) CreateDirectoryW((to + folder).c_str(), nullptr);
    for (const std::wstring& file : bareFiles) {
        MoveFileExW((from + file).c_str(), (to + file).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    for (auto folder = bareFolders.rbegin(); folder != bareFolders.rend(); ++folder) {
        RemoveDirectoryW((from + *folder).c_str());
    }
    RemoveDirectoryW(from.c_str());
    const double bare = Seconds() - start;

    RemoveTree(base);
    return {files, module, bare};
}

// The best of a few runs of each side.
void MoveBoth(GhMoveFunction ghMove, const TreeShape& shape, const wchar_t* label, int runs) {
    Result best = {0, 1e9, 1e9};
    for (int run = 0; run < runs; ++run) {
        const Result r = MoveOnce(ghMove, shape, kBenchRoot + L"\\run");
        best = {r.files, std::min(best.module, r.module), std::min(best.bare, r.bare)};
    }
    wprintf(L"%-34ls files %6zu   module %7.3f s   bare %7.3f s   ratio %5.2f   (best of %d)\n", label, best.files,
            best.module, best.bare, best.module / best.bare, runs);
}

// Planning alone, and the notice selection over what it planned.
void PlanLarge(const TreeShape& shape) {
    const std::wstring view = kBenchRoot + L"\\plan";
    RemoveTree(view);
    CreateDirectoryW(kBenchRoot.c_str(), nullptr);
    CreateDirectoryW(view.c_str(), nullptr);
    CreateDirectoryW((view + L"\\src").c_str(), nullptr);
    std::vector<std::wstring> folders;
    const size_t files = BuildTree(view + L"\\src\\T", shape, folders).size();

    BenchHost host;
    MoveRequest request;
    request.localRoot = view;
    request.items.Append(new MoveItem{0, kTree, kDestination, L""});
    FolderPathMap folderPaths;
    FileNameMap fileNames;
    host.ResolveNames(folderPaths, fileNames);
    {
        Mover mover(nullptr, &host, &request, true);
        double start = Seconds();
        mover.PlanLocalMoves(fileNames, folderPaths);
        const double planning = Seconds() - start;

        start = Seconds();
        Lst<LocalMoveData*> selection;
        SelectNotifyFolders(mover.localMoves, FailedMoves(request.errors), selection);
        const double selecting = Seconds() - start;
        wprintf(L"planning %zu files: %d entries in %.3f s; notice selection over them %.3f s (%d selected)\n", files,
                mover.localMoves.count, planning, selecting, selection.count);
    }
    request.items.DeleteAll();
    request.errors.DeleteAll();
    RemoveTree(view);
}

}  // namespace

int wmain() {
    CoInitialize(nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder = folder.substr(0, folder.rfind(L'\\') + 1);
    const UniqueLibrary module(LoadLibraryW((folder + L"GhMove.dll").c_str()));
    const auto ghMove = module ? ProcAddress<GhMoveFunction>(module.get(), "ghMove") : nullptr;
    if (!ghMove) {
        fwprintf(stderr, L"GhMove.dll could not be loaded\n");
        return 1;
    }

    const TreeShape wide = {20, 1, 500};
    const TreeShape deep = {1, 12, 200};
    MoveBoth(ghMove, wide, L"20 x 500, no service", 3);
    MoveBoth(ghMove, deep, L"depth 12 x 200, no service", 3);
    {
        LocalViewServiceProcess service;
        MoveBoth(ghMove, wide, L"20 x 500, service running", 1);
        MoveBoth(ghMove, deep, L"depth 12 x 200, service running", 1);
    }
    PlanLarge({40, 1, 850});
    RemoveTree(kBenchRoot);
    CoUninitialize();
    return 0;
}
