#include "common/StringUtil.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>

std::wstring LowerCase(std::wstring text) {
    if (!text.empty()) _wcslwr_s(&text[0], text.size() + 1);
    return text;
}

std::wstring FileNamePart(const std::wstring& path) {
    return PathFindFileNameW(path.c_str());
}

std::wstring StripTrailingBackslashes(std::wstring path) {
    const size_t keep = path.find_last_not_of(L'\\');
    path.erase(keep == std::wstring::npos ? 0 : keep + 1);
    return path;
}
