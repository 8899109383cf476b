#include "device/system_parameters.h"

#include <atomic>

bool RecordingSystemParameters::GetMouseSpeed(uint32_t& speed)
{
    if (readable) speed = mouseSpeed;
    return readable;
}

bool RecordingSystemParameters::SetMouseSpeed(uint32_t speed, uint32_t updateFlags)
{
    mouseSpeed = speed;
    sets.push_back({false, speed, updateFlags});
    return true;
}

bool RecordingSystemParameters::GetWheelScrollLines(uint32_t& lines)
{
    if (readable) lines = wheelScrollLines;
    return readable;
}

bool RecordingSystemParameters::SetWheelScrollLines(uint32_t lines, uint32_t updateFlags)
{
    wheelScrollLines = lines;
    sets.push_back({true, lines, updateFlags});
    return true;
}

namespace {
RecordingSystemParameters g_memoryParameters;
std::atomic<SystemParameters*> g_parameters{nullptr};
}  // namespace

SystemParameters& GetSystemParameters()
{
    SystemParameters* parameters = g_parameters.load();
    return parameters ? *parameters : g_memoryParameters;
}

void SetSystemParameters(SystemParameters* parameters) { g_parameters.store(parameters); }
