#pragma once
// The texts of the editor's messages, by language (1 English, anything else Spanish).
#include <cstdint>
#include <string>

#include "macros/macro_event_edit.h"
#include "macros/macro_line_edits.h"

inline constexpr char16_t kMoreThanLimitEn[] = u"More than limit!";
inline constexpr char16_t kMoreThanLimitEs[] = u"Más que límite";
inline constexpr char16_t kEditErrorText[] = u"Error!";
inline constexpr char16_t kCpiValuesText[] = u"CPI(:200/400/600/800/1000/1200/1600/2000/2400/3200/4000/4800)";

std::u16string MoreThanLimitText(uint32_t language);
// Empty for Done.
std::u16string MacroEditResultText(MacroEditResult result, uint32_t language);
std::u16string LineEditMessageText(LineEditMessage message, uint32_t language);
