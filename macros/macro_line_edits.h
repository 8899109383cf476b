#pragma once
// What an edited line of the macro page's lists writes back into a macro: a delay, the distances
// of a move, the level of a CPI change, the time of a light block, a macro's name. Platform-free:
// the window reads the lines, shows the messages in order and rebuilds its lists.
#include <cstdint>
#include <string_view>
#include <vector>

#include "macros/macro_record.h"

constexpr int32_t kMaxEditedDelay = 10000;
constexpr int32_t kMaxEditedMove = 100;
constexpr int32_t kMaxEditedLightSeconds = 25;  // the time byte holds tenths, at most 255

enum class LineEditMessage : uint8_t {
    MoreThanLimit,         // "More than limit!" / "Más que límite"
    MoreThanLimitEnglish,  // "More than limit!" in both languages
    CpiValues,             // the list of the twelve CPI values
};

// A number as typed: leading blanks and a sign, then digits up to the first other character;
// no digits read as 0. Very long numbers saturate.
int64_t ReadEditedNumber(std::u16string_view text);

// A typed CPI value as its level; 0 when it is not one of the twelve.
uint16_t CpiLevelOfValue(int64_t cpi);

struct LineEditResult {
    std::vector<LineEditMessage> messages;
    bool changed = false;
};

// The end of an edit of event-list line `line` (2k event k, 2k + 1 its delay) whose text is now
// `text`: a delay line sets the delay, the line of a move or of a CPI change its parameters. Any
// other line, a line of no event, or a negative line changes nothing.
LineEditResult ApplyEventLineEdit(MacroRecord& record, int32_t line, std::u16string_view text);

// The end of an edit of the light list's time line (line 3, `text`) while event-list line `line`
// is selected: the time of the selected light event's block. Nothing unless that line is the line
// of a light event whose block exists.
LineEditResult ApplyLightTimeEdit(MacroRecord& record, int32_t line, std::u16string_view text);

// A new name typed over a macro-list line: taken when it fits the name field (9 characters).
bool SetMacroNameFromLine(MacroRecord& record, std::u16string_view text);
