#pragma once
// The program's one main window: a dialog with no standard controls of its own, painted from the
// skin images and shaped by the skin's mask. Its methods live in the files of the subsystems that
// own them: start-up (main_window_startup.cpp), the message switch (main_window_messages.cpp),
// window life and tray (window_life.cpp), layouts (skin_layout*), painting (page_painting*).
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <span>
#include <thread>

#include "macros/macro_record.h"
#include "settings/key_vocabulary.h"
#include "ui/pages/page_painting.h"
#include "ui/pages/skin_types.h"
#include "ui/window/serial_apply.h"
#include "ui/window/startup_images.h"
#include "winlib/dialog.h"
#include "winlib/gdi_object.h"
#include "winlib/gdiplus_session.h"
#include "winlib/image_cache.h"
#include "winlib/user_objects.h"

inline constexpr wchar_t kMainWindowTitle[] = L"AMorvek Quorvel Gaming Mouse";

class CTEV_KestraDlg : public Dialog {
public:
    explicit CTEV_KestraDlg(HWND parent = nullptr);
    ~CTEV_KestraDlg() override;

    // Ends the program the way a missing skin file does: the message (once per run of the
    // window), then EndProgram with the exit command, the dialog ended with 0. Start-up stops at
    // its next step once this has run.
    void EndWithMessage(const std::u16string& text);
    bool Ending() const { return m_ending; }
    // Start-up has loaded the profile and found the mouse, and the window is not ending: only
    // then may a handler write the settings, config.ini or the mouse (a message box of an early
    // end runs a message loop that still delivers power broadcasts and clicks).
    bool Live() const { return m_started && !m_ending; }

    // Part of the skin layouts (skin_layout*).
    void ReadIniRecord(const std::u16string& path, const std::u16string& section, int key,
                       std::array<std::u16string, 7>& fields);
    void LoadSkinMainLayout();
    void LoadSkinAdvanceLayout();
    void LoadSkinColorLayout();
    void LoadSkinMacroLayout();
    void LoadWarningLayout();

    // Painting (page_painting*): paints the whole window onto `dc`.
    void PaintWindow(HDC dc);
    // The steps of a paint: the page's own looks, the frame buttons, the texts.
    void DrawPageControls(HDC canvas, HDC hovered, HDC pressed, std::span<const ButtonPos> table, int hoverId);
    void DrawFrameButtons(HDC canvas, HDC hovered, HDC pressed, uint8_t selectedTab);
    void DrawPageTexts(HDC canvas, size_t count);
    SkinTables LayoutTables();

    // Tray icon.
    void AddTrayIcon();
    void RemoveTrayIcon();

    // Writes the settings to the mouse (the apply button, power broadcasts); an apply asked for
    // while one runs runs once more after it, unless the window has begun to end meanwhile.
    void RequestApply()
    {
        if (Live()) m_apply.Request();
    }

    // The macro page (macro_page_*.cpp, macro_file_commands.cpp): its six controls, made when the
    // page is entered and gone when it is left, the lists and edits filled from the macro table,
    // the page's presses, and the group and file commands.
    void CreateMacroPageControls();
    void DestroyMacroPageControls();
    void RefreshMacroLists();
    void ShowSelectedMacro();
    void RefreshMacroEventList(uint32_t macro);
    void AddMacroEventLines(std::span<const MacroRecord> table, uint32_t macro, uint32_t event);
    void ShowLightBlockDetails(uint8_t block);
    void UpdateMacroNameEdits();
    void ReloadCurrentGroup();
    void ShowCurrentGroupName();
    void OnMacroPagePress(POINT point);
    void AddNewGroup();
    void DeleteCurrentGroup();
    void AddNewMacro();
    void DeleteSelectedMacro();
    // Play-mode buttons 10, 11 and 12 for the open macro.
    void SetPlayMode(int button);
    // The record button: starts a recording of the selected macro, or stops the one running.
    void StartOrStopRecording();
    LRESULT OnMacroGroupChosen(WPARAM previousGroup, LPARAM previousMacro);
    // A step from the mouse changed the open macro: its event list shows it again.
    LRESULT OnOpenMacroStepped(WPARAM, LPARAM);
    LRESULT OnMacroFileCommand(WPARAM command, LPARAM lParam);
    void OnMacroListSelChange();
    void OnGroupNameChange();
    void OnMacroNameChange();
    void OnRepeatCountChange();
    void ImportMacroFile();
    void ExportMacroFile();
    void RestoreDefaultMacros();
    void CreateNewMacroFile();
    // Frame buttons 4 and 5 (language_switch.cpp).
    void SwitchToSpanish();
    void SwitchToEnglish();
    // Language switch: 0 Spanish, 1 English; also when it is the language shown.
    void SwitchLanguage(uint32_t language);
    // The macro folders of g_languageEnglish and their groups, the first group opened.
    void LoadLanguageMacroGroups();

    HWND m_parent = nullptr;
    // Skin images are decoded through GDI+ while the window lives.
    GdiplusSession m_gdiplus;

    // Layout tables, filled by the layout loaders.
    std::array<ButtonPos, kMainLayoutCount> m_mainPos{};
    std::array<std::u16string, kMainLayoutCount> m_mainText;
    std::array<ButtonPos, kLedLayoutCount> m_ledPos{};
    std::array<std::u16string, kLedLayoutCount> m_ledText;
    std::array<ButtonPos, kAdvancedLayoutCount> m_advancedPos{};
    std::array<std::u16string, kAdvancedLayoutCount> m_advancedText;
    std::array<ButtonPos, kMacroLayoutCount> m_macroPos{};
    std::array<std::u16string, kMacroLayoutCount> m_macroText;
    // Painting's working bitmap and its decoded page images (re-read only when a file changes).
    BitmapOwner m_pageBitmap;
    ImageCache m_pageImage;
    // The images of the first paint, decoded beside the start-up (gone once it has taken them).
    std::optional<StartupImages> m_startupImages;
    HICON m_hIcon = nullptr;
    MacVkAndText m_macVkAndText;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    // Start-up steps (main_window_startup.cpp).
    void StartUp();
    void StartWorkerThreads();
    void AddAboutToSystemMenu();
    void SetUpFolders();
    void LoadCurrentProfileAndLanguage();
    void CreateFonts();
    bool CutWindowShape();
    void LoadMacroData();
    void FindMouseAtStart();

    // Message handlers, one per entry of the message table.
    void OnSysCommand(UINT command, LPARAM parameter, bool& handled);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    // Step 5 of a press (the page's own action), one per page; the shared steps before and after
    // it are OnLButtonDown's.
    void OnMainPagePress(POINT point);
    void OnAdvancedPagePress(POINT point);
    void OnLedPagePress(POINT point);
    // Tabs 6 to 9 (the main layout's ids), from whichever page is shown.
    void OnTabPress(int tabId);
    // The lighting preview and the main page's blink, each started only while its running
    // flag is clear.
    void StartBlinkThread();
    void StartLedPreviewThread();
    // Ends both and returns once they have: at the window's destruction, before its handle goes.
    void StopWindowThreads();
    BOOL OnEraseBkgnd(HDC dc);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    void OnClose();
    void OnMenuShowWindow();
    LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    BOOL OnDeviceChange(UINT event, LPARAM data);
    void OnPowerBroadcast();
    // One apply, its messages shown after it while the window is not ending.
    void RunApply();
    void OnDrawItem(UINT controlId, DRAWITEMSTRUCT* item);
    void OnMeasureItem(UINT controlId, MEASUREITEMSTRUCT* item);
    LRESULT OnProfileSelected(WPARAM wParam, LPARAM lParam);
    // Tells of the files the device threads could not write (main_window_link.h).
    LRESULT OnDeviceWriteFailed(WPARAM, LPARAM);
    void OnEventListSelChange();
    void OnLightListSelChange();
    void OnLightListDblClk();
    LRESULT OnLightParamChosen(WPARAM wParam, LPARAM lParam);
    LRESULT OnMacroListEditEnd(WPARAM wParam, LPARAM lParam);
    void OnInsertBeforeLeftDown();
    void OnInsertBeforeLeftUp();
    void OnInsertBeforeRightDown();
    void OnInsertBeforeRightUp();
    void OnInsertBeforeMiddleDown();
    void OnInsertBeforeMiddleUp();
    void OnInsertAfterLeftDown();
    void OnInsertAfterLeftUp();
    void OnInsertAfterRightDown();
    void OnInsertAfterRightUp();
    void OnInsertAfterMiddleDown();
    void OnInsertAfterMiddleUp();
    void OnInsertXYNegNeg();
    void OnInsertXYNegPos();
    void OnInsertXYPosNeg();
    void OnInsertXYPosPos();
    void OnInsertSetCpi();
    void OnInsertResetCpi();
    void OnInsertLight();
    void OnInsertDelay();
    void OnChangeParameters();
    void OnModifyDelay();
    void OnMacroDeleteEvent();

    bool OnCommand(UINT command, UINT notification);
    void OnDestroy();
    // From here on no handler writes the settings, config.ini or the mouse, and no apply runs.
    void BeginEnding();
    // Close, Exit, the mouse's removal and an end with a message: the window hidden, a recording
    // stopped, the tray icon removed, and the dialogs open over the window (a message box, a file
    // or colour dialog, the warning box) closed, so that the handler they interrupted returns as
    // cancelled and the window's own loop ends. The device threads end, and the exit command
    // follows as the last report when `exitCommand` (not after a removal), when the window goes.
    void EndProgram(bool exitCommand);
    // Hiding the window (to the tray, minimised) ends a running recording first, saved: its
    // keyboard hook would keep every key from the other programs.
    void StopRecordingBeforeHiding();

    // Clicks (main_window_clicks.cpp, page_tabs.cpp, profile_commands.cpp).
    // While recording, only the record button, frame buttons 0 and 1 and empty places take a
    // press or release; false (after the message) for any other.
    bool RecordingAllowsClick();
    // Tabs 6, 7 and 9 from the macro page: in-place edits end without notifying, the page and
    // its thread start, the macro page's controls go.
    void LeaveMacroPage(uint8_t page);
    // Main page ids 12 and 13: config.ini from and to a file the user chooses.
    void ImportConfig();
    void ExportConfig();
    // The main-layout button the last press started on in this window; a release acts only on it.
    int m_pressedMainButton = BUTTON_NONE;
public:
    // Macro editing and recording (ui/macro_page/macro_event_editing.cpp, macro_edit_results.cpp,
    // macro_recording.cpp). The filter of the thread's dialog loops: the right-click menus, and
    // the keys while a macro is recorded; TRUE ends the message there.
    BOOL PreTranslateMessage(MSG* message);

private:
    void OnEventListRightClick(POINT cursor);
    void OnLightListRightClick(POINT cursor);
    bool InsertMacroEvent(uint32_t macro, int32_t position, uint8_t code, uint8_t action);
    void InsertEventAt(uint8_t code, uint8_t action);
    void InsertEventAfter(uint8_t code, uint8_t action);
    void StartRecording();
    void StopRecording();
    // Installs the filter for the window's life; a recording still running when the window goes
    // is stopped and saved.
    class MessageFilter {
    public:
        explicit MessageFilter(CTEV_KestraDlg* window);
        ~MessageFilter();
        MessageFilter(const MessageFilter&) = delete;
        MessageFilter& operator=(const MessageFilter&) = delete;

    private:
        CTEV_KestraDlg* window_;
        HookOwner hook_;
    };

    bool m_ending = false;
    bool m_exitCommandAtEnd = false;
    bool m_started = false;
    // config.ini's Init section has been read: a start-up that fails from here on speaks its
    // language, one that fails before it English.
    bool m_languageRead = false;
    // The black background of the macro page's edits and lists.
    BrushOwner m_controlBrush;
    SerialApply m_apply;
    std::thread m_blinkThread;

    // Hover, colours and the advanced and lighting pages (main_window_hover.cpp,
    // lighting_colours.cpp, advanced_page_clicks.cpp, led_page_clicks.cpp, main_window_threads.cpp).
public:
    // The colour dialog for DPI level swatchId - 41 (advanced ids 41..46) and for user colour
    // `slot` (lighting ids 0..6); the window repaints whether a colour was chosen or not.
    void PickDpiColor(int swatchId);
    void PickLedUserColor(int slot);

private:
    // Last of the members, so that it is joined before anything else of the window goes.
    std::jthread m_ledPreviewThread;
    // Last, so that it goes first.
    MessageFilter m_messageFilter{this};
};

// The folder tree of the macro page's restore: copies every file and sub-folder of `source` into
// `destination` (made when missing), replacing files of the same names, the copies never
// read-only. Stops at the first file it cannot write and gives its path (empty when none failed).
std::u16string CopyFolderRecursive(const std::u16string& source, const std::u16string& destination);

// Loads menu resources into g_macroEditMenu and g_trayMenu by language (1 English, 0 Spanish),
// each made owner-drawn.
void LoadLanguageMenus(uint32_t language);
