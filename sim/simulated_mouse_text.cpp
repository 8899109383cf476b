#include "sim/simulated_mouse_text.h"

#include <algorithm>
#include <cstdio>

std::string HexBytes(std::span<const uint8_t> bytes)
{
    std::string out;
    char text[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(text, sizeof text, i ? " %02X" : "%02X", bytes[i]);
        out += text;
    }
    return out;
}

std::string ReportLogLine(const LoggedReport& entry)
{
    switch (entry.direction) {
    case ReportDirection::GetFeature:
        return "read " + HexBytes(entry.bytes);
    case ReportDirection::InputRead:
        return "input " + HexBytes(entry.bytes);
    case ReportDirection::SetFeature:
        break;
    }
    return HexBytes(entry.bytes);
}

std::string MemoryRowsText(const SimulatedMouse& mouse)
{
    constexpr std::size_t kRow = 8;
    constexpr std::size_t kMemorySize = 0x10000;
    const std::vector<uint8_t> memory = mouse.MemoryRange(0, kMemorySize);
    std::string out;
    char address[8];
    for (std::size_t row = 0; row + kRow <= memory.size(); row += kRow) {
        const std::span<const uint8_t> bytes(memory.data() + row, kRow);
        if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; })) continue;
        std::snprintf(address, sizeof address, "%04X ", static_cast<unsigned>(row));
        out += address + HexBytes(bytes) + "\n";
    }
    return out;
}
