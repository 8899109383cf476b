#pragma once
// The record line of a macro file: every byte of a record as three decimal digits, key codes as
// virtual keys of a keyboard layout. Pure functions, so the readers and the fuzzer share them.
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/macro_record.h"

constexpr size_t kMacroLineFields = 1815;
constexpr size_t kMacroLineDigits = kMacroLineFields * 3;  // 5445
constexpr size_t kMacroLineHeaderFields = 35;
constexpr size_t kMacroLineEventFields = 8;
constexpr size_t kMacroLineLightField = kMacroLineHeaderFields + kMaxMacroEvents * kMacroLineEventFields;  // 1475

// Converts a key code from one space to the other (HID usage <-> virtual key).
using KeyConvert = uint8_t (*)(uint8_t);

// Field `index` of a line: its three characters (fewer, or none, where the line ends) read as a
// decimal integer with leading blanks and a sign allowed; no digits read as 0.
int32_t ThreeDigitField(std::u16string_view line, size_t index);

// text followed by value as three digits ("00%d" below 10, "0%d" below 100, "%d" otherwise).
std::u16string AppendNumber3(std::u16string text, int32_t value);

// The 5445-digit line of a record; the code of each event goes through hidToVk.
std::u16string EncodeMacroLine(const MacroRecord& record, KeyConvert hidToVk);

// Sets every stored field of `record` from the line (fields past its end read 0; light2Blocks is
// not stored and stays as it was), codes through vkToHid, then clamps what the record cannot hold.
void DecodeMacroLine(std::u16string_view line, MacroRecord& record, KeyConvert vkToHid);

// The name of the record a line holds: its first 20 fields as UTF-16 little-endian units, ending
// at the first zero unit and after at most 9 characters, as the record reader keeps it.
std::u16string DecodeMacroLineName(std::u16string_view line);
