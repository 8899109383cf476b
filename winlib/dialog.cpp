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

INT_PTR Dialog::DoModal(HWND parent)
{
    modal_ = true;
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                                           reinterpret_cast<LPARAM>(this));
    if (result == -1) RecordWin32Failure("DialogBoxParamW");
    window_ = nullptr;
    return result;
}

bool Dialog::Create(HWND parent)
{
    modal_ = false;
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
        EndDialog(window_, result);
    } else {
        DestroyWindow(window_);
    }
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) return OnInitDialog();
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
