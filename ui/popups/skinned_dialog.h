#pragma once
// A dialog drawn entirely from skin images: its paint and captures of it (WM_PRINTCLIENT) run the
// same drawing, and the background is never erased (the images cover it). The pointer messages
// go to typed handlers.
#include <windows.h>
#include <windowsx.h>

#include "winlib/dialog.h"

class SkinnedDialog : public Dialog {
public:
    using Dialog::Dialog;
    // Draws the whole client area onto dc.
    virtual void PaintTo(HDC dc) = 0;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        switch (message) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            PaintTo(BeginPaint(Handle(), &paint));
            EndPaint(Handle(), &paint);
            AfterPaint();
            return TRUE;
        }
        case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return TRUE;
        case WM_ERASEBKGND: return SetResult(TRUE);
        case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), point); return TRUE;
        case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), point); return TRUE;
        case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), point); return TRUE;
        default: return FALSE;
        }
    }
    // After a paint has ended.
    virtual void AfterPaint() {}
    virtual void OnMouseMove(UINT, POINT) {}
    virtual void OnLButtonDown(UINT, POINT) {}
    virtual void OnLButtonUp(UINT, POINT) {}
};
