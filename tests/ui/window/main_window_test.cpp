// The main window's start-up, life and end, driven by the messages Windows sends.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "base/clock.h"
#include "device/apply_tables.h"
#include "device/device_discovery.h"
#include "macros/macro_commands.h"
#include "macros/macro_line_codec.h"
#include "macros/win32_profile_files.h"
#include "settings/file_write_failure.h"
#include "sim/simulated_mouse.h"
#include "tests/macros/macro_test_records.h"
#include "tests/recording_prompts.h"
#include "tests/temp_folder.h"
#include "tests/tools/program_state.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/popups/tev_menu.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "ui/window/window_messages.h"
#include "winlib/image_file.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {

TEST_F(MainWindowTest, StartsUpWithProfileFontsGroupsShapeAndTray)
{
    ASSERT_TRUE(Open());
    EXPECT_TRUE(prompts_.shown.empty());
    wchar_t title[64] = {};
    GetWindowTextW(Window(), title, 64);
    EXPECT_STREQ(title, kMainWindowTitle);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_currentProfile, 0u);
    EXPECT_EQ(g_languageEnglish, 1u);
    EXPECT_EQ(g_skinFolder, g_programFolder + u"\\skins");
    EXPECT_EQ(g_macroFolder, g_skinFolder + u"\\INI_EN\\macro\\");
    EXPECT_EQ(g_buttonAssignments[0][8], 258u);
    ASSERT_TRUE(g_fontEn && g_fontEs && g_fontLarge);
    // 8.5 and 9.3 points at the test display's 96 pixels per inch.
    LOGFONTW font{};
    GetObjectW(g_fontEn.Get(), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    GetObjectW(g_fontLarge.Get(), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_GT(g_constMacroCount, 0);
    EXPECT_EQ(g_ledTypeNames[7], u"Ambilight");
    EXPECT_EQ(g_deviceConnected, 1);
    EXPECT_GT(window_->m_mainPos[3].width, 0);
    EXPECT_GT(window_->m_advancedPos[137].width, 0);
    EXPECT_FALSE(g_functionNames[1].empty());
    EXPECT_EQ(g_profileNames[0], g_functionNames[18]);
    EXPECT_EQ(g_trayMenu.count, 3);
    EXPECT_EQ(g_macroEditMenu.count, 34);

    // The shape is the mask's rule, pixel for pixel.
    const std::optional<ImageBitmap> mask = LoadImageBitmap(AsWide(g_skinFolder + u"\\main_mask.jpg"));
    ASSERT_TRUE(mask);
    const std::optional<PixelImage> pixels = ReadBitmapPixels(mask->bitmap.Get());
    ASSERT_TRUE(pixels);
    EXPECT_EQ(g_skinWidth, pixels->width);
    EXPECT_EQ(g_skinHeight, pixels->height);
    RegionOwner shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Window(), shape.Get()), ERROR);
    const std::vector<bool> inside = RegionPixels(shape.Get(), pixels->width, pixels->height);
    int mismatches = 0;
    for (size_t i = 0; i < inside.size(); ++i) {
        const uint32_t p = pixels->pixels[i];
        const bool cut = (p >> 16 & 0xFF) > 100 && (p >> 8 & 0xFF) > 100 && (p & 0xFF) > 100;
        if (inside[i] == cut) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(MainWindowTest, TrayNotificationsOfAnotherIconReturnOne)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(SendMessageW(Window(), WM_TRAY_NOTIFY, TRAY_ICON_ID + 1, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(SendMessageW(Window(), WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_MOUSEMOVE), 0);
}

TEST_F(MainWindowTest, ExitDriverAndCloseSendTheExitCommandAndEndTheWindow)
{
    for (UINT message : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        ASSERT_TRUE(Open());
        const int exits = mouse_.ExitCount();
        SendMessageW(Window(), message, message == WM_COMMAND ? 32800 : 0, 0);
        EXPECT_EQ(mouse_.ExitCount(), exits + 1);
        EXPECT_EQ(Window(), nullptr);
        EXPECT_EQ(window_->Result(), 0);
        window_.reset();
        ResetDeviceLink();
    }
}

TEST_F(MainWindowTest, PowerBroadcastRunsOneWholeApply)
{
    ASSERT_TRUE(Open());
    mouse_.ClearLog();
    SendMessageW(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(mouse_.ApplyCount(), 1);
    EXPECT_EQ(mouse_.InterruptedRuns(), 0);
    // Profile 1 button 1 (left click) reached the mouse's memory.
    EXPECT_GT(mouse_.SentReports().size(), 100u);
    EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(MainWindowTest, RemovalOfTheMouseEndsTheWindowWithoutTheExitCommand)
{
    ASSERT_TRUE(Open());
    std::vector<uint8_t> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + g_devicePath.size() * 2 + 2);
    auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    broadcast->dbcc_size = static_cast<DWORD>(bytes.size());
    broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::copy(g_devicePath.begin(), g_devicePath.end(), reinterpret_cast<char16_t*>(broadcast->dbcc_name));

    // Another device's removal changes nothing.
    const std::u16string path = g_devicePath;
    broadcast->dbcc_name[0] = L'X';
    EXPECT_EQ(SendMessageW(Window(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(broadcast)),
              TRUE);
    ASSERT_TRUE(IsWindow(Window()));
    broadcast->dbcc_name[0] = static_cast<wchar_t>(path[0]);
    SendMessageW(Window(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(broadcast));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(mouse_.ExitCount(), 0);
    EXPECT_EQ(g_deviceConnected, 0);
}

TEST_F(MainWindowTest, SystemCloseHidesTheWindowInsteadOfEndingIt)
{
    ASSERT_TRUE(Open());
    SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(mouse_.ExitCount(), 0);
}

TEST_F(MainWindowTest, NoMouseShowsThePlugInMessageOnceAndEnds)
{
    mouse_.SetInterfaces({});
    EXPECT_FALSE(Open());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].text, u"Please plug-in USB Mouse:AMorvek Quorvel Gaming Mouse Install");
    EXPECT_EQ(prompts_.shown[0].caption, u"");
    EXPECT_EQ(window_->Result(), 0);
    EXPECT_EQ(mouse_.ExitCount(), 0);
}

TEST_F(MainWindowTest, AMissingLayoutFileEndsTheProgramWithOneMessageAndOneExitCommand)
{
    ASSERT_TRUE(Open());  // the mouse is found once, so the command collection stays open
    window_.reset();
    std::filesystem::remove(folder_ / "skins/INI_EN/skin_main_en.ini");
    std::filesystem::remove(folder_ / "skins/INI_EN/skin_color_en.ini");
    const int exits = mouse_.ExitCount();
    EXPECT_FALSE(Open());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].text, u"找不到配置文件");
    EXPECT_EQ(mouse_.ExitCount(), exits + 1);
}

TEST_F(MainWindowTest, AConfigurationWithoutItsProfileEndsTheProgramWithOneMessageAndStaysAsItWas)
{
    // Missing, empty, and the current profile's section gone.
    for (const char* content : {static_cast<const char*>(nullptr), "", "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n"}) {
        std::filesystem::remove(folder_ / "skins/config/config.ini");
        if (content != nullptr) folder_.Write("skins/config/config.ini", content);
        prompts_.shown.clear();
        EXPECT_FALSE(Open());
        ASSERT_EQ(prompts_.shown.size(), 1u);
        EXPECT_NE(prompts_.shown[0].text.find(u"config.ini"), std::u16string::npos);
        EXPECT_EQ(window_->Result(), 0);
        EXPECT_EQ(g_deviceConnected, 0);
        if (content == nullptr) EXPECT_FALSE(std::filesystem::exists(folder_ / "skins/config/config.ini"));
        else EXPECT_EQ(folder_.Read("skins/config/config.ini"), content);
        window_.reset();
    }
}

TEST_F(MainWindowTest, AMaskThatCannotBeReadEndsTheProgramWithOneMessage)
{
    folder_.Write("skins/main_mask.jpg", "not a picture");
    EXPECT_FALSE(Open());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_NE(prompts_.shown[0].text.find(u"main_mask.jpg"), std::u16string::npos);
    EXPECT_EQ(window_->Result(), 0);
    // Nothing looked for the mouse.
    EXPECT_EQ(g_deviceConnected, 0);
}

// What a language puts on screen and in the editor: layouts, names, menus.
struct LanguageView {
    std::array<ButtonPos, kMainLayoutCount> mainPos;
    std::array<std::u16string, kMainLayoutCount> mainText;
    std::array<ButtonPos, kLedLayoutCount> ledPos;
    std::array<ButtonPos, kAdvancedLayoutCount> advancedPos;
    std::array<std::u16string, kMacroLayoutCount> macroText;
    decltype(g_functionNames) functions;
    decltype(g_ledTypeNames) ledTypes;
    decltype(g_lightModeNames) lightModes;
    decltype(g_macroGroupNames) groups;
    std::vector<std::pair<std::u16string, int32_t>> menus;
    std::u16string macroFolder;
    bool operator==(const LanguageView&) const = default;
};

LanguageView ViewOf(const CTEV_KestraDlg& window)
{
    LanguageView view{window.m_mainPos, window.m_mainText, window.m_ledPos, window.m_advancedPos,
                      window.m_macroText, g_functionNames, g_ledTypeNames, g_lightModeNames, g_macroGroupNames,
                      {}, g_macroFolder};
    for (const CTevMenu* menu : {&g_macroEditMenu, &g_trayMenu}) {
        for (int32_t i = 0; i < menu->count; ++i) view.menus.emplace_back(menu->items[i].text, menu->items[i].id);
    }
    return view;
}

std::u16string ReadInit(const std::u16string& iniPath, const wchar_t* key)
{
    wchar_t value[16] = {};
    GetPrivateProfileStringW(L"Init", key, L"", value, 16, AsWide(iniPath));
    return FromWide(value);
}

TEST_F(MainWindowTest, LanguageSwitchToSpanishAndBackReloadsEverything)
{
    ASSERT_TRUE(Open());
    const LanguageView english = ViewOf(*window_);
    const std::u16string englishGroup = GroupFilePath(g_macroFolder, 0);
    ASSERT_GT(g_macroCount, 1);
    g_currentMacro = 1;
    const std::u16string stored = files_.Get(englishGroup, kMacrosSection, u"1", kMacroLineBufferChars);
    SetMacroName(g_macroTable[1], u"Edited");  // in the table only: no edit, nothing to save

    window_->SwitchToSpanish();
    EXPECT_EQ(g_languageEnglish, 0u);
    EXPECT_EQ(ReadInit(g_configIniPath, L"VER_SEL"), u"0");
    EXPECT_EQ(ReadInit(g_configIniPath, L"CurConfig"), u"1");
    EXPECT_EQ(files_.Get(englishGroup, kMacrosSection, u"1", kMacroLineBufferChars), stored);
    EXPECT_EQ(g_macroFolder, g_skinFolder + u"\\INI_CN\\macro\\");
    EXPECT_EQ(g_macroResetFolder, g_skinFolder + u"\\INI_CN\\macroReset\\");
    EXPECT_EQ(g_macroGroupNames[0], u"Juegos");
    EXPECT_EQ(g_currentGroup, 0);
    EXPECT_EQ(g_ledTypeNames[7], u"Arco Iris");
    EXPECT_EQ(g_lightModeNames[4], u" Arco Iris");
    EXPECT_EQ(g_trayMenu.items[1].text, u"Mostrar ventana");
    EXPECT_EQ(g_trayMenu.items[1].id, 32837);
    EXPECT_EQ(g_trayMenu.items[2].text, u"Salir ");
    EXPECT_EQ(g_trayMenu.items[2].id, 32838);
    const LanguageView spanish = ViewOf(*window_);
    EXPECT_NE(spanish.mainText, english.mainText);
    EXPECT_NE(spanish.functions, english.functions);
    EXPECT_NE(spanish.menus, english.menus);
    wchar_t title[64] = {};
    GetWindowTextW(Window(), title, 64);
    EXPECT_STREQ(title, kMainWindowTitle);

    // Back, and once more to the language shown: each ends where an English start does.
    window_->SwitchToEnglish();
    EXPECT_EQ(ViewOf(*window_), english);
    EXPECT_EQ(ReadInit(g_configIniPath, L"VER_SEL"), u"1");
    EXPECT_EQ(g_macroTable[1].name[0], DecodeMacroLineName(stored)[0]);
    g_currentMacro = 1;
    window_->SwitchToEnglish();
    EXPECT_EQ(ViewOf(*window_), english);
    EXPECT_EQ(g_currentGroup, 0);
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_TRUE(IsWindow(Window()));

    // A config.ini another program holds keeps the language of the next start: the user is told.
    {
        const UniqueHandle locked(
            CreateFileW(AsWide(g_configIniPath), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        window_->SwitchToSpanish();
    }
    EXPECT_EQ(g_languageEnglish, 0u);
    EXPECT_EQ(ReadInit(g_configIniPath, L"VER_SEL"), u"1");
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].text, WriteFailureText(g_configIniPath, false));

    // A restart over the same folder comes up in the language chosen last.
    window_->SwitchToSpanish();
    window_.reset();
    ASSERT_TRUE(Open());
    EXPECT_EQ(g_languageEnglish, 0u);
    EXPECT_EQ(ViewOf(*window_), spanish);
}

TEST_F(MainWindowTest, LanguageSwitchWithNoGroupOrNoOpenMacroSavesNothingAndStillSwitches)
{
    // English with no group; the Spanish first group's file claims a negative macro count.
    folder_.Write("skins/INI_EN/macro/macroGrp.ini", "[MACRO_GROUP_NUM]\r\nmacGrpNum=0\r\n");
    const std::string spanishGroup = "skins/INI_CN/macro/Juegos.dat";
    std::string juegos = folder_.Read(spanishGroup);
    const size_t count = juegos.find("macroNum=");
    juegos.replace(count, juegos.find('\r', count) - count, "macroNum=-3");
    folder_.Write(spanishGroup, juegos);
    const auto english = std::filesystem::directory_iterator(folder_ / "skins/INI_EN/macro");
    const size_t englishFiles = std::distance(english, std::filesystem::directory_iterator());

    ASSERT_TRUE(Open());
    EXPECT_EQ(g_macroGroupCount, 0);
    window_->SwitchToSpanish();
    EXPECT_EQ(g_languageEnglish, 0u);
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(g_macroCount, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ / "skins/INI_EN/macro"),
                            std::filesystem::directory_iterator()),
              static_cast<ptrdiff_t>(englishFiles));
    EXPECT_EQ(folder_.Read("skins/INI_EN/macro/macroGrp.ini"), "[MACRO_GROUP_NUM]\r\nmacGrpNum=0\r\n");

    // Nothing is open in the Spanish group: leaving it keeps every line its file holds.
    window_->SwitchToEnglish();
    EXPECT_EQ(g_languageEnglish, 1u);
    EXPECT_EQ(folder_.Read(spanishGroup), juegos);
    EXPECT_TRUE(prompts_.shown.empty());
}

// A config.ini that takes no write, and a DPI level and then a profile switched on the mouse: each
// is told once, by the window on its own thread, while the device threads go on (the fire press
// after the two DPI presses is carried out before anything is shown).
TEST_F(MainWindowTest, DeviceThreadWritesThatFailAreToldOnceOnTheWindowsThread)
{
    g_startDeviceThreads = ThreadsRunHere();
    if (!g_startDeviceThreads) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    ASSERT_TRUE(Open());
    const auto buttonEvent = [](int button) { return static_cast<uint8_t>(0xF0 + g_buttonSlotOrder[button]); };
    const auto settled = [](const std::function<bool()>& condition) {
        for (int ms = 0; ms < 10000; ++ms) {
            {
                std::lock_guard lock(g_settingsMutex);
                if (condition()) return true;
            }
            Sleep(1);
        }
        return false;
    };
    const auto runPosted = [] {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    };
    {
        std::lock_guard lock(g_settingsMutex);
        g_buttonAssignments[0][2] = 40;  // fire key
        g_buttonAssignments[0][4] = 16;  // DPI
    }
    window_->RequestApply();
    // Held by another program.
    const UniqueHandle locked(
        CreateFileW(AsWide(g_configIniPath), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    const std::u16string told = WriteFailureText(g_configIniPath, true);

    mouse_.QueueInputReport({6, buttonEvent(4), 0x83});
    mouse_.QueueInputReport({6, buttonEvent(4), 0x84});
    EXPECT_TRUE(settled([] { return g_dpiLevel == 4; }));
    mouse_.QueueInputReport({6, buttonEvent(2), 0x80});
    EXPECT_TRUE(settled([&] { return mouse_.FireKeyActive(); }));
    EXPECT_TRUE(prompts_.shown.empty());
    runPosted();
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].text, told);

    mouse_.SetActiveProfile(1);
    mouse_.QueueInputReport({6, 0x03, 0x00});
    EXPECT_TRUE(settled([] { return g_currentProfile == 1; }));
    EXPECT_EQ(prompts_.shown.size(), 1u);
    runPosted();
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_EQ(prompts_.shown[1].text, told);
    mouse_.QueueInputReport({6, buttonEvent(2), 0x00});
    EXPECT_TRUE(settled([&] { return !mouse_.FireKeyActive(); }));
}

}  // namespace
