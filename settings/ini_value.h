#pragma once
// Numbers in INI files are decimal text written with "%d" and read into small fixed buffers, so a
// longer value is cut before it is converted and a missing one reads as 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ini_source.h"

// Buffer widths of the profile values, the terminating null included.
constexpr size_t kShortValueChars = 5;
constexpr size_t kLongValueChars = 10;
constexpr size_t kMaxValueChars = 20;

// The runtime's _wtoi: leading blanks, an optional sign, then digits up to the first other
// character; no digits give 0. Out-of-range numbers saturate (never reached with 9 characters).
int32_t ParseIniInt(std::u16string_view text);

// "%d" of a 32-bit value: signed, no leading zeros.
std::u16string FormatIniInt(int32_t value);

// Reads key into a buffer of `chars` characters (null included, at most kMaxValueChars) and
// converts what fits.
int32_t ReadIniInt(IniSource& ini, const std::u16string& section, const std::u16string& key, size_t chars);

// Writes value with "%d". Unsigned globals are written as the signed number of the same bits.
bool WriteIniInt(IniSource& ini, const std::u16string& section, const std::u16string& key, int32_t value);
