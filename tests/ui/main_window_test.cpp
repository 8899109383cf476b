// The main window's start-up, life and end, driven by the messages Windows sends.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "app/clock.h"
#include "device/device_discovery.h"
#include "device/simulated_mouse.h"
#include "macros/macro_commands.h"
#include "macros/win32_profile_files.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/tev_menu.h"
#include "ui/window_messages.h"
#include "winlib/image_file.h"
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

}  // namespace
