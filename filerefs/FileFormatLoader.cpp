#include "filerefs/FileFormatLoader.h"

#include "common/ProcAddress.h"
#include "interfaces/FileFormatMgr.h"
#include "module/ModuleStartup.h"

#include <cwchar>

std::optional<std::wstring> LibraryPathBeside(const wchar_t* modulePath) {
    constexpr size_t kBufferLength = MAX_PATH + 1;
    const size_t length = wcsnlen(modulePath, kBufferLength);
    if (length >= kBufferLength) return std::nullopt;  // a cut module path names no folder
    wchar_t buffer[kBufferLength] = {};
    wmemcpy(buffer, modulePath, length);
    wchar_t* slash = wcsrchr(buffer, L'\\');
    if (!slash) return std::nullopt;
    const size_t room = kBufferLength - static_cast<size_t>(slash - buffer);
    if (wcslen(L"\\") + wcslen(kFileFormatLibraryName) + 1 > room) return std::nullopt;
    wcscpy_s(slash, room, L"\\");
    wcscat_s(slash, room, kFileFormatLibraryName);
    return std::wstring(buffer);
}

bool FileFormatLoader::LocateLibrary() {
    wchar_t modulePath[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(ModuleHandle(), modulePath, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return false;  // failed, or cut to the buffer
    return LocateLibrary(modulePath);
}

bool FileFormatLoader::LocateLibrary(const wchar_t* modulePath) {
    const std::optional<std::wstring> path = LibraryPathBeside(modulePath);
    if (!path) return false;
    libraryPath_ = SharedBstr(*path);
    return true;
}

FileFormatMgr* FileFormatLoader::GetManager() {
    if (manager_) return manager_;
    if (libraryPath_.IsNull()) return nullptr;
    module_.Reset(LoadLibraryW(libraryPath_.Get()));
    if (!module_) return nullptr;
    const auto getManager = ProcAddress<GetFileFormatMgrFunction>(module_.Get(), kFileFormatExportName);
    manager_ = getManager ? getManager() : nullptr;
    if (!manager_) module_.Reset();
    return manager_;
}
