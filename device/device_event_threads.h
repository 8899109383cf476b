#pragma once
// The two device threads, one turn at a time: the input thread waits for the mouse's input
// report, queues button reports and the mouse's profile switches in the order the mouse sent them
// and runs steps itself; the button-action thread carries out the queued reports in that order,
// each under the profile in force at its place: fire key, DPI level, profile, media key. The
// thread loops (device_threads.h) only call these turns; tests drive them against the simulated
// mouse.
//
// Sharing: the queue has a small lock of its own, so the input thread never waits on an apply to
// queue a report. The settings state (profile switch, DPI level) changes under g_settingsMutex,
// which the button-action turn holds while it carries out reports, and the fire key's holders are
// that turn's own, under the same lock. Reports go out under g_deviceReportMutex (inside the
// command protocol). The repaint request is made after the settings lock is released. A
// config.ini that takes no write is handed to the window to tell of (RequestWriteFailureShown),
// which never waits.
#include <array>
#include <atomic>
#include <cstddef>
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

constexpr uint8_t kButtonSlots = DeviceInputEvent::LastButton - DeviceInputEvent::FirstButton + 1;
// The reports waiting for the button-action thread: presses and profile switches are queued while
// fewer than this many wait; a release has a place beyond it when its press was queued (one per
// slot), so no queued press loses its release, and a press left out takes its release with it. A
// profile switch left out is followed after the reports queued before it (the presses after it
// were left out too).
constexpr size_t kButtonReportRoom = 512;
// Nothing waiting and no fire key held or owed a stop by a button: once the threads have stopped
// (and for tests).
void ClearButtonReports();
// How many reports wait for the button-action thread.
size_t ButtonReportsWaiting();
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
// that needs them. A fire stop the mouse refused is sent again at each button-action turn until it
// goes out (the mouse would fire on with every button up).
void DeviceInputTurn(DeviceLinkFilesSource& files);
void ButtonActionTurn(DeviceLinkFilesSource& files);

// Tests only: runs in each button-action turn right after it has taken the queued reports, so a
// test can place a report between that and what the turn does with them.
using ButtonActionReadHook = void (*)();
void SetButtonActionReadHook(ButtonActionReadHook hook);
