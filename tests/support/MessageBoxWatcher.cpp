#include "MessageBoxWatcher.h"

#include <algorithm>

namespace {

std::wstring WindowText(HWND window) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(window, buffer, 4096);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK VisitChild(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<SeenBox*>(param);
    const std::wstring type = ClassOf(child);
    if (_wcsicmp(type.c_str(), L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon && icon == LoadIconW(nullptr, IDI_HAND)) found->errorIcon = true;
    }
    if (_wcsicmp(type.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
        found->buttons.push_back(GetDlgCtrlID(child));
    }
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer, const wchar_t* windowClass)
    : MessageBoxWatcher([answer](const SeenBox&, size_t) { return answer; }, windowClass) {}

MessageBoxWatcher::MessageBoxWatcher(Decide decide, const wchar_t* windowClass)
    : decide_(std::move(decide)), windowClass_(windowClass), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        EnumWindows(&MessageBoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
        Sleep(5);
    }
}

BOOL CALLBACK MessageBoxWatcher::Visit(HWND window, LPARAM param) {
    auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || ClassOf(window) != self->windowClass_ || !IsWindowVisible(window)) {
        return TRUE;
    }
    std::lock_guard<std::mutex> lock(self->mutex_);
    if (std::find(self->answered_.begin(), self->answered_.end(), window) != self->answered_.end()) return TRUE;
    SeenBox box{WindowText(window), WindowText(GetDlgItem(window, 0xFFFF)), false, GetWindow(window, GW_OWNER), {}};
    EnumChildWindows(window, VisitChild, reinterpret_cast<LPARAM>(&box));
    self->boxes_.push_back(box);
    self->answered_.push_back(window);
    const int answer = self->decide_(box, self->boxes_.size() - 1);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    return TRUE;
}

ParentWindow::ParentWindow()
    : hwnd_(CreateWindowExW(0, L"STATIC", L"test host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                            nullptr)) {}

ParentWindow::~ParentWindow() { DestroyWindow(hwnd_); }
