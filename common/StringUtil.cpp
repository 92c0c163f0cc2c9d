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

std::wstring ParentFolder(const std::wstring& path) {
    const size_t nameStart = static_cast<size_t>(PathFindFileNameW(path.c_str()) - path.c_str());
    const size_t separator = nameStart == 0 ? std::wstring::npos : path.rfind(L'\\', nameStart - 1);
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring StripTrailingBackslashes(std::wstring path) {
    const size_t keep = path.find_last_not_of(L'\\');
    path.erase(keep == std::wstring::npos ? 0 : keep + 1);
    return path;
}

namespace {

constexpr wchar_t kVerbatimPrefix[] = L"\\\\?\\";
constexpr size_t kVerbatimPrefixLength = 4;

bool IsDriveRootAt(const std::wstring& path, size_t at) {
    if (path.size() < at + 3) return false;
    const wchar_t letter = static_cast<wchar_t>(path[at] | 0x20);
    return letter >= L'a' && letter <= L'z' && path[at + 1] == L':' && path[at + 2] == L'\\';
}

// Where the drive letter stands, or npos.
size_t DriveAt(const std::wstring& path) {
    if (path.find(L'\0') != std::wstring::npos) return std::wstring::npos;
    if (IsDriveRootAt(path, 0)) return 0;
    if (path.compare(0, kVerbatimPrefixLength, kVerbatimPrefix) == 0 && IsDriveRootAt(path, kVerbatimPrefixLength)) {
        return kVerbatimPrefixLength;
    }
    return std::wstring::npos;
}

}  // namespace

bool IsFullLocalPath(const std::wstring& path) { return DriveAt(path) != std::wstring::npos; }

std::wstring DriveRootOf(const std::wstring& path) {
    const size_t at = DriveAt(path);
    return at == std::wstring::npos ? std::wstring() : path.substr(at, 3);
}
