#include "installation/standin/ModalWindow.h"

namespace standin {

ModalWindow::ModalWindow(HMODULE module, const wchar_t* windowClass, const std::wstring& caption, HWND owner,
                         int width, int height)
    : module_(module), windowClass_(windowClass), owner_(owner),
      font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = &ModalWindow::Procedure;
    type.hInstance = module;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = windowClass;
    RegisterClassExW(&type);
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, windowClass, caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              80, 80, width, height, owner, nullptr, module, this);
}

// The class goes with the window: a library that is unloaded must not leave
// a class behind whose procedure is gone.
ModalWindow::~ModalWindow() {
    if (window_) DestroyWindow(window_);
    UnregisterClassW(windowClass_, module_);
}

HWND ModalWindow::AddControl(const wchar_t* type, const std::wstring& text, DWORD style, int id, int x, int y,
                             int width, int height) {
    HWND control = CreateWindowExW(0, type, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

int ModalWindow::Run() {
    if (!window_) return IDCANCEL;
    const bool ownerWasEnabled = owner_ && !EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    OnShown();
    MSG message;
    while (!done_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
            break;
        }
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (ownerWasEnabled) EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
    return done_ ? result_ : IDCANCEL;
}

void ModalWindow::End(int id) {
    result_ = id;
    done_ = true;
}

LRESULT CALLBACK ModalWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ModalWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
        self->End(LOWORD(wparam));
        return 0;
    }
    if (self && message == WM_CLOSE) {
        self->End(IDCANCEL);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
