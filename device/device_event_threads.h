#pragma once
// The two device threads, one turn at a time: the input thread waits for the mouse's input
// report and turns it into pending state, the button-action thread carries out what a button
// bound to a host-side function needs (fire key, DPI level, profile, media key). The thread
// loops (device_threads.h) only call these turns; tests drive them against the simulated mouse.
//
// Sharing: the pending state below is atomic, each value written and read whole. Changes of the
// settings state (profile switch, DPI level) happen under g_settingsMutex, and reports go out
// under g_deviceReportMutex (inside the command protocol). The repaint request is made after the
// settings lock is released. A config.ini that takes no write is handed to the window to tell of
// (RequestWriteFailureShown), which never waits.
#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "device/device_link_files.h"

// Byte 1 of the input report.
namespace DeviceInputEvent {
constexpr uint8_t StepAgain = 0x00;
constexpr uint8_t StepUp = 0x01;
constexpr uint8_t StepDown = 0x02;
constexpr uint8_t ProfileSwitched = 0x03;
constexpr uint8_t NoButton = 0xF0;
constexpr uint8_t FirstButton = 0xF1;  // device slot 1
constexpr uint8_t LastButton = 0xF9;   // device slot 9
}  // namespace DeviceInputEvent

constexpr uint8_t kDeviceInputReportId = 6;
constexpr uint8_t kButtonPressedBit = 0x80;

// The button reports waiting for the button-action thread, one value per device slot (event
// 0xF1 + index), so that each report is carried out for its own button and none is lost to another
// button's: bits 0..7 the presses and bits 8..15 the releases reported since the last turn took
// them (each stopping at 255), bits 16..23 the state byte of the last press, kLastReportPressed
// when the last report was a press. The input thread adds each report, the button-action thread
// takes the counts (both by compare and exchange), so a report arriving during a turn waits for
// the next turn.
constexpr uint8_t kButtonSlots = DeviceInputEvent::LastButton - DeviceInputEvent::FirstButton + 1;
extern std::array<std::atomic<uint32_t>, kButtonSlots> g_buttonReports;
constexpr uint32_t kLastReportPressed = 0x1000000;
// Nothing waiting and no fire key started by a button: once the threads have stopped (and for
// tests). Threads stopped.
void ClearButtonReports();
// Whether a button report waits for the button-action thread.
bool ButtonReportsPending();
extern std::atomic<uint32_t> g_stepDirection;
// The input thread's own read buffer.
extern std::array<uint8_t, 256> g_inputBuffer;

// Reads the active profile from the mouse's status report and makes it the current profile:
// CurConfig, g_curConfig, g_currentProfile, the profile loaded, the window repainted. Nothing
// changes when the mouse does not answer. Takes g_settingsMutex; call it without.
void FollowProfileSwitchedOnMouse(IniSource& configIni);

// One input report, as the input thread handles it.
void HandleDeviceInputReport(std::span<const uint8_t> report, DeviceLinkFilesSource& files);

// One turn of each thread, 2 ms sleep included. The files are asked for only when a turn has work
// that needs them.
void DeviceInputTurn(DeviceLinkFilesSource& files);
void ButtonActionTurn(DeviceLinkFilesSource& files);

// Tests only: runs in each button-action turn right after it has taken the button reports, so a
// test can place a report between that and what the turn does with them.
using ButtonActionReadHook = void (*)();
void SetButtonActionReadHook(ButtonActionReadHook hook);
