#pragma once
// The macro page's own controls: lists whose selected line is edited in place (a small edit laid
// over the line, begun by the character 1, ended by Enter, Esc, a lost focus, a scroll or a
// resize), their editor, and the edit of the group name, which tells its parent of Enter and Esc.
#include <windows.h>

#include <cstdint>
#include <string>

#include "winlib/subclassed_control.h"

// The last character any editable list received; read and cleared by the next BeginEdit.
extern uint32_t g_editStartChar;
// While set, the next character typed into any editable list is swallowed (and the flag cleared).
extern uint32_t g_skipNextChar;
// While set, the end of an edit does not notify the list's parent (the macro page is being left).
extern uint32_t g_suppressEditNotify;

// A plain edit control.
class CEdit : public SubclassedControl {};

// The in-place editor of an editable list: ends the edit on Enter (commit), Esc (cancel) and a
// lost focus (commit) by sending WM_ITEMEDIT_FINISH to the list.
class CEditHelper : public CEdit {
protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The group-name edit: WM_GROUPEDIT_KEY to its parent on the release of Enter (1) and Esc (0).
class CMacGroupEdit : public CEdit {
protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CEditableListBox : public SubclassedControl {
public:
    CEditableListBox() = default;
    ~CEditableListBox() override;

    // Starts an edit of the selected line when the last character received was 1; with no line
    // selected nothing starts.
    void BeginEdit();
    // Ends the edit in progress; with commit a changed text replaces the line (WM_ITEMEDIT_CHANGED
    // to the parent), and in every case the parent hears WM_ITEMEDIT_DONE unless
    // g_suppressEditNotify is set.
    void EndEdit(bool commit);

    int32_t EditIndex() const { return m_editIndex; }
    HWND EditorWindow() const { return m_edit.Handle(); }

    // Lines.
    int32_t Count() const;
    std::u16string LineText(int32_t index) const;
    int32_t AddLine(const std::u16string& text) const;
    int32_t InsertLine(int32_t index, const std::u16string& text) const;
    void DeleteLine(int32_t index) const;
    // Deletes the last line until none is left.
    void Clear() const;
    int32_t Selection() const;
    void Select(int32_t index) const;
    void SetRedraw(bool redraw) const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnChar(WPARAM character);

    CEditHelper m_edit;
    int32_t m_editIndex = -1;
    bool m_editClosing = false;
};
