#include "ShellNoticeObserver.h"

#include "common/ComPtr.h"
#include "common/Handles.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <stdexcept>

namespace {

constexpr UINT kNoticeMessage = WM_APP + 17;
constexpr const wchar_t* kWindowClass = L"GhShellNoticeObserver";
constexpr size_t kNameOffset = 14;

std::vector<uint8_t> ListBytes(const ITEMIDLIST* list) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(list);
    return std::vector<uint8_t>(bytes, bytes + ILGetSize(list) - sizeof(USHORT));
}

std::wstring Decode(UINT codePage, const char* text, int length) {
    std::wstring out(static_cast<size_t>(length), L'\0');
    const int size = MultiByteToWideChar(codePage, 0, text, length, length ? &out[0] : nullptr, length);
    out.resize(static_cast<size_t>(size > 0 ? size : 0));
    return out;
}

}  // namespace

std::wstring SimpleItemName(const uint8_t* item) {
    const char* name = reinterpret_cast<const char*>(item + kNameOffset);
    const int length = static_cast<int>(std::strlen(name));
    if (length >= 2 && static_cast<uint8_t>(name[0]) == 0xFF && static_cast<uint8_t>(name[1]) == 0xFE) {
        return Decode(CP_UTF8, name + 2, length - 2);
    }
    return Decode(CP_THREAD_ACP, name, length);
}

ShellNoticeObserver::ShellNoticeObserver(const std::wstring& root) : root_(root) {
    ComPtr<IShellFolder> desktop;
    UniqueIdList rootList;
    std::wstring name = root;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, rootList.put(), nullptr))) {
        throw std::runtime_error("the observed root cannot be parsed");
    }
    for (auto item = rootList.get(); item->mkid.cb; item = ILGetNext(item)) ++rootItemCount_;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Receive;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier observer registered it
    window_ = CreateWindowW(kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window_) throw std::runtime_error("no observer window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    UniqueIdList everything;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, everything.put());
    SHChangeNotifyEntry entry = {everything.get(), TRUE};
    registration_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                           SHCNE_ALLEVENTS, kNoticeMessage, 1, &entry);
    if (!registration_) throw std::runtime_error("shell notices cannot be observed");
}

ShellNoticeObserver::~ShellNoticeObserver() {
    if (registration_) SHChangeNotifyDeregister(registration_);
    if (window_) DestroyWindow(window_);
}

const std::vector<ShellNotice>& ShellNoticeObserver::Notices() {
    MSG message;
    while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return notices_;
}

LRESULT CALLBACK ShellNoticeObserver::Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ShellNoticeObserver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != kNoticeMessage || !self) return DefWindowProcW(window, message, wParam, lParam);
    PIDLIST_ABSOLUTE* lists = nullptr;
    LONG event = 0;
    HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &lists, &event);
    if (!lock) return 0;
    ShellNotice notice;
    notice.event = event;
    for (int i = 0; i < 2; ++i) notice.places.push_back(self->PlaceOf(lists ? lists[i] : nullptr));
    // A one-list event has no second place.
    if (notice.places[1] == L"(null)") notice.places.pop_back();
    self->notices_.push_back(notice);
    SHChangeNotification_Unlock(lock);
    return 0;
}

// The shell's items of the root carry the folders' times, so the root part
// is recognised by the path it names, not by its bytes.
std::wstring ShellNoticeObserver::PlaceOf(const void* list) const {
    if (!list) return L"(null)";
    const std::vector<uint8_t> bytes = ListBytes(static_cast<const ITEMIDLIST*>(list));
    size_t at = 0;
    for (size_t item = 0; item < rootItemCount_ && at + sizeof(USHORT) <= bytes.size(); ++item) {
        USHORT size = 0;
        std::memcpy(&size, &bytes[at], sizeof(size));
        if (size == 0) return L"(elsewhere)";
        at += size;
    }
    std::vector<uint8_t> rootPart(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size())));
    rootPart.resize(rootPart.size() + sizeof(USHORT), 0);
    wchar_t named[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(rootPart.data()), named) ||
        _wcsicmp(named, root_.c_str()) != 0) {
        return L"(elsewhere)";
    }
    std::wstring place;
    while (at + sizeof(USHORT) <= bytes.size()) {
        USHORT size = 0;
        std::memcpy(&size, &bytes[at], sizeof(size));
        if (size == 0 || at + size > bytes.size()) break;
        place += L"\\" + SimpleItemName(&bytes[at]);
        at += size;
    }
    return place;
}
