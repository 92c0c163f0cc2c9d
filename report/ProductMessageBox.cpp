#include "report/ProductMessageBox.h"

#include "common/Handles.h"
#include "common/ProcAddress.h"
#include "interfaces/Plinth.h"

#include <cwchar>
#include <optional>

namespace {

// The registry value is read into a zero-filled buffer of this size, and the
// library's full path must fit in one as well.
constexpr size_t kBufferChars = 0x410 / sizeof(wchar_t);

// The library's full path; nothing when the folder is not registered as a
// non-empty REG_SZ or the file name does not fit behind it in the buffer.
std::optional<std::wstring> LibraryPath() {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlinthKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return {};
    wchar_t buffer[kBufferChars] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(buffer);
    const LONG read = RegQueryValueExW(key.Get(), kPlinthLocationValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &bytes);
    key.Reset();
    if (read != ERROR_SUCCESS || type != REG_SZ || buffer[0] == L'\0') return {};
    // A value that fills the buffer arrives without its terminator.
    const size_t length = wcsnlen(buffer, kBufferChars);
    if (length == kBufferChars) return {};
    std::wstring path(buffer, length);
    if (path.back() != L'\\') path += L'\\';
    path += kPlinthLibraryName;
    if (path.size() >= kBufferChars) return {};
    return path;
}

}  // namespace

int ShowProductMessageBox(const std::wstring& caption, const std::wstring& text, HWND parent) {
    const std::optional<std::wstring> path = LibraryPath();
    if (!path) return 0;
    UniqueLibrary library(LoadLibraryW(path->c_str()));
    if (!library) return 0;
    const auto show = ProcAddress<PlinthFunction>(library.Get(), kPlinthExportName);
    if (!show) return 0;
    return show(parent, caption.c_str(), text.c_str(), kPlinthQuestionStyle, kPlinthRetryButtons, 0);
}
