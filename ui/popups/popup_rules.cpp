#include "ui/popups/popup_rules.h"

#include <algorithm>
#include <mutex>

#include "macros/macro_groups.h"
#include "macros/macro_record.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/window/window_messages.h"

namespace {

constexpr int kFirstAssignButton = 20;
constexpr int kLastAssignButton = 28;
constexpr int kFirstReactionButton = 61;
constexpr int kLastReactionButton = 69;
// The light-block mode byte each row of mode 6 stands for.
constexpr std::array<uint8_t, 5> kLightModeBytes = {1, 2, 3, 6, 7};

bool IsAssignButton(int id) { return id >= kFirstAssignButton && id <= kLastAssignButton; }

int GroupCount() { return std::min<int>(g_macroGroupCount, kMaxMacroGroups); }

bool IsGroupRow(int groupRow) { return groupRow >= 1 && groupRow <= GroupCount(); }

template <typename Table>
std::u16string NameAt(const Table& table, int index)
{
    return index >= 0 && static_cast<size_t>(index) < table.size() ? table[static_cast<size_t>(index)] : std::u16string();
}

// The current profile's row of button assignments, or null when the profile number is not one.
std::array<ButtonAssignmentCode, kMouseButtonCount>* CurrentAssignments()
{
    return g_currentProfile < kProfileCount ? &g_buttonAssignments[g_currentProfile] : nullptr;
}

void StoreAssignment(int assignButtonId, ButtonAssignmentCode code)
{
    std::lock_guard lock(g_settingsMutex);
    if (auto* row = CurrentAssignments()) (*row)[static_cast<size_t>(assignButtonId - kFirstAssignButton)] = code;
    ApplyLeftClickGuard(assignButtonId);
}

}  // namespace

MenuCapture CaptureMenuTarget(int mode)
{
    MenuCapture capture;
    if (mode == kMenuFunctions) capture.assignButtonId = g_assignButtonId;
    if (mode == kMenuReactionTypes) capture.ledButtonId = g_hoverLedButton;
    if (mode == kMenuLightModes || mode == kMenuLightColours) {
        capture.macroSlot = g_currentMacro;
        capture.lightBlock = g_lightBlockIndex;
    }
    return capture;
}

int MenuRowCount(int mode, uint8_t macroGroupCount)
{
    switch (mode) {
    case kMenuProfiles: return 4;
    case kMenuFunctions: return 10;
    case kMenuMacroGroups: return std::min<int>(macroGroupCount, kMaxMacroGroups);
    case kMenuFileCommands: return 3;
    case kMenuLedEffects: return 10;
    case kMenuReactionTypes: return 4;
    case kMenuLightModes: return 5;
    case kMenuLightColours: return 7;
    default: return 0;
    }
}

int MenuRowHeight(int mode, int32_t maskHeight)
{
    if (mode == kMenuProfiles) return maskHeight / 10;
    if (mode == kMenuFileCommands) return maskHeight / 3;
    return maskHeight / 15;
}

int MenuTextX(int mode, int32_t width, int32_t textWidth)
{
    switch (mode) {
    case kMenuProfiles: return (width - textWidth) / 2 - 8;
    case kMenuMacroGroups: return 5;
    case kMenuFileCommands: return 3;
    case kMenuLedEffects: return (width - textWidth) / 2 - 22;
    case kMenuReactionTypes: return 2;
    default: return (width - textWidth) / 2;
    }
}

std::u16string MenuRowText(int mode, int row)
{
    switch (mode) {
    case kMenuProfiles: return NameAt(g_profileNames, row - 1);
    case kMenuFunctions: return NameAt(g_functionNames, row);
    case kMenuMacroGroups: return IsGroupRow(row) ? NameAt(g_macroGroupNames, row - 1) : std::u16string();
    case kMenuFileCommands: {
        static constexpr std::array<const char16_t*, 3> kEnglish = {u"Import", u"Export", u"Reset"};
        static constexpr std::array<const char16_t*, 3> kSpanish = {u"Importar", u"Exportar", u"Reiniciar"};
        if (row < 1 || row > 3) return {};
        return g_languageEnglish == 1 ? kEnglish[static_cast<size_t>(row - 1)] : kSpanish[static_cast<size_t>(row - 1)];
    }
    case kMenuLedEffects: return NameAt(g_ledTypeNames, row - 1);
    case kMenuReactionTypes: return row >= 1 && row <= 4 ? NameAt(g_lightModeNames, row + 4) : std::u16string();
    case kMenuLightModes: return row >= 1 && row <= 5 ? NameAt(g_lightModeNames, row - 1) : std::u16string();
    default: return {};
    }
}

int RowAt(int32_t x, int32_t y, int32_t width, int32_t rowHeight, int rows)
{
    if (rowHeight <= 0 || rows <= 0 || x < 0 || x >= width || y < 0) return BUTTON_NONE;
    const int32_t row = y / rowHeight + 1;
    return row <= rows ? row : BUTTON_NONE;
}

int32_t RowTextY(int row, int32_t rowHeight, int32_t textHeight) { return (row - 1) * rowHeight + (rowHeight - textHeight) / 2; }

void ApplyLeftClickGuard(int assignButtonId)
{
    if (!IsAssignButton(assignButtonId)) return;
    std::lock_guard lock(g_settingsMutex);
    if (g_currentProfile != 0) return;
    auto& row = g_buttonAssignments[0];
    if (std::find(row.begin(), row.end(), AssignmentCodes::kLeftClick) != row.end()) return;
    const size_t changed = static_cast<size_t>(assignButtonId - kFirstAssignButton);
    row[changed + 1 < row.size() ? changed + 1 : changed] = AssignmentCodes::kLeftClick;
}

MenuChoice ApplyMenuChoice(int mode, int row, const MenuCapture& capture)
{
    MenuChoice choice;
    if (row < 1 || row > MenuRowCount(mode, g_macroGroupCount)) return choice;
    switch (mode) {
    case kMenuProfiles: {
        std::lock_guard lock(g_settingsMutex);
        g_currentProfile = static_cast<uint32_t>(row - 1);
        choice.message = {WM_PROFILE_CHOSEN, 0, 0};
        break;
    }
    case kMenuFunctions:
        if (row > 6 || !IsAssignButton(capture.assignButtonId)) return choice;
        StoreAssignment(capture.assignButtonId, static_cast<ButtonAssignmentCode>(row));
        g_hoverMainButton = BUTTON_NONE;
        g_popupOwnerButton = BUTTON_NONE;
        choice.repaintOwner = true;
        break;
    case kMenuMacroGroups:
        // The open group changes only with its table, when the main window opens the choice.
        g_chosenMacroGroup = static_cast<uint8_t>(row - 1);
        choice.message = {WM_MACROGROUP_CHOSEN, g_currentGroup, static_cast<intptr_t>(g_currentMacro)};
        break;
    case kMenuFileCommands: choice.message = {WM_MACROFILE_COMMAND, static_cast<uintptr_t>(row), 0}; break;
    case kMenuLedEffects: {
        std::lock_guard lock(g_settingsMutex);
        g_hoverLedButton = BUTTON_NONE;
        g_ledType = static_cast<uint8_t>(row - 1);
        g_ledMode = g_ledType;
        g_popupOwnerButton = BUTTON_NONE;
        choice.repaintOwner = true;
        break;
    }
    case kMenuReactionTypes: {
        if (capture.ledButtonId < kFirstReactionButton || capture.ledButtonId > kLastReactionButton) return choice;
        std::lock_guard lock(g_settingsMutex);
        g_hoverLedButton = BUTTON_NONE;
        g_popupOwnerButton = BUTTON_NONE;
        if (g_currentProfile < kProfileCount)
            g_ledReactType[g_currentProfile][static_cast<size_t>(capture.ledButtonId - kFirstReactionButton)] =
                static_cast<uint32_t>(row - 1);
        choice.repaintOwner = true;
        break;
    }
    case kMenuLightModes:
    case kMenuLightColours: {
        if (capture.macroSlot >= g_macroTable.size() || capture.lightBlock >= kLightBlockCount) return choice;
        std::lock_guard lock(g_macroStoreLock);
        LightStep& step = g_macroTable[capture.macroSlot].lightBlocks[capture.lightBlock].steps[0];
        if (mode == kMenuLightModes) {
            step.mode = kLightModeBytes[static_cast<size_t>(row - 1)];
            choice.message = {WM_LIGHTMODE_CHOSEN, static_cast<uintptr_t>(row - 1), 0};
        } else {
            step.colour = static_cast<uint8_t>(row);
            choice.message = {WM_LIGHTCOLOUR_CHOSEN, static_cast<uintptr_t>(row), 0};
        }
        break;
    }
    default: return choice;
    }
    choice.chosen = true;
    return choice;
}

int SubMenuRowCount(int parentRow, uint8_t macroGroupCount)
{
    switch (parentRow) {
    case 7: return 11;
    case 8: return 10;
    case 9: return std::min<int>(macroGroupCount, kMaxMacroGroups);
    case 10: return 8;
    default: return 0;
    }
}

ButtonAssignmentCode SubMenuCode(int parentRow, int row)
{
    if (parentRow == 9 || row < 1 || row > SubMenuRowCount(parentRow, 0)) return 0;
    const int base = parentRow == 7 ? 10 : parentRow == 8 ? 21 : 31;
    return static_cast<ButtonAssignmentCode>(base + row);
}

std::u16string SubMenuRowText(int parentRow, int row)
{
    if (parentRow == 9) return IsGroupRow(row) ? NameAt(g_macroGroupNames, row - 1) : std::u16string();
    const ButtonAssignmentCode code = SubMenuCode(parentRow, row);
    return code != 0 ? NameAt(g_functionNames, static_cast<int>(code)) : std::u16string();
}

int32_t SubMenuTop(int parentRow, int32_t top, int32_t rowHeight, uint8_t macroGroupCount)
{
    switch (parentRow) {
    case 7: return top + rowHeight;
    case 8: return top - 2 * rowHeight;
    case 9: return top + (8 - macroGroupCount / 2) * rowHeight;
    default: return top + 2 * rowHeight;
    }
}

bool ApplySubMenuChoice(int parentRow, int row, int assignButtonId)
{
    const ButtonAssignmentCode code = SubMenuCode(parentRow, row);
    if (code == 0 || !IsAssignButton(assignButtonId)) return false;
    g_subMenuCode = code;
    StoreAssignment(assignButtonId, code);
    return true;
}

int MacroChoiceRowCount(int groupRow)
{
    if (!IsGroupRow(groupRow)) return 0;
    return std::clamp<int32_t>(g_groupMacroCounts[static_cast<size_t>(groupRow - 1)], 0, kGroupMacroLimit);
}

std::u16string MacroChoiceRowText(int groupRow, int row)
{
    if (row < 1 || row > MacroChoiceRowCount(groupRow)) return {};
    return NameAt(g_groupMacroNames, (groupRow - 1) * static_cast<int>(kGroupMacroLimit) + row - 1);
}

int32_t MacroChoiceTop(int groupRow, int32_t top, int32_t rowHeight)
{
    return top + (groupRow - MacroChoiceRowCount(groupRow) / 2 - 1) * rowHeight;
}

bool ApplyMacroChoice(int groupRow, int row, int assignButtonId)
{
    const bool bound = row >= 1 && row <= MacroChoiceRowCount(groupRow) && IsAssignButton(assignButtonId);
    if (bound) {
        StoreAssignment(assignButtonId, MakeFileMacroCode(static_cast<uint32_t>(groupRow - 1), static_cast<uint32_t>(row - 1)));
        return true;
    }
    ApplyLeftClickGuard(assignButtonId);
    return false;
}
