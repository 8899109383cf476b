#pragma once
// A dialog made from a template of the program's resources, run modally or modeless. One dialog
// procedure serves every kind: it keeps `this` in the dialog's user data from WM_INITDIALOG on and
// hands each message to the virtual OnMessage, which answers with a plain switch. Returning FALSE
// from OnMessage leaves a message to the system's default handling; a message whose answer is a
// value (not TRUE/FALSE) sets it with SetResult.
#include <windows.h>

#include "winlib/window_view.h"

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns its result, or -1 when it could not be created.
    INT_PTR DoModal(HWND parent = nullptr);
    // Whether the system made the window of the last DoModal or Create (its WM_INITDIALOG came),
    // even if it was gone again before the call returned.
    bool WasMade() const { return made_; }
    // Creates the dialog modeless; it is destroyed by End() or with this object.
    bool Create(HWND parent = nullptr);

    // Ends the dialog with a result: a modal one leaves its loop, a modeless one is destroyed.
    void End(INT_PTR result);
    HWND Handle() const { return window_; }
    WindowView View() const { return WindowView(window_); }
    bool IsModal() const { return modal_; }
    // The result End() was given, -1 before.
    INT_PTR Result() const { return result_; }

protected:
    // Return TRUE for a message handled, FALSE for the default handling. A modal dialog that
    // leaves IDOK and IDCANCEL to this one ends with them; one that answers them itself (or never
    // calls this one) decides alone.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog() { return TRUE; }

    // The answer of a message whose result is not TRUE/FALSE; returns TRUE for OnMessage to return.
    INT_PTR SetResult(LRESULT result);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND window_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;  // a modal dialog's End() was called: its loop stops
    bool made_ = false;
    INT_PTR result_ = -1;
};
