#pragma once
// One record of a skin layout file: "label,x,y,width,height,text,rest". The value is read into a
// fixed buffer and cut at its first six commas into seven fields; everything behind the sixth
// comma, further commas included, is the last field.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/ini_source.h"

constexpr size_t kLayoutValueChars = 260;  // the read buffer, terminating null included
constexpr size_t kLayoutFieldCount = 7;
constexpr size_t kLayoutRecordCommas = kLayoutFieldCount - 1;

using LayoutFields = std::array<std::u16string, kLayoutFieldCount>;

struct LayoutRecord {
    LayoutFields fields;
    bool tooManyCommas = false;  // more than six commas: the last field holds the surplus
};

// A value without commas is field 0 whole. With one to five commas the pieces fill the first
// fields in order and the fields behind them stay empty.
LayoutRecord SplitLayoutRecord(std::u16string_view value);

// Reads the record of `key` in `section` (a missing key reads as an empty value) into fields. A
// record with more than six commas shows "加载ini错误！" and is still split.
void ReadIniRecord(IniSource& file, const std::u16string& section, int key, LayoutFields& fields);
