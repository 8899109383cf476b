#include "ui/macro_page/editable_list_box.h"

#include <vector>

#include "base/clock.h"
#include "ui/window/window_messages.h"
#include "winlib/wide.h"

uint32_t g_editStartChar = 0;
uint32_t g_skipNextChar = 0;
uint32_t g_suppressEditNotify = 0;

namespace {
constexpr int kEditorId = 1;

// Enter and Esc must reach the edit as keys, not as the dialog's OK and Cancel.
constexpr LRESULT kWantsEveryKey = DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
}  // namespace

LRESULT CEditHelper::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return kWantsEveryKey;
    case WM_KEYUP:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            SendMessageW(GetParent(Handle()), WM_ITEMEDIT_FINISH, wParam == VK_RETURN ? 1 : 0, 0);
        break;
    case WM_KILLFOCUS:
        SendMessageW(GetParent(Handle()), WM_ITEMEDIT_FINISH, 1, 0);
        break;
    default:
        break;
    }
    return CallDefault(message, wParam, lParam);
}

LRESULT CMacGroupEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE) return CallDefault(message, wParam, lParam) | DLGC_WANTALLKEYS;
    if (message == WM_KEYUP && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        SendMessageW(GetParent(Handle()), WM_GROUPEDIT_KEY, wParam == VK_RETURN ? 1 : 0, 0);
    return CallDefault(message, wParam, lParam);
}

CEditableListBox::~CEditableListBox()
{
    // The editor goes first; its lost focus then finds the list still there.
    m_edit.Destroy();
}

void CEditableListBox::BeginEdit()
{
    if (g_editStartChar != 1) return;
    g_editStartChar = 0;
    const int32_t index = Selection();
    if (index < 0 || m_edit.Exists()) return;

    RECT rect{};
    if (Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) rect = {};
    rect.top -= 2;
    rect.bottom += 2;
    if (!m_edit.Create(L"EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, Handle(), kEditorId)) return;
    HWND editor = m_edit.Handle();
    SetWindowLongPtrW(editor, GWL_EXSTYLE, GetWindowLongPtrW(editor, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    m_edit.SetFont(reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    m_edit.SetText(LineText(index));
    m_edit.Send(EM_SETSEL, 0, -1);
    SetFocus(editor);
    m_editIndex = index;
}

void CEditableListBox::EndEdit(bool commit)
{
    if (!m_edit.Exists()) return;
    HWND parent = GetParent(Handle());
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    if (commit && m_editIndex != -1) {
        const std::u16string oldText = LineText(m_editIndex);
        const std::u16string newText = m_edit.Text();
        if (oldText != newText) {
            DeleteLine(m_editIndex);
            if ((style & LBS_SORT) != 0) {
                m_editIndex = static_cast<int32_t>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(newText))));
            } else {
                m_editIndex = InsertLine(m_editIndex, newText);
            }
            Select(m_editIndex);
            if ((style & LBS_NOTIFY) != 0)
                SendMessageW(parent, WM_ITEMEDIT_CHANGED, static_cast<WPARAM>(m_editIndex),
                             reinterpret_cast<LPARAM>(oldText.c_str()));
        }
    }
    m_editIndex = -1;
    // Destroying the editor takes its focus, which ends the edit once more with nothing left to
    // commit; that inner end must not destroy the window a second time.
    if (!m_editClosing) {
        m_editClosing = true;
        m_edit.Destroy();
        m_editClosing = false;
        GetClock().SleepMs(2);
    }
    if (g_suppressEditNotify == 0) SendMessageW(parent, WM_ITEMEDIT_DONE, reinterpret_cast<WPARAM>(this), 0);
}

void CEditableListBox::OnChar(WPARAM character)
{
    if (g_skipNextChar != 0) {
        g_skipNextChar = 0;
        return;
    }
    g_editStartChar = static_cast<uint32_t>(character);
    BeginEdit();
}

LRESULT CEditableListBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        OnChar(wParam);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // The editor never scrolls away from its line.
        EndEdit(true);
        break;
    case WM_SIZE: {
        const LRESULT result = CallDefault(message, wParam, lParam);
        EndEdit(true);
        return result;
    }
    case WM_KEYUP:
        if (wParam == VK_INSERT) BeginEdit();
        break;
    case WM_RBUTTONUP: {
        const int32_t index = Selection();
        RECT rect{};
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (index >= 0 && Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR &&
            PtInRect(&rect, point))
            BeginEdit();
        break;
    }
    case WM_ITEMEDIT_FINISH:
        EndEdit(wParam != 0);
        return 0;
    default:
        break;
    }
    return CallDefault(message, wParam, lParam);
}

int32_t CEditableListBox::Count() const
{
    const LRESULT count = Send(LB_GETCOUNT);
    return count == LB_ERR ? 0 : static_cast<int32_t>(count);
}

std::u16string CEditableListBox::LineText(int32_t index) const
{
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (index < 0 || length == LB_ERR || length < 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (copied == LB_ERR) return {};
    return FromWide(text.data(), static_cast<size_t>(copied));
}

int32_t CEditableListBox::AddLine(const std::u16string& text) const
{
    return static_cast<int32_t>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(text))));
}

int32_t CEditableListBox::InsertLine(int32_t index, const std::u16string& text) const
{
    return static_cast<int32_t>(
        Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(AsWide(text))));
}

void CEditableListBox::DeleteLine(int32_t index) const { Send(LB_DELETESTRING, static_cast<WPARAM>(index)); }

void CEditableListBox::Clear() const
{
    for (int32_t count = Count(); count > 0; --count) DeleteLine(count - 1);
}

int32_t CEditableListBox::Selection() const
{
    const LRESULT selection = Send(LB_GETCURSEL);
    return selection == LB_ERR ? -1 : static_cast<int32_t>(selection);
}

void CEditableListBox::Select(int32_t index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }

void CEditableListBox::SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }
