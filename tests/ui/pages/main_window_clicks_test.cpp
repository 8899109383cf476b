// Presses and releases on the real main window at the layout's coordinates: the shared steps of a
// press, the tabs, the main page's pop-ups and every button that acts on release.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings_state.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/pages/page_painting.h"
#include "ui/popups/menu_dlg.h"
#include "ui/popups/popup_openers.h"
#include "ui/window/web_page.h"
#include "ui/window/window_messages.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {

std::vector<std::u16string> g_openedPages;
void RecordWebPage(const std::u16string& address) { g_openedPages.push_back(address); }

// A file held open with no sharing: nobody else reads or writes it meanwhile.
UniqueHandle LockFile(const std::u16string& path)
{
    return UniqueHandle(CreateFileW(AsWide(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

POINT Centre(const ButtonPos& rect) { return {rect.x + rect.width / 2, rect.y + rect.height / 2}; }
bool Inside(const ButtonPos& rect, POINT p)
{
    return p.x >= rect.x && p.x < rect.x + rect.width && p.y >= rect.y && p.y < rect.y + rect.height;
}

class MainWindowClicks : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(Open());
        g_openedPages.clear();
        previousOpener_ = g_openWebPage;
        g_openWebPage = RecordWebPage;
        config_ = folder_.File("skins/config/config.ini");
    }
    void TearDown() override
    {
        if (previousOpener_ != nullptr) g_openWebPage = previousOpener_;
    }

    void Send(UINT message, POINT p) { SendMessageW(Window(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y)); }
    void Move(POINT p) { SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void Press(POINT p)
    {
        Move(p);
        Send(WM_LBUTTONDOWN, p);
    }
    void Release(POINT p)
    {
        Move(p);
        Send(WM_LBUTTONUP, p);
    }
    POINT Main(int id) const { return Centre(window_->m_mainPos[static_cast<size_t>(id)]); }
    void PressMain(int id)
    {
        Press(Main(id));
        ASSERT_EQ(g_hoverMainButton, id);
    }
    void Click(int id)
    {
        PressMain(id);
        Release(Main(id));
    }
    // A place of the window that is no button of the main layout or of the page shown.
    POINT EmptyPlace() const
    {
        const SkinTables tables = window_->LayoutTables();
        const std::span<const ButtonPos> page = PageTable(tables, ShownPage());
        for (LONG y = 5; y < g_skinHeight; y += 7) {
            for (LONG x = 5; x < g_skinWidth; x += 7) {
                const POINT p{x, y};
                auto hit = [&](const ButtonPos& r) { return Inside(r, p); };
                if (std::none_of(window_->m_mainPos.begin(), window_->m_mainPos.end(), hit) &&
                    std::none_of(page.begin(), page.end(), hit))
                    return p;
            }
        }
        return {0, 0};
    }
    // Takes the drag request a press on an empty place posts, if there is one.
    bool TakeDragRequest()
    {
        MSG message{};
        if (!PeekMessageW(&message, Window(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) return false;
        return message.wParam == HTCAPTION;
    }
    std::u16string Stored(const wchar_t* section, const wchar_t* key) const
    {
        std::array<wchar_t, 32> value{};
        GetPrivateProfileStringW(section, key, L"", value.data(), static_cast<DWORD>(value.size()), AsWide(config_));
        return FromWide(value.data());
    }
    std::vector<std::u16string> ShownTexts() const
    {
        std::vector<std::u16string> texts;
        for (const RecordingPrompts::Shown& shown : prompts_.shown) texts.push_back(shown.text);
        return texts;
    }

    std::u16string config_;

private:
    WebPageOpener previousOpener_ = nullptr;
};

TEST_F(MainWindowClicks, TabsSwitchPagesAndLeavingTheMacroPageEndsEditsSilently)
{
    const std::vector<std::pair<int, uint8_t>> road = {
        {7, kPageAdvanced}, {9, kPageLighting}, {7, kPageAdvanced}, {8, kPageMacro}, {8, kPageMacro},
        {6, kPageMain},     {6, kPageMain},     {8, kPageMacro},    {9, kPageLighting}, {8, kPageMacro},
        {7, kPageAdvanced}, {6, kPageMain}};
    uint8_t from = kPageMain;
    for (const auto& [tab, page] : road) {
        Click(tab);
        EXPECT_EQ(g_page, page) << "tab " << tab;
        if (page == kPageMacro) {
            EXPECT_EQ(g_suppressEditNotify, 0u) << "tab " << tab;
        }
        if (from == kPageMacro && page != kPageMacro) {
            EXPECT_EQ(g_suppressEditNotify, 1u) << "tab " << tab;
        }
        from = page;
        EXPECT_EQ(g_buttonDown, 0u);
        EXPECT_FALSE(TakeDragRequest());
    }
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MainWindowClicks, RecordingLetsOnlyTheRecordAndFrameButtonsAndEmptyPlacesThrough)
{
    g_recording = 1;
    PressMain(7);
    EXPECT_EQ(g_page, kPageMain);
    EXPECT_EQ(g_buttonDown, 0u);
    Release(Main(7));
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"Recording !", u"Recording !"}));
    g_languageEnglish = 0;
    Click(3);
    EXPECT_EQ(prompts_.shown.back().text, u"Grabando !");
    EXPECT_EQ(mouse_.ApplyCount(), 0);
    prompts_.shown.clear();

    Press(EmptyPlace());
    EXPECT_TRUE(TakeDragRequest());
    PressMain(0);
    EXPECT_EQ(g_buttonDown, 1u);
    Release(Main(0));
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MainWindowClicks, ASecondPressKeepsAnOpenPopupAndAPressElsewhereClosesIt)
{
    PressMain(11);
    EXPECT_EQ(g_popupOwnerButton, 11);
    EXPECT_EQ(g_buttonDown, 1u);
    EXPECT_TRUE(MenuPopupShown());
    Release(Main(11));
    PressMain(11);
    EXPECT_EQ(g_popupOwnerButton, 11);
    EXPECT_TRUE(MenuPopupShown());
    EXPECT_EQ(g_buttonDown, 0u);  // the press ended before the pressed look

    Press(EmptyPlace());
    EXPECT_TRUE(TakeDragRequest());
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
    EXPECT_FALSE(MenuPopupShown());
}

TEST_F(MainWindowClicks, TheWarningBoxGuardsTheFirstProfilesLastLeftClick)
{
    // Profile 1 as shipped: only the first button holds the left click.
    ASSERT_EQ(g_currentProfile, 0u);
    ASSERT_EQ(g_buttonAssignments[0][0], 1u);
    prompts_.warningAnswer = WarningAnswer::Cancel;
    PressMain(20);
    EXPECT_EQ(prompts_.warningBoxes, 1);
    EXPECT_EQ(g_menuPopupOpen, 0);
    EXPECT_FALSE(MenuPopupShown());
    EXPECT_EQ(g_popupOwnerButton, 20);
    // The cancelled button still owns the press, until a press elsewhere.
    PressMain(20);
    EXPECT_EQ(prompts_.warningBoxes, 1);
    PressMain(21);
    EXPECT_EQ(prompts_.warningBoxes, 1);  // another button may change freely
    EXPECT_EQ(g_popupOwnerButton, 21);
    EXPECT_TRUE(MenuPopupShown());

    prompts_.warningAnswer = WarningAnswer::GoOn;
    PressMain(20);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    EXPECT_EQ(g_assignButtonId, 20);
    EXPECT_EQ(g_popupOwnerButton, 20);
    EXPECT_TRUE(MenuPopupShown());

    // Other profiles never ask.
    Press(EmptyPlace());
    EXPECT_TRUE(TakeDragRequest());
    g_currentProfile = 1;
    g_buttonAssignments[1].fill(2);
    g_buttonAssignments[1][3] = 1;
    PressMain(23);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    EXPECT_TRUE(MenuPopupShown());
}

TEST_F(MainWindowClicks, AChosenProfileBecomesCurrentAndPageZeroShowsItsButtons)
{
    PressMain(11);
    Release(Main(11));
    ASSERT_TRUE(MenuPopupShown());
    // Row 3 of the profile pop-up: the third profile.
    const CMenuDlg& popup = *g_pMenuPopup;
    const POINT row3{popup.Width() / 2, 2 * popup.RowHeight() + popup.RowHeight() / 2};
    ValidateRect(Window(), nullptr);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        SendMessageW(popup.Handle(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(row3.x, row3.y));
    // The profile's name and the button names change all over the window: all of it repaints.
    RegionOwner update(CreateRectRgn(0, 0, 0, 0));
    RegionOwner shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetUpdateRgn(Window(), update.Get(), FALSE), ERROR);
    ASSERT_NE(GetWindowRgn(Window(), shape.Get()), ERROR);
    const std::vector<bool> updated = RegionPixels(update.Get(), g_skinWidth, g_skinHeight);
    const std::vector<bool> shown = RegionPixels(shape.Get(), g_skinWidth, g_skinHeight);
    size_t stale = 0;
    for (size_t i = 0; i < shown.size(); ++i) stale += shown[i] && !updated[i] ? 1 : 0;
    EXPECT_EQ(stale, 0u);
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(Stored(L"Init", L"CurConfig"), u"3");
    EXPECT_EQ(g_curConfig, 3u);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);

    const PaintPlan plan = PlanPage(window_->LayoutTables(), kPageMain);
    for (size_t button = 0; button < 9; ++button) {
        const ButtonPos& rect = window_->m_mainPos[20 + button];
        const std::u16string name = AssignmentDisplayName(g_buttonAssignments[2][button]);
        const bool drawn = std::any_of(plan.begin(), plan.end(), [&](const PaintOp& op) {
            return op.kind == PaintOp::Kind::Text && op.rect == rect && op.text == name;
        });
        EXPECT_TRUE(drawn) << "button " << button;
    }
}

TEST_F(MainWindowClicks, TheCloseButtonEndsTheProgramWhileTheGroupPopupIsOpen)
{
    Click(8);
    ASSERT_EQ(g_page, kPageMacro);
    // The group pop-up's owner is macro button 1, the close button's own number.
    const POINT group = Centre(window_->m_macroPos[1]);
    Press(group);
    ASSERT_EQ(g_hoverMacroButton, 1);
    Release(group);
    ASSERT_EQ(g_popupOwnerButton, 1);
    ASSERT_TRUE(MenuPopupShown());
    PressMain(1);
    Release(Main(1));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(mouse_.ExitCount(), 1);
}

TEST_F(MainWindowClicks, AnImportedReadOnlyFileLeavesConfigIniWritable)
{
    folder_.Write("readonly.ini", folder_.Read("skins/config/config.ini"));
    const std::u16string source = folder_.File("readonly.ini");
    ASSERT_TRUE(SetFileAttributesW(AsWide(source), FILE_ATTRIBUTE_READONLY));
    prompts_.fileAnswers = {source, source};
    Click(12);
    EXPECT_EQ(GetFileAttributesW(AsWide(config_)) & FILE_ATTRIBUTE_READONLY, 0u);
    // Later saves and a second import of the same file still work.
    EXPECT_TRUE(WritePrivateProfileStringW(L"Init", L"CurConfig", L"1", AsWide(config_)));
    Click(12);
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_EQ(prompts_.fileRequests.size(), 2u);
    SetFileAttributesW(AsWide(source), FILE_ATTRIBUTE_NORMAL);
}

// A file dialog that runs `whileOpen` before it answers.
class DialogBeside : public RecordingPrompts {
public:
    explicit DialogBeside(std::function<void()> whileOpen) : whileOpen_(std::move(whileOpen)) {}
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override
    {
        whileOpen_();
        return RecordingPrompts::ChooseFile(request);
    }

private:
    std::function<void()> whileOpen_;
};

// While the export's dialog is open a profile switch on the mouse starts rewriting config.ini: it
// holds the settings lock with the file half written until the export's copy is there, or long
// enough for an export that waits for the lock. The copy is of the whole new file.
TEST_F(MainWindowClicks, ExportBesideARewriteOfTheConfigurationCopiesTheWholeFile)
{
    if (!ThreadsRunHere()) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    const std::string before = folder_.Read("skins/config/config.ini");
    std::string after = before;
    ASSERT_EQ(after.find("CurConfig=1"), 8u);
    after.replace(8, 11, "CurConfig=2");
    std::promise<void> held;
    std::thread rewrite;
    DialogBeside prompts([&] {
        rewrite = std::thread([&] {
            std::lock_guard lock(g_settingsMutex);
            folder_.Write("skins/config/config.ini", before.substr(0, before.size() / 2));
            held.set_value();
            const DWORD start = GetTickCount();
            while (!std::filesystem::exists(folder_ / "exported.ini") && GetTickCount() - start < 300) Sleep(1);
            folder_.Write("skins/config/config.ini", after);
        });
        held.get_future().wait();
    });
    prompts.fileAnswers = {folder_.File("exported.ini")};
    Click(13);
    rewrite.join();
    EXPECT_TRUE(prompts.shown.empty());
    const std::string copy = folder_.Read("exported.ini");
    EXPECT_TRUE(copy == after) << copy.size() << " bytes of " << after.size() << ", " << copy.substr(0, 20);
}

TEST_F(MainWindowClicks, ResetImportAndExportThroughTheFileDialogs)
{
    // Reset: the factory values in memory and on disk.
    g_fireTime = 123;
    Click(14);
    EXPECT_EQ(g_fireTime, 50u);
    EXPECT_EQ(Stored(L"Config4", L"FIRE_TIME"), u"50");

    // Export onto a new file, then onto one that cannot be written although it is there.
    const std::u16string exported = folder_.File("exported.ini");
    prompts_.fileAnswers = {exported, exported, std::nullopt};
    Click(13);
    ASSERT_EQ(prompts_.fileRequests.size(), 1u);
    const FileDialogRequest& save = prompts_.fileRequests[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.defaultExtension, u"ini");
    EXPECT_EQ(save.filter, u"All Files(*.ini)|*.ini||");
    EXPECT_EQ(save.initialFolder, g_programFolder);
    EXPECT_EQ(save.flags, FileDialogFlag::HideReadOnly | FileDialogFlag::OverwritePrompt);
    EXPECT_EQ(folder_.Read("exported.ini"), folder_.Read("skins/config/config.ini"));
    EXPECT_TRUE(prompts_.shown.empty());
    {
        const UniqueHandle locked = LockFile(exported);
        ASSERT_TRUE(locked);
        Click(13);
    }
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"Error!"}));
    Click(13);  // cancelled
    EXPECT_EQ(prompts_.shown.size(), 1u);
    prompts_.shown.clear();

    // Import: a file that is there is copied over config.ini and loaded.
    std::string imported = folder_.Read("skins/config/config.ini");
    const size_t fire = imported.find("FIRE_TIME=50");
    ASSERT_NE(fire, std::string::npos);  // in [Config1], the current profile
    imported.replace(fire, 12, "FIRE_TIME=77");
    folder_.Write("imported.ini", imported);
    const std::u16string vanished = folder_.File("vanished.ini");
    folder_.Write("notes.ini", "[Notes]\r\nK0=1\r\n");  // no profile: no configuration of ours
    // The current profile is there, but not the one the file starts with: the next start would
    // refuse the file.
    std::string otherStart = imported;
    otherStart.replace(otherStart.find("CurConfig=1"), 11, "CurConfig=3");
    otherStart.replace(otherStart.find("[Config3]"), 9, "[Unused3]");
    folder_.Write("other_start.ini", otherStart);
    prompts_.fileAnswers = {folder_.File("imported.ini"), vanished, folder_.File("imported.ini"),
                            folder_.File("notes.ini"), folder_.File("other_start.ini")};
    // Nor may a profile chosen later, stored as the one the next start loads, be missing: any
    // one of the four.
    for (int n = 1; n <= 4; ++n) {
        const std::string section = "[Config" + std::to_string(n) + "]";
        std::string without = imported;
        without.replace(without.find(section), section.size(), "[Unused" + std::to_string(n) + "]");
        const std::string name = "without_" + std::to_string(n) + ".ini";
        folder_.Write(name, without);
        prompts_.fileAnswers.push_back(folder_.File(name));
    }
    prompts_.fileAnswers.push_back(std::nullopt);
    prompts_.fileRequests.clear();
    Click(12);
    ASSERT_EQ(prompts_.fileRequests.size(), 1u);
    EXPECT_FALSE(prompts_.fileRequests[0].save);
    EXPECT_EQ(prompts_.fileRequests[0].defaultExtension, u"");
    EXPECT_EQ(prompts_.fileRequests[0].flags, FileDialogFlag::ReadOnly | FileDialogFlag::HideReadOnly);
    EXPECT_EQ(g_fireTime, 77u);
    EXPECT_EQ(folder_.Read("skins/config/config.ini"), imported);
    EXPECT_TRUE(prompts_.shown.empty());

    // A file gone by the time the dialog closes, one that cannot be read, one without the
    // profile, or one the next start would refuse leaves all as it was, each told by "Error!".
    g_fireTime = 90;
    Click(12);
    {
        const UniqueHandle locked = LockFile(folder_.File("imported.ini"));
        ASSERT_TRUE(locked);
        Click(12);
    }
    for (int refused = 0; refused < 6; ++refused) Click(12);
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>(8, u"Error!"));
    EXPECT_EQ(g_fireTime, 90u);
    EXPECT_EQ(folder_.Read("skins/config/config.ini"), imported);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "skins/config/config.ini.tmp"));
    Click(12);  // cancelled
    EXPECT_EQ(prompts_.shown.size(), 8u);
    EXPECT_EQ(prompts_.fileRequests.size(), 10u);
}

TEST_F(MainWindowClicks, FrameButtonsApplyStoreTheDpiLevelOpenThePageAndClose)
{
    Click(3);
    EXPECT_EQ(mouse_.ApplyCount(), 1);
    Click(19);
    EXPECT_EQ(g_openedPages, (std::vector<std::u16string>{u"https://www.example.com/kestra"}));
    Click(4);
    Click(5);

    // Button 2: the DPI level into section 6, that section loaded, the current profile's own
    // button-light row kept.
    g_ledReactEnabled[0].fill(1);
    g_ledReactType[0].fill(3);
    g_dpiLevel = 4;
    Click(2);
    EXPECT_EQ(Stored(L"Config6", L"DPI_LEVEL"), u"4");
    EXPECT_EQ(g_ledType, 3);  // from section 6
    EXPECT_EQ(g_ledReactEnabled[0][5], 1u);
    EXPECT_EQ(g_ledReactType[0][8], 3u);
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
    ShowWindow(Window(), SW_RESTORE);

    Click(0);
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(mouse_.ExitCount(), 0);
    ShowWindow(Window(), SW_RESTORE);
    PressMain(1);
    Release(Main(1));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(mouse_.ExitCount(), 1);
}

TEST_F(MainWindowClicks, AReleaseActsOnlyOnAPressOnTheSameButtonInThisWindow)
{
    g_fireTime = 123;
    Release(Main(14));  // the end of a double click in a file dialog over the reset button
    EXPECT_EQ(g_fireTime, 123u);
    PressMain(13);
    Release(Main(14));
    EXPECT_EQ(g_fireTime, 123u);
    EXPECT_TRUE(prompts_.fileRequests.empty());
    Release(Main(3));
    EXPECT_EQ(mouse_.ApplyCount(), 0);
    Click(14);
    EXPECT_EQ(g_fireTime, 50u);
}

}  // namespace
