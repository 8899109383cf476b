#pragma once
// The 8-byte descriptor that tells the mouse what a macro or media-key slot plays and where.
#include <array>
#include <cstdint>

struct SlotDescriptor {
    uint32_t entryCount = 0;     // E, 13 bits
    bool playMode2 = false;      // R
    bool loopMode1 = false;      // L1
    bool loopBit2 = false;       // L4
    bool cpiFlag = false;
    uint8_t keyUsage = 0xFF;     // key assignments only
    uint16_t consumerUsage = 0;  // media keys (and code 32)
    uint32_t streamAddress = 0;  // 14 bits

    std::array<uint8_t, 8> Encode() const;
};

// R, L1, L4 from a macro's loop-mode byte: at most one of them is set.
void SetLoopFlags(SlotDescriptor& descriptor, uint8_t loopMode);
