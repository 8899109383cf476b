// The main window's message table: one switch that unpacks each message for its handler.
#include <windowsx.h>

#include "ui/popups/popup_openers.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window.h"
#include "ui/window/window_messages.h"
#include "winlib/paint_dc.h"

namespace {
POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The messages whose handlers write the settings, config.ini, the macro files or the mouse: the
// pointer's presses and releases, menu and control commands, the pop-ups' choices, the tray and
// power broadcasts.
bool ActsOnSettings(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_COMMAND:
    case WM_TRAY_NOTIFY:
    case WM_POWERBROADCAST:
    case WM_PROFILE_CHOSEN:
    case WM_MACROGROUP_CHOSEN:
    case WM_MACROFILE_COMMAND:
    case WM_LIGHTMODE_CHOSEN:
    case WM_LIGHTCOLOUR_CHOSEN:
    case WM_ITEMEDIT_DONE:
        return true;
    default:
        return false;
    }
}
}  // namespace

INT_PTR CTEV_KestraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A start-up message or the end's own message box runs a message loop of its own: what it
    // delivers then finds no loaded settings, or a window on its way out.
    if (!Live() && ActsOnSettings(message)) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_SYSCOMMAND: {
        bool handled = true;
        OnSysCommand(static_cast<UINT>(wParam), lParam, handled);
        return handled ? TRUE : FALSE;
    }
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_TIMER:
        if (wParam != kRepaintTimer) return FALSE;
        KillTimer(Handle(), kRepaintTimer);
        View().Invalidate();
        return TRUE;
    case WM_PRINTCLIENT:
        // Captures of the window (tests, PrintWindow) get what a paint would draw.
        PaintWindow(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        return SetResult(OnEraseBkgnd(reinterpret_cast<HDC>(wParam)));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A null brush leaves the colours to the default handling.
        return reinterpret_cast<INT_PTR>(
            OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_TRAY_NOTIFY:
        return SetResult(OnTrayNotify(wParam, lParam));
    case WM_DEVICECHANGE:
        return SetResult(OnDeviceChange(static_cast<UINT>(wParam), lParam));
    case WM_POWERBROADCAST:
        OnPowerBroadcast();
        return FALSE;  // then the default handling
    case WM_DRAWITEM:
        OnDrawItem(static_cast<UINT>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem(static_cast<UINT>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_PROFILE_CHOSEN:
        return SetResult(OnProfileSelected(wParam, lParam));
    case WM_MACROGROUP_CHOSEN:
        return SetResult(OnMacroGroupChosen(wParam, lParam));
    case WM_OPEN_MACRO_STEPPED:
        return SetResult(OnOpenMacroStepped(wParam, lParam));
    case WM_DEVICE_WRITE_FAILED:
        return SetResult(OnDeviceWriteFailed(wParam, lParam));
    case WM_MACROFILE_COMMAND:
        return SetResult(OnMacroFileCommand(wParam, lParam));
    case WM_LIGHTMODE_CHOSEN:
    case WM_LIGHTCOLOUR_CHOSEN:
        return SetResult(OnLightParamChosen(wParam, lParam));
    case WM_ITEMEDIT_DONE:
        return SetResult(OnMacroListEditEnd(wParam, lParam));
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

bool CTEV_KestraDlg::OnCommand(UINT command, UINT notification)
{
    switch (command) {
    case ID_EXIT_DRIVER:
    case ID_EXIT_DRIVER_ES:
        OnClose();
        return true;
    case ID_SHOW_WINDOW:
    case ID_SHOW_WINDOW_ES:
        OnMenuShowWindow();
        return true;
    case IDC_GROUP_NAME_EDIT:
        if (notification == EN_CHANGE) OnGroupNameChange();
        return true;
    case IDC_MACRO_LIST:
        if (notification == LBN_SELCHANGE) OnMacroListSelChange();
        return true;
    case IDC_MACRO_NAME_EDIT:
        if (notification == EN_CHANGE) OnMacroNameChange();
        return true;
    case IDC_REPEAT_COUNT_EDIT:
        if (notification == EN_CHANGE) OnRepeatCountChange();
        return true;
    case IDC_EVENT_LIST:
        if (notification == LBN_SELCHANGE) OnEventListSelChange();
        return true;
    case IDC_LIGHT_LIST:
        if (notification == LBN_SELCHANGE) OnLightListSelChange();
        if (notification == LBN_DBLCLK) OnLightListDblClk();
        return true;
    case ID_INSERT_BEFORE_LEFT_DOWN: OnInsertBeforeLeftDown(); return true;
    case ID_INSERT_BEFORE_LEFT_UP: OnInsertBeforeLeftUp(); return true;
    case ID_INSERT_BEFORE_RIGHT_DOWN: OnInsertBeforeRightDown(); return true;
    case ID_INSERT_BEFORE_RIGHT_UP: OnInsertBeforeRightUp(); return true;
    case ID_INSERT_BEFORE_MIDDLE_DOWN: OnInsertBeforeMiddleDown(); return true;
    case ID_INSERT_BEFORE_MIDDLE_UP: OnInsertBeforeMiddleUp(); return true;
    case ID_INSERT_AFTER_LEFT_DOWN: OnInsertAfterLeftDown(); return true;
    case ID_INSERT_AFTER_LEFT_UP: OnInsertAfterLeftUp(); return true;
    case ID_INSERT_AFTER_RIGHT_DOWN: OnInsertAfterRightDown(); return true;
    case ID_INSERT_AFTER_RIGHT_UP: OnInsertAfterRightUp(); return true;
    case ID_INSERT_AFTER_MIDDLE_DOWN: OnInsertAfterMiddleDown(); return true;
    case ID_INSERT_AFTER_MIDDLE_UP: OnInsertAfterMiddleUp(); return true;
    case ID_INSERT_XY_NEG_NEG: OnInsertXYNegNeg(); return true;
    case ID_INSERT_XY_NEG_POS: OnInsertXYNegPos(); return true;
    case ID_INSERT_XY_POS_NEG: OnInsertXYPosNeg(); return true;
    case ID_INSERT_XY_POS_POS: OnInsertXYPosPos(); return true;
    case ID_INSERT_SET_CPI: OnInsertSetCpi(); return true;
    case ID_INSERT_RESET_CPI: OnInsertResetCpi(); return true;
    case ID_INSERT_LIGHT: OnInsertLight(); return true;
    case ID_INSERT_DELAY: OnInsertDelay(); return true;
    case ID_CHANGE_PARAMETERS: OnChangeParameters(); return true;
    case ID_MODIFY_DELAY: OnModifyDelay(); return true;
    case ID_DELETE_EVENT: OnMacroDeleteEvent(); return true;
    default:
        return false;
    }
}

void CTEV_KestraDlg::OnPaint()
{
    // A choice in the second-level pop-up ends the function pop-up here.
    TakeSubMenuChoice();
    PaintDc dc(Handle());
    PaintWindow(dc.Get());
}
