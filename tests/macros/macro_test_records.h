#pragma once
// Records with every stored field set, for round trips through the codec and the files.
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string_view>

#include "macros/macro_record.h"

inline void SetMacroName(MacroRecord& record, std::u16string_view name)
{
    record.name.fill(u'\0');
    std::copy_n(name.begin(), std::min(name.size(), record.name.size()), record.name.begin());
}

// keyCodes: the codes to cycle through for the events (must survive the key conversion).
template <size_t N>
MacroRecord FullMacroRecord(std::u16string_view name, const uint8_t (&keyCodes)[N], uint16_t events = 180)
{
    MacroRecord record{};
    SetMacroName(record, name);
    record.loopMode = 0x06;
    record.repeatCount = 0xBEEF;
    record.eventCount = events;
    record.moveCount = 50;
    record.countF7 = 5;
    record.cpiCount = 4;
    record.countFA = 3;
    record.lightCount = 5;
    record.light2Count = 2;
    for (size_t i = 0; i < kMaxMacroEvents; ++i) {
        record.actions[i] = static_cast<uint8_t>(1 + i % 15);
        record.codes[i] = keyCodes[i % N];
        record.params[i] = {static_cast<uint16_t>(i * 257 + 1), static_cast<uint16_t>(65535 - i * 3)};
        record.delays[i] = static_cast<uint16_t>(i * 55 + 7);
    }
    for (size_t b = 0; b < kLightBlockCount; ++b) {
        LightBlock& block = record.lightBlocks[b];
        block.stepCount = static_cast<uint8_t>(1 + b * 3);
        block.reserved = {static_cast<uint8_t>(b), 0, 255};
        for (size_t k = 0; k < kLightBlockSteps; ++k)
            block.steps[k] = {static_cast<uint8_t>(k + b), static_cast<uint8_t>(1 + k % 7),
                              static_cast<uint8_t>(k * 15), static_cast<uint8_t>(255 - k)};
    }
    return record;
}

inline bool SameStoredFields(const MacroRecord& a, const MacroRecord& b)
{
    return a.name == b.name && a.loopMode == b.loopMode && a.repeatCount == b.repeatCount &&
           a.eventCount == b.eventCount && a.moveCount == b.moveCount && a.countF7 == b.countF7 &&
           a.cpiCount == b.cpiCount && a.countFA == b.countFA && a.lightCount == b.lightCount &&
           a.light2Count == b.light2Count && a.actions == b.actions && a.codes == b.codes &&
           std::equal(a.params.begin(), a.params.end(), b.params.begin(),
                      [](const MacroParam& p, const MacroParam& q) { return p.x == q.x && p.y == q.y; }) &&
           a.delays == b.delays &&
           std::memcmp(a.lightBlocks.data(), b.lightBlocks.data(), sizeof(a.lightBlocks)) == 0;
}

inline bool SameRecord(const MacroRecord& a, const MacroRecord& b)
{
    return SameStoredFields(a, b) &&
           std::memcmp(a.light2Blocks.data(), b.light2Blocks.data(), sizeof(a.light2Blocks)) == 0;
}
