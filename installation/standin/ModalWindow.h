// A modal window of a stand-in: a top-level window of its own class with
// child controls, disabling its owner until a button press ends it.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

class ModalWindow {
public:
    ModalWindow(HMODULE module, const wchar_t* windowClass, const std::wstring& caption, HWND owner, int width,
                int height);
    virtual ~ModalWindow();
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    HWND Handle() const { return window_; }
    HWND AddControl(const wchar_t* type, const std::wstring& text, DWORD style, int id, int x, int y, int width,
                    int height);
    // Shows the window and pumps messages until a button (or closing the
    // window, which counts as IDCANCEL) ends it; returns that button's id.
    int Run();
    // Ends the modal loop as if `id` had been pressed.
    void End(int id);

protected:
    // Called once the window is shown and painted.
    virtual void OnShown() {}

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HMODULE module_;
    const wchar_t* windowClass_;
    HWND owner_;
    HWND window_ = nullptr;
    HFONT font_;
    int result_ = 0;
    bool done_ = false;
};

}  // namespace standin
