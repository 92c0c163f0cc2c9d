// Watches for dialog boxes of this process from another thread, records what
// each one showed and answers it like a user pressing a button.
#pragma once

#include <windows.h>

#include <atomic>
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
    // `answer`: the control id pressed on every box.
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenBox> Boxes();

private:
    void Watch();
    static BOOL CALLBACK Visit(HWND window, LPARAM self);

    const int answer_;
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
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};
