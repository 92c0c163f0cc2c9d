#include "localview/EnsureDirectory.h"

#include "GhMove.h"
#include "common/HResult.h"
#include "common/PathExists.h"
#include "environment/ServicePipeClient.h"

#include <iterator>
#include <vector>

namespace {

constexpr wchar_t kVerbatimPrefix[] = L"\\\\?\\";

// "C:", "C:\a", "C:\a\b" for "\C:\a\\b\": runs of backslashes separate once,
// a trailing one adds nothing. A path given verbatim ("\\?\C:\a") keeps that
// prefix in front of each: without it, "?" would be taken for a folder.
std::vector<std::wstring> FolderPrefixes(const std::wstring& path) {
    std::vector<std::wstring> prefixes;
    const bool verbatim = path.compare(0, std::size(kVerbatimPrefix) - 1, kVerbatimPrefix) == 0;
    const std::wstring lead = verbatim ? kVerbatimPrefix : L"";
    std::wstring prefix = lead;
    size_t at = path.find_first_not_of(L'\\', lead.size());
    while (at != std::wstring::npos) {
        const size_t end = path.find(L'\\', at);
        if (prefix.size() > lead.size()) prefix += L'\\';
        prefix.append(path, at, end == std::wstring::npos ? std::wstring::npos : end - at);
        prefixes.push_back(prefix);
        at = end == std::wstring::npos ? end : path.find_first_not_of(L'\\', end);
    }
    return prefixes;
}

HRESULT CreateFailure(DWORD error) { return error == 0 ? E_QOR_IO_ERROR : HResultFromWin32(error); }

}  // namespace

HRESULT EnsureDirectory(const std::wstring& path) {
    const std::vector<std::wstring> prefixes = FolderPrefixes(path);
    // Every folder above an existing path exists too, so the walk can start
    // below the deepest existing prefix: one test for a folder that is there,
    // where testing every prefix from the top would cost one per level.
    size_t missing = prefixes.size();
    while (missing > 0 && !PathExists(prefixes[missing - 1])) --missing;

    bool created = false;
    for (; missing < prefixes.size(); ++missing) {
        const std::wstring& folder = prefixes[missing];
        NotifyClientService(folder);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            created = true;
            continue;
        }
        const DWORD error = GetLastError();
        if (IsFolder(folder)) continue;  // another process made it meanwhile
        return CreateFailure(error);
    }
    return created ? S_OK : S_FALSE;
}
