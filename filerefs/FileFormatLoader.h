// FileFormatLoader: owns the file-format manager library for one operation.
#pragma once

#include "common/Bstr.h"
#include "common/Handles.h"

#include <optional>
#include <string>

class FileFormatMgr;

class FileFormatLoader {
public:
    FileFormatLoader() = default;
    FileFormatLoader(const FileFormatLoader&) = delete;
    FileFormatLoader& operator=(const FileFormatLoader&) = delete;
    virtual ~FileFormatLoader() = default;  // the library is unloaded; the manager is never released

    // The library lies beside this module.
    bool LocateLibrary();
    // The same rule on a given module path.
    bool LocateLibrary(const wchar_t* modulePath);
    // Loads the library once and returns its manager, or null.
    FileFormatMgr* GetManager();

    std::wstring LibraryPath() const { return libraryPath_.Text(); }

private:
    UniqueLibrary module_;
    FileFormatMgr* manager_ = nullptr;
    SharedBstr libraryPath_;
};

// The library's path in the folder of `modulePath`, built in a buffer of
// MAX_PATH + 1 characters; nothing when the path has no backslash or the name
// does not fit.
std::optional<std::wstring> LibraryPathBeside(const wchar_t* modulePath);
