// The main window's life: closing and the exit command, the tray icon and its menu, the system
// menu, device arrival and removal, power events, the device threads' failed writes, control
// colours and owner-drawn menu items.
#include <windows.h>
#include <dbt.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "base/user_prompts.h"
#include "device/device_discovery.h"
#include "device/main_window_link.h"
#include "device/program_device_link.h"
#include "device/win32_hid_port.h"
#include "settings/file_write_failure.h"
#include "ui/pages/page_state.h"
#include "ui/popups/tev_menu.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/about_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "ui/window/window_messages.h"

namespace {
constexpr UINT kDeviceArrival = 0x8000;
constexpr UINT kDeviceRemoveComplete = 0x8004;

void SendTrayRequest(HWND window, HICON icon, DWORD request, const wchar_t* tip)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon;
    std::wcsncpy(data.szTip, tip, sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
    Shell_NotifyIconW(request, &data);
}
}  // namespace

void CTEV_KestraDlg::AddTrayIcon()
{
    if (Handle() != nullptr) SendTrayRequest(Handle(), m_hIcon, NIM_ADD, kMainWindowTitle);
}

void CTEV_KestraDlg::RemoveTrayIcon()
{
    if (Handle() != nullptr) SendTrayRequest(Handle(), m_hIcon, NIM_DELETE, L"TEV_Kestra");
}

namespace {
// Every other shown window of the thread sits over the main window while it runs modally (a
// message box, a file or colour dialog, the warning box, which has no owner): each is asked to
// close, and answers as cancelled.
BOOL CALLBACK CloseOtherWindow(HWND window, LPARAM mainWindow)
{
    if (window != reinterpret_cast<HWND>(mainWindow) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}
}  // namespace

void CTEV_KestraDlg::BeginEnding()
{
    m_ending = true;
    m_apply.Stop();
}

void CTEV_KestraDlg::EndProgram(bool exitCommand)
{
    BeginEnding();
    m_exitCommandAtEnd = m_exitCommandAtEnd || exitCommand;
    // Gone already (its end ran inside a box of this end): nothing is left to close.
    if (Handle() == nullptr) return;
    // Out of sight at once, and the recording's keyboard hook off before this thread waits for
    // the device threads: every key of the desktop would wait with it.
    View().Show(SW_HIDE);
    StopRecordingBeforeHiding();
    RemoveTrayIcon();
    EnumThreadWindows(GetCurrentThreadId(), CloseOtherWindow, reinterpret_cast<LPARAM>(Handle()));
    End(0);
}

void CTEV_KestraDlg::OnClose()
{
    // An end already under way (a start-up message still open) sends its own exit command.
    if (m_ending) return;
    EndProgram(true);
}

void CTEV_KestraDlg::StopRecordingBeforeHiding()
{
    if (g_recording != 0) StopRecording();
}

void CTEV_KestraDlg::OnSysCommand(UINT command, LPARAM, bool& handled)
{
    switch (command & 0xFFF0) {
    case kAboutCommand: {
        CAboutDlg about;
        about.DoModal(Handle());
        break;
    }
    case SC_MINIMIZE:
        StopRecordingBeforeHiding();
        View().Show(SW_MINIMIZE);
        break;
    case SC_RESTORE:
        View().Show(SW_RESTORE);
        break;
    case SC_CLOSE:
        StopRecordingBeforeHiding();
        View().Show(SW_MINIMIZE);
        AddTrayIcon();
        break;
    default:
        handled = false;
        break;
    }
}

LRESULT CTEV_KestraDlg::OnTrayNotify(WPARAM iconId, LPARAM mouseMessage)
{
    if (iconId != TRAY_ICON_ID) return 1;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        OnMenuShowWindow();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT cursor{};
        GetCursorPos(&cursor);
        HMENU menu = GetSubMenu(g_trayMenu.Get(), 0);
        SetForegroundWindow(Handle());
        if (menu != nullptr) TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, Handle(), nullptr);
    }
    return 0;
}

void CTEV_KestraDlg::OnMenuShowWindow()
{
    View().Show(SW_SHOW);
    View().Show(SW_RESTORE);
}

BOOL CTEV_KestraDlg::OnDeviceChange(UINT event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (event == kDeviceArrival) {
        if (Live() && header != nullptr && IsOurDeviceBroadcast(header) && g_deviceConnected == 0)
            g_deviceConnected = FindDevice(reinterpret_cast<WindowHandleValue>(Handle()));
    } else if (event == kDeviceRemoveComplete) {
        if (header != nullptr && IsOurDeviceBroadcast(header)) {
            g_deviceConnected = 0;
            EndProgram(false);
        }
    }
    return TRUE;
}

void CTEV_KestraDlg::OnPowerBroadcast() { RequestApply(); }

LRESULT CTEV_KestraDlg::OnDeviceWriteFailed(WPARAM, LPARAM)
{
    // Each file once: while its message is open, the file failing again adds nothing. Once the
    // window is ending nothing is shown.
    for (const std::u16string& path : TakeDeviceWriteFailures()) {
        if (!m_ending) ReportWriteFailure(path);
        DeviceWriteFailureShown(path);
    }
    return 0;
}

void CTEV_KestraDlg::RunApply()
{
    std::vector<MessageCollector::Message> messages;
    {
        MessageCollector collector;
        WriteSettingsToDevice();
        messages = collector.Messages();
    }
    // A box after Exit or the mouse's removal would keep the hidden program waiting for an answer.
    for (const MessageCollector::Message& message : messages) {
        if (m_ending) break;
        GetPrompts().ShowMessage(message.text, message.caption, message.style);
    }
}

BOOL CTEV_KestraDlg::OnEraseBkgnd(HDC)
{
    if (g_startHidden != 0) {
        g_startHidden = 0;
        View().Show(SW_MINIMIZE);
    }
    return TRUE;
}

HBRUSH CTEV_KestraDlg::OnCtlColor(HDC dc, HWND, UINT kind)
{
    SetBkMode(dc, TRANSPARENT);
    if (kind == WM_CTLCOLOREDIT || kind == WM_CTLCOLORLISTBOX) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return m_controlBrush.Get();
    }
    return nullptr;
}

void CTEV_KestraDlg::OnDrawItem(UINT controlId, DRAWITEMSTRUCT* item)
{
    if (controlId == 0) g_trayMenu.DrawItem(item);
}

void CTEV_KestraDlg::OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT* item)
{
    if (controlId == 0) g_trayMenu.MeasureItem(item);
}

HICON CTEV_KestraDlg::OnQueryDragIcon() { return m_hIcon; }
