// Records the dialog boxes of this process (message boxes unless told another window class) from another thread,
// and answers each like a user pressing a button.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool errorIcon = false;
    HWND owner = nullptr;
    std::vector<int> buttons;  // control ids of the visible push buttons
};

class MessageBoxWatcher {
public:
    // Acts like the user on the box numbered `index` (from 0): may do what a
    // user does first (close another program, say), then names the button.
    using Decide = std::function<int(const SeenBox& box, size_t index)>;

    // `answer`: the control id pressed on every box of `windowClass`.
    explicit MessageBoxWatcher(int answer = IDOK, const wchar_t* windowClass = L"#32770");
    MessageBoxWatcher(Decide decide, const wchar_t* windowClass);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenBox> Boxes();

private:
    void Watch();
    static BOOL CALLBACK Visit(HWND window, LPARAM self);

    const Decide decide_;
    const std::wstring windowClass_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> answered_;
    std::thread thread_;
};

// A hidden top-level window to own the boxes of a test.
class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};
