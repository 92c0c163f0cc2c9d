// Records the shell change notices this process sends, as a registered shell
// listener receives them. Notices reach a window of the thread that made the
// observer before the sender's flushed call returns, so a module called on
// that thread has delivered every notice by the time it returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ShellNotice {
    long event = 0;
    // Per ID list: the place below the observed root, read back from the
    // list's simple items ("\Q\A"; "" for the root), "(null)" for no list,
    // "(elsewhere)" for a list outside the root.
    std::vector<std::wstring> places;
};

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

// The name of a simple file-system item as the module writes it: ANSI, or
// UTF-8 after the bytes FF FE.
std::wstring SimpleItemName(const uint8_t* item);
