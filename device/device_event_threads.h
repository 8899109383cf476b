#pragma once
// The two device threads, one turn at a time: the input thread waits for the mouse's input
// report and turns it into pending state, the button-action thread carries out what a button
// bound to a host-side function needs (fire key, DPI level, profile, media key). The endless
// thread procedures only call these turns; tests drive them against the simulated mouse.
//
// Sharing: the pending state below is atomic, each value written and read whole. Changes of the
// settings state (profile switch, DPI level) happen under g_settingsMutex, and reports go out
// under g_deviceReportMutex (inside the command protocol).
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

extern std::atomic<uint32_t> g_firePressPending;
extern std::atomic<uint32_t> g_fireReleasePending;
extern std::atomic<uint32_t> g_buttonEventPending;
extern std::atomic<uint8_t> g_lastButtonEvent;
// Byte 2 of the report that made the pending button event (its DPI level for DPI buttons).
extern std::atomic<uint8_t> g_lastButtonState;
extern std::atomic<uint32_t> g_stepDirection;
// The input thread's own read buffer.
extern std::array<uint8_t, 256> g_inputBuffer;

// Reads the active profile from the mouse's status report and makes it the current profile:
// CurConfig, g_curConfig, g_currentProfile, the profile loaded, the window repainted. Nothing
// changes when the mouse does not answer.
void FollowProfileSwitchedOnMouse(IniSource& configIni);

// One input report, as the input thread handles it.
void HandleDeviceInputReport(std::span<const uint8_t> report, DeviceLinkFiles& files);

// One turn of each thread, 2 ms sleep included.
void DeviceInputTurn(DeviceLinkFiles& files);
void ButtonActionTurn(DeviceLinkFiles& files);
