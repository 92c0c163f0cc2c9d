#include "ShellNoticeObserver.h"

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

USHORT ItemSize(const uint8_t* item) {
    USHORT size = 0;
    std::memcpy(&size, item, sizeof(size));
    return size;
}

// The name of a simple file-system item as the module writes it: ANSI, or
// UTF-8 after the bytes FF FE.
std::wstring SimpleItemName(const uint8_t* item) {
    std::string name(reinterpret_cast<const char*>(item + kNameOffset));
    const bool utf8 = name.compare(0, 2, "\xFF\xFE") == 0;
    if (utf8) name.erase(0, 2);
    std::wstring out(name.size(), L'\0');
    const int size = MultiByteToWideChar(utf8 ? CP_UTF8 : CP_THREAD_ACP, 0, name.data(), static_cast<int>(name.size()),
                                         &out[0], static_cast<int>(out.size()));
    out.resize(static_cast<size_t>(std::max(size, 0)));
    return out;
}

}  // namespace

ShellNoticeObserver::ShellNoticeObserver(const std::wstring& root) : root_(root) {
    const UniqueIdList rootList(ILCreateFromPathW(root.c_str()));
    if (!rootList) throw std::runtime_error("the observed root cannot be parsed");
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
    ShellNotice notice{event, {}};
    notice.second.push_back(self->PlaceOf(lists ? lists[0] : nullptr));
    if (lists && lists[1]) notice.second.push_back(self->PlaceOf(lists[1]));  // a one-list event has no second place
    self->notices_.push_back(notice);
    SHChangeNotification_Unlock(lock);
    return 0;
}

// The shell's items of the root carry the folders' times, so the root part
// is recognised by the path it names, not by its bytes.
std::wstring ShellNoticeObserver::PlaceOf(const void* list) const {
    if (!list) return L"(null)";
    const auto* start = reinterpret_cast<const uint8_t*>(list);
    const uint8_t* at = start;
    for (size_t item = 0; item < rootItemCount_; ++item) {
        if (!ItemSize(at)) return L"(elsewhere)";
        at += ItemSize(at);
    }
    std::vector<uint8_t> rootPart(start, at);
    rootPart.resize(rootPart.size() + sizeof(USHORT), 0);
    wchar_t named[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(rootPart.data()), named) ||
        _wcsicmp(named, root_.c_str()) != 0) {
        return L"(elsewhere)";
    }
    std::wstring place;
    for (; ItemSize(at); at += ItemSize(at)) place += L"\\" + SimpleItemName(at);
    return place;
}
