#pragma once
// The real main window over a fresh copy of the data folder, with the simulated mouse as the HID
// port and the message seam answering: created modeless, driven by the messages Windows sends.
// Shared by the window's test files.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string_view>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "device/device_discovery.h"
#include "macros/macro_commands.h"
#include "macros/win32_profile_files.h"
#include "sim/simulated_mouse.h"
#include "tests/recording_prompts.h"
#include "tests/temp_folder.h"
#include "tests/threads_run_here.h"
#include "tests/tools/program_state.h"
#include "ui/macro_page/editable_list_box.h"
#include "ui/macro_page/macro_event_editing.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"

#include "ui/pages/page_state.h"
#include "ui/popups/popup_state.h"

namespace {

// The window's own sleeps (the apply's pacing) pass at once; the device threads' turns really
// sleep, so they do not spin.
class WindowTestClock : public Clock {
public:
    void SleepMs(uint32_t ms) override
    {
        now_ += ms;
        if (std::this_thread::get_id() != owner_) Sleep(ms);
    }
    void WaitMs(uint32_t ms, std::stop_token stop) override
    {
        now_ += ms;
        if (std::this_thread::get_id() != owner_) WaitForStop(ms, std::move(stop));
    }
    uint64_t NowMs() override { return now_.load(); }

private:
    std::thread::id owner_ = std::this_thread::get_id();
    std::atomic<uint64_t> now_{0};
};

// Which pixels of a width x height area a region covers, from its rectangles.
inline std::vector<bool> RegionPixels(HRGN region, int32_t width, int32_t height)
{
    std::vector<bool> inside(static_cast<size_t>(width) * height, false);
    std::vector<uint8_t> data(GetRegionData(region, 0, nullptr));
    if (data.empty() || GetRegionData(region, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())) == 0)
        return inside;
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    for (DWORD r = 0; r < header->nCount; ++r) {
        for (LONG y = std::max<LONG>(rects[r].top, 0); y < std::min<LONG>(rects[r].bottom, height); ++y) {
            for (LONG x = std::max<LONG>(rects[r].left, 0); x < std::min<LONG>(rects[r].right, width); ++x)
                inside[static_cast<size_t>(y) * width + x] = true;
        }
    }
    return inside;
}

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() : clockScope_(clock_), portScope_(mouse_)
    {
        ResetProgramState();
        ResetPageState();
        ResetPopupState();
        ResetDeviceLink();
        namespace fs = std::filesystem;
        fs::copy(fs::path(KESTRA_SOURCE_DIR) / "skins", folder_ / "skins", fs::copy_options::recursive);
        fs::copy_file(fs::path(KESTRA_SOURCE_DIR) / "constMacro.dat", folder_ / "constMacro.dat");
        g_programFolder = folder_.Path().u16string();
        SetProfileFiles(&files_);
#ifndef _WIN64
        // The 32-bit tree runs under qemu on some machines, where a second thread ends the program.
        g_startDeviceThreads = false;
#endif
        // The event list's menu is modal: here it is counted, never shown.
        g_trackContextMenu = CountMenu;
    }
    void SetUp() override
    {
        if (!std::filesystem::exists(std::filesystem::path(KESTRA_SOURCE_DIR) / "skins" / "main_mask.jpg"))
            GTEST_SKIP() << "the data folder has no images yet";
    }
    ~MainWindowTest() override
    {
        window_.reset();
        SetProfileFiles(nullptr);
        ResetDeviceLink();
        ResetProgramState();
        ResetPageState();
        ResetPopupState();
        g_suppressEditNotify = 0;
        g_startDeviceThreads = true;
        g_trackContextMenu = systemMenu_;
    }

    // Creates the window; false when its start-up ended it.
    bool Open()
    {
        window_ = std::make_unique<CTEV_KestraDlg>();
        return window_->Create() && IsWindow(window_->Handle());
    }
    HWND Window() const { return window_->Handle(); }

    // A right-click on the macro page's event list at its first line, as the window's message
    // filter takes it, and `command` chosen from the menu it pops up.
    void ChooseFromEventMenu(UINT command)
    {
        RECT rect{};
        GetWindowRect(g_eventList->Handle(), &rect);
        MSG click{g_eventList->Handle(), WM_RBUTTONUP, 0, 0, 0, {rect.left + 4, rect.top + 4}};
        const int tracked = menusTracked_;
        window_->PreTranslateMessage(&click);
        EXPECT_EQ(menusTracked_, tracked + 1);
        SendMessageW(Window(), WM_COMMAND, command, 0);
    }

    TempFolder folder_;
    WindowTestClock clock_;
    SimulatedMouse mouse_;
    RecordingPrompts prompts_;
    Win32ProfileFiles files_;
    std::unique_ptr<CTEV_KestraDlg> window_;

private:
    static void CountMenu(HMENU, POINT, HWND) { ++menusTracked_; }

    static inline int menusTracked_ = 0;
    ScopedClock clockScope_;
    ScopedHidPort portScope_;
    const ContextMenuTracker systemMenu_ = g_trackContextMenu;
};

}  // namespace
