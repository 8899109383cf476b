#pragma once
// The Windows pointer speed and wheel scroll lines, which the apply sets. The program installs
// the Win32 implementation; tests and the host tree install one that records what was set.
#include <cstdint>
#include <vector>

// Update flags of the settings calls, with the values of the Win32 constants.
namespace SystemParameterUpdate {
constexpr uint32_t WriteUserProfile = 0x01;
constexpr uint32_t Broadcast = 0x02;
}  // namespace SystemParameterUpdate

class SystemParameters {
public:
    virtual ~SystemParameters() = default;
    virtual bool GetMouseSpeed(uint32_t& speed) = 0;
    virtual bool SetMouseSpeed(uint32_t speed, uint32_t updateFlags) = 0;
    virtual bool GetWheelScrollLines(uint32_t& lines) = 0;
    virtual bool SetWheelScrollLines(uint32_t lines, uint32_t updateFlags) = 0;
};

// Keeps the values in memory and every call that set one.
class RecordingSystemParameters : public SystemParameters {
public:
    struct Set {
        bool wheel;  // false: mouse speed
        uint32_t value;
        uint32_t updateFlags;
    };
    bool GetMouseSpeed(uint32_t& speed) override;
    bool SetMouseSpeed(uint32_t speed, uint32_t updateFlags) override;
    bool GetWheelScrollLines(uint32_t& lines) override;
    bool SetWheelScrollLines(uint32_t lines, uint32_t updateFlags) override;

    uint32_t mouseSpeed = 10;
    uint32_t wheelScrollLines = 3;
    bool readable = true;  // false: the Get calls fail, as on a system that refuses them
    std::vector<Set> sets;
};

// The parameters everything uses. Without one set, a RecordingSystemParameters of the program
// keeps the values (the program's own start-up installs the Win32 one).
SystemParameters& GetSystemParameters();
void SetSystemParameters(SystemParameters* parameters);
