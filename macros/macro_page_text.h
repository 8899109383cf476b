#pragma once
// The lines of the macro page's three lists: an event list shows event k on line 2k and its
// delay on line 2k + 1 (the last event's delay is never shown); the light list shows one light
// block. Platform-free: the window adds the lines. Key names follow the language of the moment.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "macros/macro_record.h"

inline constexpr char16_t kDownArrowPrefix[] = u"[\u2193]";
inline constexpr char16_t kUpArrowPrefix[] = u"[\u2191]";

// The line of one event.
std::u16string MacroEventLineText(const MacroEvent& event);

// The delay line: four blanks, the delay, "ms".
std::u16string MacroDelayLineText(uint16_t delay);

// The lines event k adds to an event list: the delay line of event k - 1 (when k > 0), then its
// own line. Nothing for an event past the record's count.
std::vector<std::u16string> MacroEventLines(const MacroRecord& record, size_t k);

// Every line of a record's event list, in order (2n - 1 lines for n events).
std::vector<std::u16string> MacroEventListLines(const MacroRecord& record);

struct LightBlockLines {
    std::vector<std::u16string> lines;
    uint8_t mode = 0;  // step 0's mode as shown
};

// The light list of `block`: its length, then step 0's mode, colour and time when it has a step.
// Showing puts step 0 in the form the editor works on: a mode outside the known ones becomes 7
// (shown as modeNames[4]) and colour 0 becomes 1. Further steps (only files make them) are not
// listed: the editor addresses lines 0 to 3 and edits step 0 alone.
LightBlockLines ShowLightBlock(LightBlock& block, bool english, std::span<const std::u16string> modeNames);
