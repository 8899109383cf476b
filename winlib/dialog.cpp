#include "winlib/dialog.h"

#include "winlib/win32_failure.h"

Dialog::~Dialog()
{
    if (window_ != nullptr && !modal_) {
        HWND window = window_;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

// The modal loop is our own, not DialogBoxParamW's: that one shows the dialog normally the first
// time its queue runs empty, which undoes a minimise the dialog made while it started (the
// "-HIDE" start). This one shows it then only when it is not visible yet.
INT_PTR Dialog::DoModal(HWND parent)
{
    modal_ = true;
    ended_ = false;
    made_ = false;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (window == nullptr) {
        RecordWin32Failure("CreateDialogParamW");
        return -1;
    }
    const bool ownerDisabled = parent != nullptr && !EnableWindow(parent, FALSE);  // it was enabled
    bool idleSeen = false;
    MSG message{};
    while (!ended_ && IsWindow(window)) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!idleSeen) {
                idleSeen = true;
                if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
                continue;
            }
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == -1) break;
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
        } else if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner first, so that it, not another program, is activated when the dialog goes.
    if (ownerDisabled) EnableWindow(parent, TRUE);
    if (IsWindow(window)) DestroyWindow(window);
    window_ = nullptr;
    return result_;
}

bool Dialog::Create(HWND parent)
{
    modal_ = false;
    made_ = false;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (window == nullptr) RecordWin32Failure("CreateDialogParamW");
    return window != nullptr;
}

void Dialog::End(INT_PTR result)
{
    result_ = result;
    if (window_ == nullptr) return;
    if (modal_) {
        ended_ = true;
        PostMessageW(window_, WM_NULL, 0, 0);  // wakes the loop
    } else {
        DestroyWindow(window_);
    }
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return OnInitDialog();
    // As dialogs on Windows do: OK (Enter on the default button) and Cancel (Esc, the close box,
    // which the system turns into IDCANCEL) end a modal dialog with their command's number.
    if (message == WM_COMMAND && modal_ && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        End(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR Dialog::SetResult(LRESULT result)
{
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        self->made_ = true;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    INT_PTR answer = FALSE;
    try {
        answer = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code; the message gets the default handling.
        answer = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    return answer;
}
