#include "localview/FolderListings.h"

#include "common/Handles.h"

#include <cwchar>

const std::vector<FolderListings::Entry>& FolderListings::Of(const std::wstring& folder) {
    const auto [found, added] = listed_.try_emplace(folder);
    std::vector<Entry>& entries = found->second;
    if (!added) return entries;
    WIN32_FIND_DATAW data = {};
    const UniqueFindHandle search(FindFirstFileW((folder + L"\\*.*").c_str(), &data));
    if (!search) return entries;
    do {
        if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search.Get(), &data));
    return entries;
}
