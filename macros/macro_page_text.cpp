#include "macros/macro_page_text.h"

#include "settings/ini_value.h"
#include "settings/key_vocabulary.h"

namespace {

std::u16string Number(int32_t value) { return FormatIniInt(value); }

std::u16string MoveText(const MacroEvent& event)
{
    const char16_t* xSign = nullptr;
    const char16_t* ySign = nullptr;
    switch (event.action) {
    case MacroEventAction::MoveMinusXMinusY: xSign = u"-"; ySign = u"-"; break;
    case MacroEventAction::MoveMinusXPlusY: xSign = u"-"; ySign = u"+"; break;
    case MacroEventAction::MovePlusXMinusY: xSign = u"+"; ySign = u"-"; break;
    case MacroEventAction::MovePlusXPlusY: xSign = u"+"; ySign = u"+"; break;
    default: return u"[X]:eeror,[Y]:eeror";
    }
    return std::u16string(u"[X") + xSign + u"]:" + Number(event.x) + u",[Y" + ySign + u"]:" + Number(event.y);
}

std::u16string CpiText(const MacroEvent& event)
{
    if (event.action == MacroEventAction::SetCpi) return u"[DPI]:" + Number(static_cast<int32_t>(MacroCpiValue(event.x))) + u" ";
    if (event.action == MacroEventAction::ResetCpi) return u"[DPI]:Reset";
    return u"[DPI]:Error";
}

std::u16string LightText(const MacroEvent& event)
{
    if (event.action >= MacroEventAction::LightMode0 && event.action <= MacroEventAction::LightMode2)
        return u"LED-" + Number(event.x) + u" ";
    return u"[LED0/1/2]:error";
}

// The entry of the mode names a light step's mode shows; 4 for any mode outside the table.
size_t ModeNameEntry(uint8_t mode)
{
    switch (mode) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 6: return 3;
    case 9: return 5;
    default: return 4;
    }
}

constexpr uint8_t kUnknownLightMode = 7;

}  // namespace

std::u16string MacroEventLineText(const MacroEvent& event)
{
    switch (event.code) {
    case MacroEventCode::Move: return MoveText(event);
    case MacroEventCode::Cpi: return CpiText(event);
    case MacroEventCode::Light: return LightText(event);
    case MacroEventCode::Delay: return u"[Delay]";
    default: break;
    }
    const std::u16string name = GetKeyDisplayName(event.code);
    if (event.action == MacroEventAction::Press) return kDownArrowPrefix + name;
    if (event.action == MacroEventAction::Release) return kUpArrowPrefix + name;
    return name;
}

std::u16string MacroDelayLineText(uint16_t delay) { return u"    " + Number(delay) + u"ms"; }

std::vector<std::u16string> MacroEventLines(const MacroRecord& record, size_t k)
{
    std::vector<std::u16string> lines;
    if (k >= record.eventCount || k >= kMaxMacroEvents) return lines;
    if (k > 0) lines.push_back(MacroDelayLineText(record.delays[k - 1]));
    lines.push_back(MacroEventLineText(record.Event(k)));
    return lines;
}

std::vector<std::u16string> MacroEventListLines(const MacroRecord& record)
{
    std::vector<std::u16string> lines;
    for (size_t k = 0; k < record.eventCount && k < kMaxMacroEvents; ++k) {
        for (std::u16string& line : MacroEventLines(record, k)) lines.push_back(std::move(line));
    }
    return lines;
}

LightBlockLines ShowLightBlock(LightBlock& block, bool english, std::span<const std::u16string> modeNames)
{
    LightBlockLines shown;
    LightStep& step = block.steps[0];
    shown.mode = step.mode;
    shown.lines.push_back(u"[LEN     ]:" + Number(block.stepCount));
    if (block.stepCount == 0) return shown;

    const size_t entry = ModeNameEntry(step.mode);
    if (entry == 4) {
        step.mode = kUnknownLightMode;
        shown.mode = kUnknownLightMode;
    }
    const std::u16string modeName = entry < modeNames.size() ? modeNames[entry] : std::u16string();
    shown.lines.push_back((english ? u"[Mode]:" : u"[Modo]:") + modeName);
    if (step.colour == 0) step.colour = 1;
    shown.lines.push_back(shown.mode == 6 || shown.mode == 7 ? std::u16string(u"[Colour]:Define")
                                                             : u"[Colour]:Colour" + Number(step.colour));
    shown.lines.push_back((english ? u"[Time]:" : u"[Duration]:") + Number(step.time / 10) + u"s");
    return shown;
}
