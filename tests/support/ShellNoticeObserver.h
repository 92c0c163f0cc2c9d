// Records the shell change notices this process sends, as a registered shell
// listener receives them. Notices reach a window of the thread that made the
// observer before the sender's flushed call returns, so a module called on
// that thread has delivered every notice by the time it returns.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The event, and per ID list the place below the observed root, read back
// from the list's simple items ("\Q\A"; "" for the root), "(null)" for a
// missing first list, "(elsewhere)" for a list outside the root.
using ShellNotice = std::pair<long, std::vector<std::wstring>>;

class ShellNoticeObserver {
public:
    // `root` must exist: the shell parses it.
    explicit ShellNoticeObserver(const std::wstring& root);
    ~ShellNoticeObserver();
    ShellNoticeObserver(const ShellNoticeObserver&) = delete;
    ShellNoticeObserver& operator=(const ShellNoticeObserver&) = delete;

    const std::vector<ShellNotice>& Notices();

private:
    static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::wstring PlaceOf(const void* list) const;

    std::wstring root_;
    size_t rootItemCount_ = 0;  // items of the shell's own list of the root
    HWND window_ = nullptr;
    ULONG registration_ = 0;
    std::vector<ShellNotice> notices_;
};
