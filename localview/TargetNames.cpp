// The names a file or folder may be given in the local view.
#include "localview/TargetNames.h"

#include <cwchar>

namespace {

constexpr const wchar_t* kReservedName = L"desktop.ini";

bool IsForbiddenCharacter(wchar_t c) {
    return c != L'\0' && wcschr(L"/\\:*?\"<>|\r\n\v", c) != nullptr;
}

// The name the file system gives an item: Windows drops the periods and
// spaces at the end of a path's last component.
std::wstring StoredName(const std::wstring& name) {
    const size_t keep = name.find_last_not_of(L". ");
    return keep == std::wstring::npos ? std::wstring() : name.substr(0, keep + 1);
}

// Besides the character rules, a name is refused that the file system would
// store as the reserved name or as nothing at all ("desktop.ini.", "   ",
// ". ."), and one with a zero character inside, which would end it early for
// every file operation and for the rules too.
bool Acceptable(const std::wstring& name) {
    if (name.empty()) return true;
    if (name.find(L'\0') != std::wstring::npos) return false;
    const std::wstring stored = StoredName(name);
    return !stored.empty() && _wcsicmp(stored.c_str(), kReservedName) != 0 && IsValidFileName(name.c_str());
}

}  // namespace

bool IsValidFileName(const wchar_t* name) {
    size_t periods = 0;
    size_t others = 0;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c == L'.') {
            ++periods;
            continue;
        }
        if (IsForbiddenCharacter(*c)) return false;
        ++others;
    }
    return !(periods > 0 && others == 0);
}

bool CheckTargetName(const std::wstring& name, const std::wstring& oldPath, const std::wstring& newPath,
                     MoveErrors& errors) {
    if (Acceptable(name)) return true;
    errors.Add(oldPath, newPath, E_QOR_INVALID_NAME, name);
    return false;
}
