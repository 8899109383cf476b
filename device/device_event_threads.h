#pragma once
// The two device threads, one turn at a time: the input thread waits for the mouse's input
// report and turns it into pending state, the button-action thread carries out what a button
// bound to a host-side function needs (fire key, DPI level, profile, media key). The thread
// loops (device_threads.h) only call these turns; tests drive them against the simulated mouse.
//
// Sharing: the pending state below is atomic, each value written and read whole. Changes of the
// settings state (profile switch, DPI level) happen under g_settingsMutex, and reports go out
// under g_deviceReportMutex (inside the command protocol). The repaint request is made after the
// settings lock is released.
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

// The fire key's state as one value, so that a turn acts only on the press or release of the
// event it read with it: bits 0..7 the event of the last press recorded as pending (the fire
// commands follow its button), kFirePressPending after a press, kFireReleasePending after a
// release. The input thread writes it whole; the button-action thread only clears a flag, and only
// when the value is still the one it acted on (compare and exchange), so a report arriving during
// a turn waits for the next turn.
extern std::atomic<uint32_t> g_fireKeyState;
constexpr uint32_t kFirePressPending = 0x100;
constexpr uint32_t kFireReleasePending = 0x200;
constexpr uint8_t LastButtonEvent(uint32_t fireKeyState) { return static_cast<uint8_t>(fireKeyState & 0xFF); }
// The button press waiting for the button-action thread, as one value: 0 when none, else
// PendingButtonEvent(event, state). The input thread sets it only when it is 0, the button-action
// thread takes it by exchange, so the event carried out is always the one that was pending and a
// press arriving during a turn waits for the next turn. The window's start-up stores 0.
extern std::atomic<uint32_t> g_buttonEventPending;
constexpr uint32_t PendingButtonEvent(uint8_t event, uint8_t state)
{
    return 0x10000u | (static_cast<uint32_t>(state) << 8) | event;
}
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

// Tests only: runs in each button-action turn right after it has read the fire key's state, so a
// test can place a report between that read and what the turn does with it.
using ButtonActionReadHook = void (*)();
void SetButtonActionReadHook(ButtonActionReadHook hook);
