// What a folder move must do, path by path:
// - planning: one look at the target, one listing of every folder;
// - the writable check: each path's attributes once, each file opened for
//   writing without sharing and closed;
// - the notifier: one announcement per listed file (a file is listed once
//   per folder above it that moves, and once more by the conflict scan), one
//   for all listed folders, and the shell told that the moved folder goes;
// - each file: its existence, the service notice, the move; each new folder:
//   the test that finds it missing, the notice, the creation; each listed
//   folder: its existence and its target's;
// - each listed folder, deepest first: the notice and the removal, and the
//   existence test after the removal of a folder already gone;
// - the shell told that the folder is at its new place.
#include "MoveFloor.h"

#include "BenchClock.h"
#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "common/PidlPtr.h"
#include "common/Variant.h"
#include "interfaces/LocalViewNotifier.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

void ListFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data = {};
    const UniqueFindHandle search(FindFirstFileW((folder + L"\\*.*").c_str(), &data));
    if (!search) return;
    while (FindNextFileW(search.Get(), &data)) {
    }
}

void CheckWritable(const std::wstring& moved, const Tree& tree) {
    for (const TreeFolder& folder : tree.folders) Exists(Below(moved, folder.path));
    for (const TreeFile& file : tree.files) {
        const std::wstring path = Below(moved, file.path);
        Exists(path);
        UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
    }
}

// The shell's list of the root, and one simple item per name below it.
NotifyByPathNs::PidlPtr IdList(const std::wstring& root, const std::wstring& relative) {
    ComPtr<IShellFolder> desktop;
    NotifyByPathNs::PidlPtr list;
    if (FAILED(SHGetDesktopFolder(desktop.Put()))) return list;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, Bstr(root).Get(), nullptr, list.Put(), nullptr))) {
        return list;
    }
    for (size_t at = 1; list && at <= relative.size();) {
        const size_t end = std::min(relative.find(L'\\', at), relative.size());
        const std::wstring name = relative.substr(at, end - at);
        at = end + 1;
        const size_t size = 14 + name.size() + 1 + 4;
        NotifyByPathNs::PidlPtr item(static_cast<ITEMIDLIST*>(CoTaskMemAlloc(size + 2)));
        auto* bytes = reinterpret_cast<unsigned char*>(item.Get());
        std::memset(bytes, 0, size + 2);
        bytes[0] = static_cast<unsigned char>(size & 0xFF);
        bytes[1] = static_cast<unsigned char>(size >> 8);
        bytes[2] = 0x32;
        WideCharToMultiByte(CP_THREAD_ACP, 0, name.c_str(), -1, reinterpret_cast<char*>(bytes + 14),
                            static_cast<int>(name.size() + 1), nullptr, nullptr);
        list = NotifyByPathNs::PidlPtr(ILCombine(list.Get(), item.Get()));
    }
    return list;
}

void TellShell(const FloorMove& move, const std::wstring& folder, long event) {
    const NotifyByPathNs::PidlPtr list = IdList(move.localRoot, folder.substr(move.localRoot.size()));
    if (list) SHChangeNotify(event, SHCNF_IDLIST | SHCNF_FLUSH, list.Get(), nullptr);
}

void Announce(const FloorMove& move, const Tree& tree) {
    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(CLSID_LocalViewNotifier, nullptr, 0x17, IID_IUnknown, unknown.PutVoid())) ||
        FAILED(OleRun(unknown.Get()))) {
        return;
    }
    const auto files = ComPtr<ILocalViewNotifier>::Query(unknown.Get(), IID_ILocalViewNotifier);
    const auto folders = ComPtr<ILocalViewFolderNotifier>::Query(unknown.Get(), IID_ILocalViewFolderNotifier);
    for (const TreeFile& file : tree.files) {
        const Bstr path(Below(move.oldFolder, file.path));
        for (int copy = 0; copy < FileCopies(file.folderDepth); ++copy) files->AnnounceFile(path.Get(), 1);
    }
    TellShell(move, move.oldFolder, SHCNE_RMDIR);
    long listed = 0;
    for (const TreeFolder& folder : tree.folders) listed += FolderCopies(folder.depth);
    SAFEARRAY* paths = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(listed));
    auto* elements = static_cast<BSTR*>(paths->pvData);
    for (const TreeFolder& folder : tree.folders) {
        for (int copy = 0; copy < FolderCopies(folder.depth); ++copy) {
            *elements++ = Bstr(Below(move.oldFolder, folder.path)).Detach();
        }
    }
    UniqueVariant list;
    list.TakeArray(VT_BSTR, paths);
    folders->AnnounceFolders(1, 0, list.Get());
}

void MoveFilesAndFolders(const FloorMove& move, const Tree& tree, NoticeCount& notices) {
    SetCurrentDirectoryW(move.localRoot.substr(0, 3).c_str());
    for (const TreeFolder& folder : tree.folders) {
        const std::wstring made = Below(move.newFolder, folder.path);
        Exists(made);
        Notice(made, notices);
        CreateDirectoryW(made.c_str(), nullptr);
    }
    for (const TreeFile& file : tree.files) {
        const std::wstring from = Below(move.oldFolder, file.path), to = Below(move.newFolder, file.path);
        Exists(from);
        Notice(to, notices);
        MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    for (const TreeFolder& folder : tree.folders) {
        for (int copy = 0; copy < FolderCopies(folder.depth); ++copy) {
            Exists(Below(move.oldFolder, folder.path));
            Exists(Below(move.newFolder, folder.path));
        }
    }
    for (auto folder = tree.folders.rbegin(); folder != tree.folders.rend(); ++folder) {
        const std::wstring old = Below(move.oldFolder, folder->path);
        for (int copy = 0; copy < FolderCopies(folder->depth); ++copy) {
            Notice(old, notices);
            if (!RemoveDirectoryW(old.c_str())) Exists(old);
        }
    }
}

}  // namespace

FloorRun MoveAtFloor(const FloorMove& move, const Tree& tree) {
    FloorRun run;
    Exists(move.newFolder);
    for (const TreeFolder& folder : tree.folders) ListFolder(Below(move.oldFolder, folder.path));
    CheckWritable(move.oldFolder, tree);
    run.checked = Seconds();
    Announce(move, tree);
    MoveFilesAndFolders(move, tree, run.notices);
    TellShell(move, move.newFolder, SHCNE_MKDIR);
    return run;
}
