#include "ui/pages/page_painting.h"

#include <algorithm>
#include <array>

#include "macros/macro_record.h"
#include "settings/ini_value.h"
#include "settings/key_vocabulary.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/pages/paint_settings.h"
#include "ui/pages/saturating_sum.h"

namespace {

constexpr ColorRef kWhite = MakeColorRef(255, 255, 255);
constexpr ColorRef kRed = MakeColorRef(255, 0, 0);
constexpr ColorRef kRecordColour = MakeColorRef(1, 255, 246);

constexpr size_t kFrameTexts = 10;  // text index t < 10 is main id t on pages 1..3

// Main page ids.
constexpr int kProfileText = 11;
constexpr int kFirstMouseButton = 20;
constexpr int kSpanishButton = 4;
constexpr int kEnglishButton = 5;

// Advanced page ids.
constexpr int kPointerBar = 1, kPointerNumber = 2, kWheelBar = 18, kWheelNumber = 19;
constexpr int kFireBar = 31, kFireNumber = 32;
constexpr int kFirstDpiSwatch = 41, kFirstDpiBox = 47, kFirstDpiMarker = 60;

// Macro page ids.
constexpr int kRecordButton = 5;

// Lighting page ids.
constexpr int kUserColourSwitch = 14, kEffectName = 35, kBrightnessBar = 40, kSpeedBar = 41;
constexpr int kSymmetryBox = 45, kFirstDirection = 47, kFirstReactEnable = 51, kFirstReactType = 61;
constexpr int kFirstColourBox = 7, kEffect3Label = 98;
constexpr int kBarTextMargin = 30;  // the lighting bars' numbers stand left of their ends

const std::array<PagePaintInfo, kSkinPageCount> kPages = {{
    {u"\\main_normal.jpg", u"\\main_over.jpg", u"\\main_down.jpg", 6, kMainLayoutCount},
    {u"\\advanced_normal.jpg", u"\\advanced_over.jpg", u"\\advanced_down.jpg", 7, kFrameTexts + kAdvancedLayoutCount},
    {u"\\mac_normal.jpg", u"\\mac_over.jpg", u"\\mac_down.jpg", 8, kFrameTexts + kMacroLayoutCount},
    {u"\\led_normal.jpg", u"\\led_over.jpg", u"\\led_down.jpg", 9, kFrameTexts + kLedLayoutCount},
}};

void AddCopy(PaintPlan& plan, std::span<const ButtonPos> table, int id, SkinLook look)
{
    if (id < 0 || static_cast<size_t>(id) >= table.size()) return;
    plan.push_back({PaintOp::Kind::Copy, look, table[static_cast<size_t>(id)], 0, false, {}});
}

void AddFill(PaintPlan& plan, const ButtonPos& rect, ColorRef colour)
{
    plan.push_back({PaintOp::Kind::Fill, SkinLook::Hovered, rect, colour, false, {}});
}

// A bar shows its fill from the pressed image, from its left edge, at full height.
void AddBar(PaintPlan& plan, std::span<const ButtonPos> table, int id, int64_t value, int64_t full)
{
    if (static_cast<size_t>(id) >= table.size()) return;
    ButtonPos fill = table[static_cast<size_t>(id)];
    fill.width = BarFillWidth(value, full, fill.width);
    if (fill.width > 0) plan.push_back({PaintOp::Kind::Copy, SkinLook::Pressed, fill, 0, false, {}});
}

void PlanAdvancedControls(PaintPlan& plan, std::span<const ButtonPos> table, const PaintSettings& s)
{
    if (s.dpiLevel < kDpiLevelCount) AddCopy(plan, table, kFirstDpiMarker + static_cast<int>(s.dpiLevel), SkinLook::Pressed);
    for (uint32_t level = 0; level < kDpiLevelCount; ++level) {
        const ColorRef colour = s.dpiColourRefs[level];
        const int swatch = kFirstDpiSwatch + static_cast<int>(level);
        if (static_cast<size_t>(swatch) < table.size()) AddFill(plan, table[static_cast<size_t>(swatch)], colour);
        const int first = kFirstDpiSegment + kDpiSegmentsPerLevel * static_cast<int>(level);
        const int last = LastFilledDpiSegment(level, s.dpiBarPos[level]);
        for (int id = first; id <= last && static_cast<size_t>(id) < table.size(); ++id) {
            AddFill(plan, DpiSegmentFillRect(table[static_cast<size_t>(id)]), colour);
        }
        if (s.dpiSetEnabled[level] == 1) AddCopy(plan, table, kFirstDpiBox + static_cast<int>(level), SkinLook::Pressed);
    }
    AddBar(plan, table, kPointerBar, s.pointerSpeed, 10);
    AddBar(plan, table, kWheelBar, s.wheelSpeed, 10);
    AddBar(plan, table, kFireBar, s.fireTime, 300);
}

void PlanMacroControls(PaintPlan& plan, std::span<const ButtonPos> table, const PaintSettings& s)
{
    if (g_recording) AddCopy(plan, table, kRecordButton, SkinLook::Pressed);
    if (!s.currentMacroLoopMode) return;
    switch (*s.currentMacroLoopMode & MacroLoopMode::Mask) {
    case 2: AddCopy(plan, table, 10, SkinLook::Pressed); break;
    case 1: AddCopy(plan, table, 11, SkinLook::Pressed); break;
    case 0: AddCopy(plan, table, 12, SkinLook::Pressed); break;
    default: break;
    }
}

void PlanLightingControls(PaintPlan& plan, std::span<const ButtonPos> table, const PaintSettings& s)
{
    // Brightness 0 is the brightest: its bar is full.
    AddBar(plan, table, kBrightnessBar, 7 - int64_t{s.ledBrightness}, 7);
    AddBar(plan, table, kSpeedBar, int64_t{s.ledCycleTime} + 1, 6);
    if (s.ledSymmetry) AddCopy(plan, table, kSymmetryBox, SkinLook::Pressed);
    if (s.ledDirection <= 3) AddCopy(plan, table, kFirstDirection + static_cast<int>(s.ledDirection), SkinLook::Pressed);
    for (uint32_t slot = 0; slot < kUserColourCount; ++slot) {
        if (s.cycleColourEnabled[slot]) AddCopy(plan, table, kFirstColourBox + static_cast<int>(slot), SkinLook::Pressed);
    }
    for (uint32_t button = 0; button < kMouseButtonCount; ++button) {
        if (s.ledReactEnabled[button]) AddCopy(plan, table, kFirstReactEnable + static_cast<int>(button), SkinLook::Pressed);
    }
    if (s.ledUserColourEnabled) AddCopy(plan, table, kUserColourSwitch, SkinLook::Pressed);
    for (uint32_t slot = 0; slot < kUserColourCount; ++slot) {
        if (!s.cycleColourEnabled[slot]) continue;
        if (!s.ledUserColourEnabled) {
            AddCopy(plan, table, static_cast<int>(slot), SkinLook::Pressed);
        } else if (slot < table.size()) {
            AddFill(plan, table[slot], s.ledUserColourRefs[slot]);
        }
    }
    for (const uint8_t id : LedCoverIds(s.ledMode)) AddCopy(plan, table, id, SkinLook::Cover);
}

std::u16string ReactionTypeName(uint32_t type, const std::u16string& layoutText, uint32_t languageEnglish)
{
    static constexpr std::array<const char16_t*, 4> kEnglish = {u"Cycle breath", u"Flowing water", u"Comet tail",
                                                                u"Single water"};
    static constexpr std::array<const char16_t*, 4> kSpanish = {u"Respiración en ciclo", u"Flujo de agua",
                                                                u"Cola de cometa", u"Flujo simple"};
    if (type >= kEnglish.size()) return layoutText;
    return languageEnglish == 1 ? kEnglish[type] : kSpanish[type];
}

struct TextPlace {
    std::span<const ButtonPos> table;
    std::span<std::u16string> texts;
    int id;
    bool frame;  // a main-layout id
};

TextPlace TextPlaceOf(const SkinTables& tables, uint8_t page, size_t t)
{
    if (page == kPageMain || t < kFrameTexts) return {tables.mainPos, tables.mainText, static_cast<int>(t), true};
    const int id = static_cast<int>(t - kFrameTexts);
    switch (page) {
    case kPageAdvanced: return {tables.advancedPos, tables.advancedText, id, false};
    case kPageMacro: return {tables.macroPos, tables.macroText, id, false};
    default: return {tables.ledPos, tables.ledText, id, false};
    }
}

// The text of one page id and its colour, where it differs from the layout's text in white.
void PageText(uint8_t page, int id, std::span<std::u16string> texts, const PaintSettings& s, std::u16string& text,
              ColorRef& colour)
{
    switch (page) {
    case kPageMain:
        if (id == kProfileText) {
            text = s.currentProfile < g_profileNames.size() ? g_profileNames[s.currentProfile] : std::u16string();
        } else if (id >= kFirstMouseButton && id < kFirstMouseButton + static_cast<int>(kMouseButtonCount)) {
            const size_t button = static_cast<size_t>(id - kFirstMouseButton);
            text = s.currentProfile < kProfileCount ? AssignmentDisplayName(s.buttonAssignments[button]) : std::u16string();
            if (id == g_hoverMainButton) colour = kRed;
        }
        break;
    case kPageAdvanced: {
        // The numbers stay in the layout texts after the paint.
        if (id == kPointerNumber) texts[kPointerNumber] = FormatIniInt(s.pointerSpeed);
        if (id == kWheelNumber) texts[kWheelNumber] = FormatIniInt(s.wheelSpeed);
        if (id == kFireNumber) texts[kFireNumber] = FormatIniInt(static_cast<int32_t>(s.fireTime)) + u"ms";
        if (id == kPointerNumber || id == kWheelNumber || id == kFireNumber) text = texts[static_cast<size_t>(id)];
        if (id == g_hoverAdvancedButton) colour = kRed;
        break;
    }
    case kPageMacro:
        if (id == kRecordButton) {
            colour = kRecordColour;
            const bool english = s.languageEnglish == 1;
            text = g_recording ? (english ? u"Stop" : u"Parar") : (english ? u"Record" : u"Grabar");
        }
        break;
    default:
        if (id == kEffectName) text = s.ledType < g_ledTypeNames.size() ? g_ledTypeNames[s.ledType] : std::u16string();
        if (s.ledMode == 8 && id >= kFirstReactType && id < kFirstReactType + static_cast<int>(kMouseButtonCount) &&
            s.currentProfile < kProfileCount) {
            text = ReactionTypeName(s.ledReactType[static_cast<size_t>(id - kFirstReactType)], text, s.languageEnglish);
        }
        if (LedTextBlanked(s.ledMode, id)) text.clear();
        break;
    }
}

bool SelectsLargeFont(uint8_t page, int id, bool frame)
{
    if (frame && (id == 2 || id == 3 || (id >= 6 && id <= 9))) return true;
    return page == kPageMain && id >= kFirstMouseButton && id < kFirstMouseButton + static_cast<int>(kMouseButtonCount);
}

}  // namespace

PagePaintInfo PagePaintInfoOf(uint8_t page) { return kPages[page < kSkinPageCount ? page : uint8_t{kPageMain}]; }

std::span<const ButtonPos> PageTable(const SkinTables& tables, uint8_t page)
{
    switch (page) {
    case kPageAdvanced: return tables.advancedPos;
    case kPageMacro: return tables.macroPos;
    case kPageLighting: return tables.ledPos;
    default: return tables.mainPos;
    }
}

int PageHoverId(uint8_t page)
{
    switch (page) {
    case kPageAdvanced: return g_hoverAdvancedButton;
    case kPageMacro: return g_hoverMacroButton;
    case kPageLighting: return g_hoverLedButton;
    default: return g_hoverMainButton;
    }
}

void PlanPageControls(PaintPlan& plan, uint8_t page, std::span<const ButtonPos> table, int hoverId,
                      const PaintSettings& settings)
{
    if (hoverId != BUTTON_NONE) {
        // Bars and the lighting page show their hovered look while held: the fill shows the press.
        const bool staysHovered = page == kPageLighting ||
                                  (page == kPageAdvanced && (hoverId == kPointerBar || hoverId == kWheelBar || hoverId == kFireBar));
        AddCopy(plan, table, hoverId, g_buttonDown && !staysHovered ? SkinLook::Pressed : SkinLook::Hovered);
    }
    switch (page) {
    case kPageAdvanced: PlanAdvancedControls(plan, table, settings); break;
    case kPageMacro: PlanMacroControls(plan, table, settings); break;
    case kPageLighting: PlanLightingControls(plan, table, settings); break;
    default: break;
    }
}

void PlanFrameButtons(PaintPlan& plan, std::span<const ButtonPos> mainPos, uint8_t selectedTab,
                      const PaintSettings& settings)
{
    for (int id = 0; id < static_cast<int>(kFrameIds); ++id) {
        if (id == g_hoverMainButton) {
            AddCopy(plan, mainPos, id, g_buttonDown ? SkinLook::Pressed : SkinLook::Hovered);
        } else if (id == selectedTab || (id == kSpanishButton && settings.languageEnglish == 0) ||
                   (id == kEnglishButton && settings.languageEnglish == 1)) {
            AddCopy(plan, mainPos, id, SkinLook::Pressed);
        }
    }
}

void PlanPageTexts(PaintPlan& plan, const SkinTables& tables, uint8_t page, size_t count,
                   const PaintSettings& settings)
{
    bool largeFont = false;  // once selected, the large font stays for the rest of the paint
    for (size_t t = 0; t < count; ++t) {
        const TextPlace place = TextPlaceOf(tables, page, t);
        if (place.id < 0 || static_cast<size_t>(place.id) >= place.table.size() ||
            static_cast<size_t>(place.id) >= place.texts.size()) {
            continue;
        }
        std::u16string text = place.texts[static_cast<size_t>(place.id)];
        ColorRef colour = kWhite;
        largeFont = largeFont || SelectsLargeFont(page, place.id, place.frame);
        if (!place.frame || page == kPageMain) PageText(page, place.id, place.texts, settings, text, colour);
        if (text.empty()) continue;
        ButtonPos rect = place.table[static_cast<size_t>(place.id)];
        if (!place.frame && page == kPageLighting && (place.id == kBrightnessBar || place.id == kSpeedBar)) {
            rect.width = SaturatingSum(rect.width, -kBarTextMargin);
        }
        if (!place.frame && page == kPageMacro && place.id == kRecordButton) rect.x = SaturatingSum(rect.x, -3);
        plan.push_back({PaintOp::Kind::Text, SkinLook::Hovered, rect, colour, largeFont, std::move(text)});
    }
}

PaintPlan PlanPage(const SkinTables& tables, uint8_t page)
{
    const PagePaintInfo info = PagePaintInfoOf(page);
    if (page >= kSkinPageCount) page = kPageMain;
    const PaintSettings& settings = TakePaintSettings();
    PaintPlan plan;
    PlanPageControls(plan, page, PageTable(tables, page), PageHoverId(page), settings);
    PlanFrameButtons(plan, tables.mainPos, info.selectedTab, settings);
    PlanPageTexts(plan, tables, page, info.textCount, settings);
    return plan;
}

int32_t BarFillWidth(int64_t value, int64_t full, int32_t width)
{
    if (full <= 0 || width <= 0) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, full) * width / full);
}

int LastFilledDpiSegment(uint32_t level, int64_t barPos)
{
    const int first = kFirstDpiSegment + kDpiSegmentsPerLevel * static_cast<int>(level);
    return static_cast<int>(std::clamp<int64_t>(barPos, first - 1, first + kDpiSegmentsPerLevel - 1));
}

ButtonPos DpiSegmentFillRect(const ButtonPos& segment)
{
    return {SaturatingSum(segment.x, 1), SaturatingSum(segment.y, 1), SaturatingSum(segment.width, -2),
            SaturatingSum(segment.height, -1)};
}

std::span<const uint8_t> LedCoverIds(uint32_t ledMode)
{
    static constexpr uint8_t k0[] = {50, 71, 72, 74, 75};
    static constexpr uint8_t k1[] = {50, 71, 72, 74};
    static constexpr uint8_t k2[] = {50, 71, 73, 74, 75};
    static constexpr uint8_t k3[] = {71};
    static constexpr uint8_t k45[] = {50, 71};
    static constexpr uint8_t k6[] = {71, 72, 74, 75};
    static constexpr uint8_t k7[] = {49, 50, 71, 72, 75};
    static constexpr uint8_t k8[] = {50, 72, 73, 74, 75};
    static constexpr uint8_t k9[] = {50, 71, 72, 73, 74, 75};
    switch (ledMode) {
    case 0: return k0;
    case 1: return k1;
    case 2: return k2;
    case 3: return k3;
    case 4:
    case 5: return k45;
    case 6: return k6;
    case 7: return k7;
    case 8: return k8;
    case 9: return k9;
    default: return {};
    }
}

bool LedTextBlanked(uint32_t ledMode, int id)
{
    if (id == kEffect3Label) return ledMode != 3;
    const bool id15 = id == 15, id38 = id == 38, id39 = id == 39;
    const bool id30to34 = id >= 30 && id <= 34;
    switch (ledMode) {
    case 0:
    case 6: return id15 || id30to34 || id38;
    case 1: return id30to34 || id38;
    case 2: return id15 || id30to34 || id39;
    case 4:
    case 5: return id == 34;
    case 7: return id15 || id == 33 || id == 34 || id38;
    case 8:
    case 9: return id15 || id30to34 || id38 || id39;
    default: return false;
    }
}

std::u16string AssignmentDisplayName(ButtonAssignmentCode code)
{
    if (code < g_functionNames.size()) return g_functionNames[code];
    if (IsValidFileMacro(code)) {
        return g_groupMacroNames[static_cast<size_t>(FileMacroGroup(code)) * AssignmentCodes::kMacrosPerGroup +
                                 static_cast<size_t>(FileMacroIndex(code))];
    }
    if (AssignmentKindOf(code) == AssignmentKind::KeyboardKey) return GetKeyDisplayName(KeyIndexToHidUsage(KeyIndexOfCode(code)));
    return {};
}
