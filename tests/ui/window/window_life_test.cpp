// The window's life where it meets modal loops: the window run modally as the program runs it, the
// About box, and boxes whose own message loop delivers a power broadcast, the mouse's removal or an
// end while they are open. Also the tray, device-arrival and control-colour handlers.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <functional>
#include <future>
#include <mutex>
#include <new>
#include <span>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/module_path.h"
#include "base/program_folder.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/main_window_link.h"
#include "device/program_device_link.h"
#include "device/system_parameters.h"
#include "macros/macro_record.h"
#include "settings/file_write_failure.h"
#include "settings/settings_state.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/popups/popup_openers.h"
#include "ui/popups/popup_state.h"
#include "ui/popups/tev_menu.h"
#include "ui/popups/win32_user_prompts.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window_run.h"
#include "ui/window/window_messages.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {

// A box of the message seam that is a real window with a real message loop: while it is open it
// posts the messages it was given to the main window and runs them, as a message box, a file or
// colour dialog or the warning box does. When nothing is left to run, the person answers (the
// answers of RecordingPrompts); a box the program closed meanwhile answers as cancelled.
class NestedLoopPrompts : public RecordingPrompts {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool sent = false;  // messages that carry a pointer (a device change) cannot be posted
    };

    // Where the messages go: read when the box opens, so that it may be the window starting up.
    std::function<HWND()> target;
    // Posted by the next box that opens.
    std::vector<Posted> whileOpen;
    int closedByProgram = 0;

    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override
    {
        const bool answered = RunBox();
        const int answer = RecordingPrompts::ShowMessage(text, caption, style);
        return answered ? answer : MessageAnswer::Cancel;
    }
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override
    {
        const bool answered = RunBox();
        std::optional<std::u16string> answer = RecordingPrompts::ChooseFile(request);
        return answered ? answer : std::nullopt;
    }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override
    {
        const bool answered = RunBox();
        const std::optional<uint32_t> answer = RecordingPrompts::ChooseColour(initial);
        return answered ? answer : std::nullopt;
    }
    int ShowWarningBox() override
    {
        const bool answered = RunBox();
        const int answer = RecordingPrompts::ShowWarningBox();
        return answered ? answer : WarningAnswer::Cancel;
    }

private:
    // True when the person answered, false when the program closed the box.
    bool RunBox()
    {
        static const ATOM boxClass = [] {
            WNDCLASSW box{};
            box.lpfnWndProc = DefWindowProcW;
            box.hInstance = GetModuleHandleW(nullptr);
            box.lpszClassName = L"KestraNestedBox";
            return RegisterClassW(&box);
        }();
        HWND box = CreateWindowExW(0, MAKEINTATOM(boxClass), L"box", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        HWND to = target ? target() : nullptr;
        for (const Posted& posted : whileOpen) {
            if (posted.sent) SendMessageW(to, posted.message, posted.wParam, posted.lParam);
            else PostMessageW(to, posted.message, posted.wParam, posted.lParam);
        }
        whileOpen.clear();
        MSG message{};
        while (IsWindow(box) && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!IsWindow(box)) {
            ++closedByProgram;
            return false;
        }
        DestroyWindow(box);
        return true;
    }
};

class WindowLifeTest : public MainWindowTest {
protected:
    WindowLifeTest()
    {
        nested_.target = [this] { return window_ ? window_->Handle() : nullptr; };
        SetSystemParameters(&system_);
    }
    ~WindowLifeTest() override { SetSystemParameters(nullptr); }

    // The removal broadcast of the mouse's interface (valid after a start found it).
    LPARAM Removal()
    {
        removal_.assign(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + g_devicePath.size() * 2 + 2, 0);
        auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(removal_.data());
        broadcast->dbcc_size = static_cast<DWORD>(removal_.size());
        broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        std::copy(g_devicePath.begin(), g_devicePath.end(), reinterpret_cast<char16_t*>(broadcast->dbcc_name));
        return reinterpret_cast<LPARAM>(removal_.data());
    }

    // Runs the window modally, as the program does; `road` runs once from inside its loop. A
    // window still open 5 s later is ended with -2, so that a fault fails instead of hanging.
    INT_PTR RunModal(std::function<void()> road)
    {
        window_ = std::make_unique<CTEV_KestraDlg>();
        t_road = std::move(road);
        t_window = window_.get();
        const UINT_PTR start = SetTimer(nullptr, 0, 1, RunRoad);
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, EndStuckWindow);
        const INT_PTR result = window_->DoModal();
        KillTimer(nullptr, start);
        KillTimer(nullptr, watchdog);
        t_window = nullptr;
        return result;
    }
    void ClickMain(int id)
    {
        const ButtonPos& rect = window_->m_mainPos[static_cast<size_t>(id)];
        const LPARAM at = MAKELPARAM(rect.x + rect.width / 2, rect.y + rect.height / 2);
        SendMessageW(Window(), WM_MOUSEMOVE, 0, at);
        SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        if (Window() != nullptr) SendMessageW(Window(), WM_LBUTTONUP, 0, at);
    }
    std::vector<uint8_t> Memory() const { return mouse_.MemoryRange(0, kDeviceMemorySize); }

    NestedLoopPrompts nested_;
    RecordingSystemParameters system_;
    std::vector<uint8_t> removal_;
    static inline std::function<void()> t_road;
    static inline CTEV_KestraDlg* t_window = nullptr;

private:
    static void CALLBACK RunRoad(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        if (std::function<void()> road = std::exchange(t_road, nullptr)) road();
    }
    static void CALLBACK EndStuckWindow(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        if (t_window != nullptr) t_window->End(-2);
    }
};

// The About box test's hand: acts on the box once it is open; a box still open after 2 s is
// destroyed (a failure).
HWND s_main;
int s_action;
bool s_wasDisabled;
bool s_forced;
int s_ticks;

void CALLBACK ActOnAboutBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND about = FindWindowW(nullptr, L"About TEV_Kestra");
    if (about == nullptr) return;
    if (++s_ticks > 200) {
        s_forced = true;
        KillTimer(nullptr, id);
        DestroyWindow(about);
        return;
    }
    if (s_ticks > 1) return;  // acted already: wait for the box to go
    s_wasDisabled = !IsWindowEnabled(s_main);
    switch (s_action) {
    case 0: PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); break;
    case 1: PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0); break;
    default: PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

// Tray menus opened while it is installed, each ended at once.
int s_trayMenus;

LRESULT CALLBACK CountTrayMenus(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITMENUPOPUP &&
        reinterpret_cast<HMENU>(sent->wParam) == GetSubMenu(g_trayMenu.Get(), 0))
        ++s_trayMenus;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK EndMenus(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(WindowLifeTest, AboutBoxClosesWithOkEscAndItsCloseBoxAndGivesTheWindowBack)
{
    ASSERT_TRUE(Open());
    s_main = Window();
    for (s_action = 0; s_action < 3; ++s_action) {
        s_wasDisabled = false;
        s_forced = false;
        s_ticks = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, ActOnAboutBox);
        SendMessageW(Window(), WM_SYSCOMMAND, kAboutCommand, 0);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(s_forced) << "action " << s_action;
        EXPECT_TRUE(s_wasDisabled) << "action " << s_action;
        EXPECT_EQ(FindWindowW(nullptr, L"About TEV_Kestra"), nullptr);
        EXPECT_TRUE(IsWindowEnabled(Window()));
    }
    // The tray's Exit then ends the program.
    SendMessageW(Window(), WM_COMMAND, ID_EXIT_DRIVER, 0);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(mouse_.ExitCount(), 1);
}

// A start-up message's box runs the window's posted messages while the program ends: a power
// broadcast writes nothing, and a device thread's failed write is not told.
TEST_F(WindowLifeTest, APowerBroadcastWhileAStartUpMessageIsOpenWritesNothing)
{
    ASSERT_TRUE(Open());  // the mouse is found once, so the command collection stays open
    window_.reset();
    const std::string shipped = folder_.Read("skins/config/config.ini");
    const std::vector<uint8_t> memory = Memory();

    // The current profile's section is missing (nothing loaded yet); a layout file is missing
    // (the profile loaded, the window ending).
    std::string noProfile = shipped;
    const size_t section = noProfile.find("[Config2]");
    ASSERT_NE(section, std::string::npos);
    noProfile.erase(section, noProfile.find("[Config3]") - section);
    noProfile.replace(noProfile.find("CurConfig=1"), 11, "CurConfig=2");
    for (int road = 0; road < 2; ++road) {
        const std::string config = road == 0 ? noProfile : shipped;
        folder_.Write("skins/config/config.ini", config);
        if (road == 1) std::filesystem::remove(folder_ / "skins/INI_EN/skin_mac_en.ini");
        RequestWriteFailureShown(folder_.File("skins/config/config.ini"));
        nested_.whileOpen = {{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
                             {WM_POWERBROADCAST, PBT_APMSUSPEND, 0},
                             {WM_DEVICE_WRITE_FAILED, 0, 0}};
        EXPECT_FALSE(Open()) << road;
        EXPECT_EQ(nested_.shown.size(), static_cast<size_t>(road + 1));
        EXPECT_EQ(folder_.Read("skins/config/config.ini"), config) << road;
        EXPECT_EQ(Memory(), memory) << road;
        EXPECT_EQ(mouse_.ApplyCount(), 0) << road;
        EXPECT_TRUE(system_.sets.empty()) << road;
        window_.reset();
    }
}

TEST_F(WindowLifeTest, RemovalOrExitWhileADialogIsOpenEndsTheModalWindowAndWritesNothing)
{
    const std::string config = folder_.Read("skins/config/config.ini");
    const std::string imported = config.substr(0, config.find("FIRE_TIME=50")) + "FIRE_TIME=77" +
                                 config.substr(config.find("FIRE_TIME=50") + 12);
    folder_.Write("imported.ini", imported);

    // The colour dialog, and the mouse removed while it is open.
    nested_.colourAnswers = {0x0000FFu};
    const INT_PTR colour = RunModal([&] {
        nested_.whileOpen = {{WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, Removal(), true}};
        window_->PickDpiColor(41);
    });
    EXPECT_EQ(colour, 0);
    EXPECT_EQ(nested_.closedByProgram, 1);
    EXPECT_EQ(nested_.colourRequests.size(), 1u);
    EXPECT_NE(g_dpiColourRefs[0], 0x0000FFu);
    EXPECT_EQ(mouse_.ExitCount(), 0);
    ResetDeviceLink();

    // The import's file dialog, and Exit from the tray while it is open.
    nested_.fileAnswers = {folder_.File("imported.ini")};
    const INT_PTR file = RunModal([&] {
        nested_.whileOpen = {{WM_COMMAND, ID_EXIT_DRIVER, 0}};
        ClickMain(12);
    });
    EXPECT_EQ(file, 0);
    EXPECT_EQ(nested_.closedByProgram, 2);
    EXPECT_EQ(nested_.fileRequests.size(), 1u);
    EXPECT_EQ(folder_.Read("skins/config/config.ini"), config);
    EXPECT_NE(g_fireTime, 77u);
    EXPECT_EQ(mouse_.ExitCount(), 1);
    ResetDeviceLink();

    // The warning box, and WM_CLOSE while it is open: no pop-up opens over the ending window.
    const int exits = mouse_.ExitCount();
    const INT_PTR warning = RunModal([&] {
        nested_.whileOpen = {{WM_CLOSE, 0, 0}};
        ClickMain(20);
    });
    EXPECT_EQ(warning, 0);
    EXPECT_EQ(nested_.closedByProgram, 3);
    EXPECT_EQ(nested_.warningBoxes, 1);
    EXPECT_EQ(g_menuPopupOpen, 0);
    EXPECT_EQ(mouse_.ExitCount(), exits + 1);
    EXPECT_TRUE(nested_.shown.empty());
}

TEST_F(WindowLifeTest, ArrivalTrayCommandsAndControlColours)
{
    ASSERT_TRUE(Open());
    // Arrival of the mouse while it is marked gone finds it again; another device's does nothing.
    LPARAM broadcast = Removal();
    g_deviceConnected = 0;
    auto* name = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(broadcast)->dbcc_name;
    const wchar_t first = name[0];
    name[0] = L'X';
    EXPECT_EQ(SendMessageW(Window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, broadcast), TRUE);
    EXPECT_EQ(g_deviceConnected, 0);
    name[0] = first;
    EXPECT_EQ(SendMessageW(Window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, broadcast), TRUE);
    EXPECT_EQ(g_deviceConnected, 1);

    // The tray's double click shows and restores the window, as "Mostrar ventana" does.
    for (const auto& [message, wParam, lParam] :
         {std::tuple{static_cast<UINT>(WM_TRAY_NOTIFY), WPARAM{TRAY_ICON_ID}, LPARAM{WM_LBUTTONDBLCLK}},
          std::tuple{static_cast<UINT>(WM_COMMAND), WPARAM{ID_SHOW_WINDOW_ES}, LPARAM{0}}}) {
        ShowWindow(Window(), SW_HIDE);
        SendMessageW(Window(), message, wParam, lParam);
        EXPECT_TRUE(IsWindowVisible(Window()));
        EXPECT_FALSE(IsIconic(Window()));
    }

    // The right button's release opens the tray menu, in the language shown, owned by the window.
    s_trayMenus = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountTrayMenus, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, EndMenus);
    EXPECT_EQ(SendMessageW(Window(), WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_RBUTTONUP), 0);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(s_trayMenus, 1);

    // Edits and lists show white on black; other controls keep the default brush.
    HDC dc = GetDC(Window());
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(Window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH look{};
    GetObjectW(brush, sizeof(look), &look);
    EXPECT_EQ(look.lbColor, RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(SendMessageW(Window(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), 0),
              reinterpret_cast<LRESULT>(brush));
    EXPECT_NE(SendMessageW(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0),
              reinterpret_cast<LRESULT>(brush));
    ReleaseDC(Window(), dc);

    // "Salir " ends the program with the exit command.
    SendMessageW(Window(), WM_COMMAND, ID_EXIT_DRIVER_ES, 0);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(mouse_.ExitCount(), 1);
}

TEST_F(WindowLifeTest, ALanguageWithAMissingLayoutEndsTheProgramAndTheNextStartKeepsTheOther)
{
    ASSERT_TRUE(Open());
    std::filesystem::remove(folder_ / "skins/INI_CN/skin_color.ini");
    // The end begins inside the switch: while its message is open, a power broadcast, the tray's
    // Exit and the mouse's arrival (marked gone) write nothing and end nothing twice.
    const std::string config = folder_.Read("skins/config/config.ini");
    const std::vector<uint8_t> memory = Memory();
    g_deviceConnected = 0;
    nested_.whileOpen = {{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
                         {WM_COMMAND, ID_EXIT_DRIVER, 0},
                         {WM_DEVICECHANGE, DBT_DEVICEARRIVAL, Removal(), true}};
    window_->SwitchToSpanish();
    EXPECT_EQ(Window(), nullptr);
    ASSERT_EQ(nested_.shown.size(), 1u);
    EXPECT_EQ(nested_.shown[0].text, u"找不到配置文件");
    EXPECT_EQ(nested_.closedByProgram, 0);
    EXPECT_EQ(folder_.Read("skins/config/config.ini"), config);
    EXPECT_EQ(Memory(), memory);
    EXPECT_EQ(mouse_.ApplyCount(), 0);
    EXPECT_TRUE(system_.sets.empty());
    EXPECT_EQ(g_deviceConnected, 0);
    EXPECT_EQ(mouse_.ExitCount(), 1);
    window_.reset();

    nested_.shown.clear();
    ASSERT_TRUE(Open());
    EXPECT_EQ(g_languageEnglish, 1u);
    EXPECT_TRUE(nested_.shown.empty());
}

// The apply has two messages (button 1 here and a button of the third profile play a constant
// macro given a light event of no light mode); a power broadcast and then Exit or the mouse's
// removal arrive while the first is open: neither the second box nor the broadcast's apply follows
// once the end has begun.
TEST_F(WindowLifeTest, AnApplyAskedForBeforeTheEndDoesNotRunAfterIt)
{
    for (int road = 0; road < 2; ++road) {
        const int applies = mouse_.ApplyCount();
        const int exits = mouse_.ExitCount();
        const INT_PTR result = RunModal([&] {
            MacroRecord light{};
            light.SetEvent(0, {7, MacroEventCode::Light, 0, 0, 20});
            light.eventCount = 1;
            light.lightCount = 1;
            light.lightBlocks[0].stepCount = 1;
            g_constMacroTable[1] = light;
            g_buttonAssignments[g_currentProfile & 3][0] = 33;
            const NestedLoopPrompts::Posted end =
                road == 0 ? NestedLoopPrompts::Posted{WM_COMMAND, ID_EXIT_DRIVER, 0}
                          : NestedLoopPrompts::Posted{WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, Removal(), true};
            nested_.whileOpen = {{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0}, end};
            window_->RequestApply();
        });
        EXPECT_EQ(result, 0) << road;
        EXPECT_EQ(mouse_.ApplyCount(), applies + 1) << road;
        ASSERT_EQ(nested_.shown.size(), 1u) << road;
        EXPECT_EQ(nested_.shown[0].text, u"Error!");
        EXPECT_EQ(nested_.closedByProgram, 1) << road;
        EXPECT_EQ(system_.sets.size(), 2u) << road;
        EXPECT_EQ(mouse_.ExitCount(), exits + (road == 0 ? 1 : 0)) << road;
        nested_.shown.clear();
        nested_.closedByProgram = 0;
        system_.sets.clear();
        ResetDeviceLink();
    }
}

// The program's own prompts, which the window owns while it lives; their messages are kept, and
// shown as real boxes only when asked.
class OwnedPrompts : public Win32UserPrompts {
public:
    OwnedPrompts() : previous_(&GetPrompts()) { SetPrompts(this); }
    ~OwnedPrompts() override { SetPrompts(previous_); }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override
    {
        shown.push_back(text);
        return realBoxes ? Win32UserPrompts::ShowMessage(text, caption, style) : MessageAnswer::Ok;
    }
    std::vector<std::u16string> shown;
    bool realBoxes = false;

private:
    UserPrompts* previous_;
};

// Tells when the end has begun: the device threads are told to stop, or the exit command comes.
class EndWatchingMouse : public SimulatedMouse {
public:
    bool SetFeature(HidHandle handle, std::span<const uint8_t> report) override
    {
        if (report.size() > 1 && report[1] == 0x20) endBegun = true;
        if (report.size() > 2 && report[1] == 0x11 && report[2] == 0 && fireStopsToRefuse > 0) {
            --fireStopsToRefuse;
            return false;
        }
        return SimulatedMouse::SetFeature(handle, report);
    }
    void SetInputReadsCancelled(bool cancelled) override
    {
        if (cancelled) {
            endBegun = true;
            recordingAtThreadsStop = g_recording;
            if (prompts != nullptr) ownerAtThreadsStop = prompts->Owner();
        }
        SimulatedMouse::SetInputReadsCancelled(cancelled);
    }
    std::atomic<bool> endBegun{false};
    std::atomic<int> fireStopsToRefuse{0};
    uint32_t recordingAtThreadsStop = 0;
    const Win32UserPrompts* prompts = nullptr;
    HWND ownerAtThreadsStop = nullptr;
};

// Runs when the scope ends, also on a failed assertion: a window must go before the mouse it uses.
struct AtScopeEnd {
    std::function<void()> run;
    ~AtScopeEnd() { run(); }
};

bool WaitFor(const std::function<bool()>& condition)
{
    for (int ms = 0; ms < 10000 && !condition(); ++ms) Sleep(1);
    return condition();
}

// Close, the tray's Exit, frame button 1 and the mouse's removal, each while a step download and
// a press of a second fire button wait for the settings (held until the end begins) and a fire
// key runs: the device threads finish that work first, the fire is stopped, and the exit command
// (none after a removal) is the last report. A recording running at Close has ended before this
// thread waits for the device threads (its keyboard hook would wait with it), and the prompts are
// no longer owned by the window (a step's box would wait for this thread to disable it).
TEST_F(WindowLifeTest, TheExitCommandIsTheLastReportOnEveryRoadThatEnds)
{
    g_startDeviceThreads = ThreadsRunHere();
    if (!g_startDeviceThreads) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    const auto buttonEvent = [](int button) { return static_cast<uint8_t>(0xF0 + g_buttonSlotOrder[button]); };
    for (int road = 0; road < 4; ++road) {
        EndWatchingMouse mouse;
        ScopedHidPort port(mouse);
        OwnedPrompts prompts;
        mouse.prompts = &prompts;
        const AtScopeEnd endOfRoad{[&] {
            window_.reset();
            ResetDeviceLink();
        }};
        ASSERT_TRUE(Open());
        EXPECT_EQ(prompts.Owner(), Window());
        {
            std::lock_guard lock(g_settingsMutex);
            std::array<uint32_t, 9>& buttons = g_buttonAssignments[g_currentProfile & 3];
            buttons[0] = 0x100;  // the first macro of the first group, which the mouse's steps change
            buttons[2] = 40;
            buttons[4] = 40;
        }
        window_->RequestApply();
        mouse.QueueInputReport({6, buttonEvent(2), 0x80});
        ASSERT_TRUE(WaitFor([&] { return mouse.FireKeyActive(); }));
        mouse.ClearLog();
        if (road == 0) {
            g_page = kPageMacro;
            window_->CreateMacroPageControls();
            window_->RefreshMacroLists();
            g_macroList->Select(1);
            window_->StartOrStopRecording();
            ASSERT_EQ(g_recording, 1u);
        }

        std::promise<void> held;
        std::thread holder([&] {
            std::lock_guard lock(g_settingsMutex);
            held.set_value();
            WaitFor([&] { return mouse.endBegun.load(); });
        });
        held.get_future().wait();
        mouse.QueueInputReport({6, buttonEvent(4), 0x80});
        mouse.QueueInputReport({6, 0x01, 0x00});
        EXPECT_TRUE(WaitFor([&] { return mouse.PendingInputReports() == 0; }));
        switch (road) {
        case 0: SendMessageW(Window(), WM_CLOSE, 0, 0); break;
        case 1: SendMessageW(Window(), WM_COMMAND, ID_EXIT_DRIVER, 0); break;
        case 2: ClickMain(1); break;
        default: SendMessageW(Window(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, Removal()); break;
        }
        holder.join();
        EXPECT_EQ(Window(), nullptr) << road;
        EXPECT_FALSE(DeviceThreadsRunning()) << road;
        EXPECT_EQ(mouse.recordingAtThreadsStop, 0u) << road;
        EXPECT_EQ(mouse.ownerAtThreadsStop, nullptr) << road;
        EXPECT_TRUE(prompts.shown.empty()) << road;

        const std::vector<std::vector<uint8_t>> sent = mouse.SentReports();
        const auto command = [](uint8_t code) { return [code](const std::vector<uint8_t>& r) { return r[1] == code; }; };
        const auto commit = [](const std::vector<uint8_t>& r) { return r[1] == 0x18 && r[2] == 0x09; };
        EXPECT_GT(std::count_if(sent.begin(), sent.end(), commit), 0) << road;  // the step went out whole
        EXPECT_EQ(mouse.InterruptedRuns(), 0) << road;
        const auto lastFire = std::find_if(sent.rbegin(), sent.rend(), command(0x11));
        ASSERT_NE(lastFire, sent.rend()) << road;
        EXPECT_EQ((*lastFire)[2], 0) << road;
        EXPECT_FALSE(mouse.FireKeyActive()) << road;
        EXPECT_EQ(std::count_if(sent.begin(), sent.end(), command(0x20)), road < 3 ? 1 : 0) << road;
        if (road < 3) {
            EXPECT_EQ(sent.back()[1], 0x20) << road;
        }
    }
}

// A fire stop the mouse refuses at the end is not tried again once the exit command has gone:
// the window's object, which outlives its handle, sends nothing when it goes.
TEST_F(WindowLifeTest, NothingFollowsTheExitCommandWhenTheEndsFireStopFails)
{
    EndWatchingMouse mouse;
    ScopedHidPort port(mouse);
    const AtScopeEnd endOfTest{[&] {
        window_.reset();
        ResetDeviceLink();
    }};
    ASSERT_TRUE(Open());
    ASSERT_TRUE(SendFireKey(true));  // as a fire button's press does
    mouse.fireStopsToRefuse = 1;
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    window_.reset();
    const std::vector<std::vector<uint8_t>> sent = mouse.SentReports();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[1], 0x20);
}

// The box of a step's message, held between the choice of its owner and its opening until the end
// has begun.
EndWatchingMouse* s_endingMouse;
std::atomic<bool> s_boxOwnerChosen;

void HoldBoxUntilTheEndBegins()
{
    s_boxOwnerChosen = true;
    WaitFor([] { return s_endingMouse->endBegun.load(); });
}

// A step's message (its macro file held by another program) has its owner chosen on the input
// thread before Exit, and its box opens only once the end waits for the device threads: the box
// opens unowned, the person answers it, and the end goes on to the exit command. A box owned by
// the window would wait for the window's thread for good: then a helper ends the test program with
// a failure.
TEST_F(WindowLifeTest, AStepsMessageOpeningWhileTheEndWaitsForTheDeviceThreadsDoesNotHoldIt)
{
    g_startDeviceThreads = ThreadsRunHere();
    if (!g_startDeviceThreads) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    EndWatchingMouse mouse;
    ScopedHidPort port(mouse);
    OwnedPrompts prompts;
    prompts.realBoxes = true;
    const AtScopeEnd endOfTest{[&] {
        SetMessageOwnerChosenHook(nullptr);
        window_.reset();
        ResetDeviceLink();
    }};
    ASSERT_TRUE(Open());
    {
        std::lock_guard lock(g_settingsMutex);
        g_buttonAssignments[g_currentProfile & 3][0] = 0x100;  // the open macro, which a step writes back
    }
    const std::u16string groupFile = g_macroFolder + u"Gaming.dat";
    const UniqueHandle locked(
        CreateFileW(AsWide(groupFile), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    s_endingMouse = &mouse;
    s_boxOwnerChosen = false;
    SetMessageOwnerChosenHook(HoldBoxUntilTheEndBegins);

    std::atomic<bool> ended{false};
    std::atomic<bool> boxOpened{false};
    std::thread person([&] {
        const std::wstring caption(AsWide(ApplicationNameOfModulePath(ModuleFilePath())));
        for (const ULONGLONG deadline = GetTickCount64() + 30000; !ended;) {
            if (GetTickCount64() > deadline) {
                std::fprintf(stderr, "The end waits for ever for a step's message box.\n");
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 1);
            }
            HWND box = FindWindowW(L"#32770", caption.c_str());
            if (box != nullptr && IsWindowVisible(box)) {
                boxOpened = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(5);
        }
    });
    mouse.QueueInputReport({6, 0x01, 0x00});
    EXPECT_TRUE(WaitFor([] { return s_boxOwnerChosen.load(); }));
    SendMessageW(Window(), WM_COMMAND, ID_EXIT_DRIVER, 0);
    ended = true;
    person.join();
    EXPECT_EQ(Window(), nullptr);
    EXPECT_FALSE(DeviceThreadsRunning());
    EXPECT_TRUE(boxOpened);
    EXPECT_EQ(prompts.shown, std::vector<std::u16string>{WriteFailureText(groupFile, true)});
    const std::vector<std::vector<uint8_t>> sent = mouse.SentReports();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[1], 0x20);
}

// A mouse whose status read at start-up fails as an allocation that finds no memory left does.
class OutOfMemoryMouse : public SimulatedMouse {
public:
    bool GetFeature(HidHandle, std::span<uint8_t>) override { throw std::bad_alloc(); }
};

// Its message speaks the language config.ini gives.
TEST_F(WindowLifeTest, AStartUpThatFailsEndsWithAMessage)
{
    g_startDeviceThreads = ThreadsRunHere();
    const std::string config = folder_.Read("skins/config/config.ini");
    const size_t language = config.find("VER_SEL=1");
    ASSERT_NE(language, std::string::npos);
    for (const bool english : {true, false}) {
        folder_.Write("skins/config/config.ini", english ? config : std::string(config).replace(language, 9, "VER_SEL=0"));
        nested_.shown.clear();
        OutOfMemoryMouse failing;
        ScopedHidPort port(failing);
        const AtScopeEnd end{[&] {
            window_.reset();
            ResetDeviceLink();
        }};
        EXPECT_FALSE(Open());
        ASSERT_EQ(nested_.shown.size(), 1u);
        EXPECT_EQ(nested_.shown[0].text, CannotStartText(english));
        EXPECT_EQ(nested_.shown[0].text.substr(0, 3), english ? u"The" : u"El ");
        EXPECT_FALSE(DeviceThreadsRunning());
        EXPECT_EQ(failing.ExitCount(), 1);
        ASSERT_FALSE(failing.SentReports().empty());
        EXPECT_EQ(failing.SentReports().back()[1], 0x20);
    }
}

// The window of a start the system cannot make yet (the desktop still coming up) is made anew a
// second apart; one that never comes is told, and the start ends with a failure status.
TEST_F(WindowLifeTest, AWindowTheSystemCannotMakeIsMadeAgainAndOneThatNeverComesIsTold)
{
    class EndsWhenMade : public Dialog {
    public:
        explicit EndsWhenMade(int templateId) : Dialog(templateId) {}

    protected:
        BOOL OnInitDialog() override
        {
            End(IDOK);
            return TRUE;
        }
    };
    constexpr int kNoTemplate = 1;
    // config.ini is never read (g_languageEnglish is 0, as at the program's start): English.
    FakeClock clock;
    ScopedClock clockScope(clock);
    for (const int unmade : {kMainWindowTries - 1, kMainWindowTries}) {
        clock.ClearSleeps();
        nested_.shown.clear();
        int made = 0;
        const int status = RunMainWindow([&] {
            return std::make_unique<EndsWhenMade>(made++ < unmade ? kNoTemplate : IDD_ABOUTBOX);
        });
        EXPECT_EQ(made, kMainWindowTries) << unmade;
        EXPECT_EQ(clock.Sleeps(), std::vector<uint32_t>(kMainWindowTries - 1, kMainWindowRetryMs)) << unmade;
        if (unmade < kMainWindowTries) {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(nested_.shown.empty());
        } else {
            EXPECT_EQ(status, 1);
            ASSERT_EQ(nested_.shown.size(), 1u);
            EXPECT_EQ(nested_.shown[0].text, u"The program cannot start: not enough memory or system resources.");
        }
    }
}

}  // namespace
