#include "RewriteCase.h"

#include "BenchClock.h"
#include "FloorCalls.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/ProcAddress.h"
#include "interfaces/FileFormatMgr.h"
#include "interfaces/LocalViewNotifier.h"

#include <ole2.h>
#include <restartmanager.h>

#include <ctime>
#include <fstream>
#include <vector>

namespace {

constexpr int32_t kParts = 2, kAssemblies = 3, kPart = 7;

// Lower-case names throughout: the rewrite works on lower-cased paths, and a
// name found only by ignoring case costs a scan of its folder.
struct Side {
    std::wstring root;
    std::wstring part() const { return root + L"\\parts\\part.prt"; }
    std::wstring renamed() const { return root + L"\\parts\\renamed.prt"; }
    std::wstring assembly(int i) const { return root + L"\\asm\\a" + std::to_wstring(i) + L".asm"; }
};

Side MakeSide(const std::wstring& root, int files) {
    const Side side{root};
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\parts").c_str(), nullptr);
    CreateDirectoryW((root + L"\\asm").c_str(), nullptr);
    std::ofstream(side.part().c_str(), std::ios::binary) << "part";
    const std::wstring part = side.part();
    const std::string reference(part.begin(), part.end());  // the bench's paths are ASCII
    for (int i = 0; i < files; ++i) {
        std::ofstream(side.assembly(i).c_str(), std::ios::binary) << "FWTEXT 1\nREF " << reference << "\n";
    }
    return side;
}

void AddRefs(MoveRequest* request, const Side& side, int files) {
    for (int i = 0; i < files; ++i) {
        auto* file = new RefFile;
        file->oldPath = side.assembly(i);
        file->refs.Append(new MoveRef{side.part(), side.renamed()});
        request->refFiles.Append(file);
    }
}

double TimeModule(GhMoveFunction ghMove, const Side& side, int files, double& peakMb) {
    RecordingHost host;
    host.folderPaths = {{kParts, L"\\parts\\"}, {kAssemblies, L"\\asm\\"}};
    host.fileNames = {{kPart, L"part.prt"}};
    host.onListReferenceUpdates = [&](MoveRequest* request) { AddRefs(request, side, files); };
    OwnedRequest request(side.root);
    request.AddFile(kPart, kParts, kParts, L"renamed.prt");
    MemoryPeak peak;
    const double start = Seconds();
    const HRESULT hr = ghMove(nullptr, &host, request.get(), true);
    const double took = Seconds() - start;
    peakMb = peak.Megabytes();
    if (hr != S_OK || !request->errors.Empty() || !request->refErrors.Empty()) {
        fwprintf(stderr, L"module rewrite failed: 0x%08lX\n", hr);
    }
    return took;
}

FileFormatMgr* Manager(const UniqueLibrary& library) {
    const auto get = library ? ProcAddress<GetFileFormatMgrFunction>(library.Get(), kFileFormatExportName) : nullptr;
    return get ? get() : nullptr;
}

// Nobody else holds the assembly: no Restart Manager entry, and it opens.
void CheckFree(const std::wstring& path) {
    if (!Exists(path)) return;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (RmStartSession(&session, 0, key) == ERROR_SUCCESS) {
        LPCWSTR files[] = {path.c_str()};
        RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr);
        RM_PROCESS_INFO holders[10] = {};
        UINT needed = 0, listed = 10;
        DWORD reasons = 0;
        RmGetList(session, &needed, &listed, holders, &reasons);
        RmEndSession(session);
    }
    UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Capture the time, have the manager rewrite, and keep the time two seconds later.
SYSTEMTIME Rewrite(FileFormatMgr* manager, const std::wstring& path, Lst<MoveRef*>& refs) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FILETIME written = {};
    {
        const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        GetFileTime(file.Get(), nullptr, nullptr, &written);
    }
    SYSTEMTIME utc = {}, local = {};
    FileTimeToSystemTime(&written, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    // The plain CAD test: neither kind of storage opens a text document.
    ComPtr<IStorage> storage;
    StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, storage.Put());
    StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_NONE | STGM_DIRECT_SWMR, nullptr, 0,
                   storage.Put());
    manager->UpdateReferencePaths(path.c_str(), &refs, 0, 0, 0, 0);
    tm calendar = {};
    calendar.tm_year = local.wYear - 1900;
    calendar.tm_mon = local.wMonth - 1;
    calendar.tm_mday = local.wDay;
    calendar.tm_hour = local.wHour;
    calendar.tm_min = local.wMinute;
    calendar.tm_sec = local.wSecond & ~1;
    calendar.tm_isdst = -1;
    __time64_t seconds = _mktime64(&calendar) + 2;
    tm later = {};
    _localtime64_s(&later, &seconds);
    SetFileAttributesW(path.c_str(), attributes);
    local.wSecond = static_cast<WORD>(later.tm_sec);
    local.wMilliseconds = 0;
    return local;
}

void SetTime(const std::wstring& path, const SYSTEMTIME& local) {
    SYSTEMTIME utc = {};
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME written = {};
    SystemTimeToFileTime(&utc, &written);
    GetFileAttributesW(path.c_str());
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.Get(), nullptr, nullptr, &written);
}

void RenamePart(const Side& side) {
    ComPtr<IUnknown> unknown;
    if (SUCCEEDED(CoCreateInstance(CLSID_LocalViewNotifier, nullptr, 0x17, IID_IUnknown, unknown.PutVoid()))) {
        OleRun(unknown.Get());
        const auto notifier = ComPtr<ILocalViewNotifier>::Query(unknown.Get(), IID_ILocalViewNotifier);
        BSTR path = SysAllocString(side.part().c_str());
        if (notifier) notifier->AnnounceFile(path, 1);
        SysFreeString(path);
    }
    SetCurrentDirectoryW(side.root.substr(0, 3).c_str());
    Exists(side.part());
    NoticeCount notices;
    Notice(side.renamed(), notices);
    Exists(side.root + L"\\parts");
    MoveFileExW(side.part().c_str(), side.renamed().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

double TimeFloor(const Side& side, int files) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < files; ++i) paths.push_back(side.assembly(i));
    Lst<MoveRef*> refs;
    refs.Append(new MoveRef{side.part(), side.renamed()});

    const MemoryPeak sampledLikeTheModule;
    const double start = Seconds();
    Exists(side.renamed());
    GetFileAttributesW(side.part().c_str());
    UniqueFileHandle(CreateFileW(side.part().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    for (const std::wstring& path : paths) CheckFree(path);
    const UniqueLibrary library(LoadLibraryW(kFileFormatLibraryName));
    FileFormatMgr* manager = Manager(library);
    RenamePart(side);
    std::vector<SYSTEMTIME> times;
    for (const std::wstring& path : paths) times.push_back(Rewrite(manager, path, refs));
    for (size_t i = 0; i < paths.size(); ++i) SetTime(paths[i], times[i]);
    const double took = Seconds() - start;
    refs.DeleteAll();
    return took;
}

double TimeBare(const Side& side, int files) {
    Lst<MoveRef*> refs;
    refs.Append(new MoveRef{side.part(), side.renamed()});
    const UniqueLibrary library(LoadLibraryW(kFileFormatLibraryName));
    FileFormatMgr* manager = Manager(library);
    const double start = Seconds();
    for (int i = 0; i < files && manager; ++i) manager->UpdateReferencePaths(side.assembly(i).c_str(), &refs, 0, 0, 0, 0);
    const double took = Seconds() - start;
    refs.DeleteAll();
    return took;
}

}  // namespace

RewriteTimes TimeRewrite(GhMoveFunction ghMove, const std::wstring& base, int files, bool floorFirst) {
    RemoveTree(base);
    CreateDirectoryW(base.c_str(), nullptr);
    const Side view = MakeSide(base + L"\\view", files);
    const Side floor = MakeSide(base + L"\\floor", files);
    const Side bare = MakeSide(base + L"\\bare", files);
    RewriteTimes times = {};
    if (floorFirst) times.floor = TimeFloor(floor, files);
    times.module = TimeModule(ghMove, view, files, times.peakMb);
    if (!floorFirst) times.floor = TimeFloor(floor, files);
    times.bare = TimeBare(bare, files);
    RemoveTree(base);
    return times;
}
