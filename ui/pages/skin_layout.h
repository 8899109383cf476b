#pragma once
// The skin's layout: every button, bar, label and text of the four pages is a rectangle read
// from a layout file of the current language. The window keeps one table of rectangles and one
// of texts per page; the warning box and the macro page's controls have tables of their own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "settings/ini_source.h"
#include "ui/pages/skin_layout_record.h"
#include "ui/pages/skin_types.h"

// A rectangle as left, top, right, bottom (the form the platform's controls are placed with).
struct SkinRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

constexpr int kFirstFunctionName = 1;      // FUN_STRING keys 1..47
constexpr int kLastFunctionName = 47;
constexpr int kFirstProfileFunction = 18;  // FUN_STRING 18..21 name the four profiles

// The layout files, in the order the window loads them.
enum class SkinLayoutFile { Main, Color, Advance, Macro, Warning };

// g_skinFolder-style folder + the file's tail: "\INI_EN\skin_main_en.ini" when languageEnglish
// is non-zero, "\INI_CN\skin_main.ini" otherwise.
std::u16string SkinLayoutPath(const std::u16string& skinFolder, SkinLayoutFile file, uint32_t languageEnglish);

// Where layout files come from: the platform's profile functions on disk, or texts in memory.
class SkinLayoutFiles {
public:
    virtual ~SkinLayoutFiles() = default;
    // The file at path, or nullptr when no file is there.
    virtual std::unique_ptr<IniSource> Open(const std::u16string& path) = 0;
};

// The warning box's rectangles (its texts are g_warningTexts).
extern std::array<ButtonPos, kWarningLayoutCount> g_warningPos;

// The macro page's controls, in the order of their records: EDIT 0 (group name), 1 (macro name),
// 2 (repeat count), MACRODISPLAY 1 (macro list), 2 (event list), 3 (light block list).
enum MacroControlRect : size_t {
    kGroupNameEditRect,
    kMacroNameEditRect,
    kRepeatCountEditRect,
    kMacroListRect,
    kEventListRect,
    kLightListRect,
    kMacroControlRects
};
using MacroControlRects = std::array<SkinRect, kMacroControlRects>;

// What the window shows, once, before it ends the program for a missing layout file.
inline constexpr const char16_t* kMissingLayoutMessage = u"找不到配置文件";

// The loaders read the file of the current language (g_skinFolder, g_languageEnglish) and
// overwrite their tables whole. A missing file leaves the tables zero and empty and gives false;
// the window then shows kMissingLayoutMessage and ends the program.
bool LoadSkinMainLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMainLayoutCount> pos,
                        std::span<std::u16string, kMainLayoutCount> text);  // also g_functionNames, g_profileNames
bool LoadSkinColorLayout(SkinLayoutFiles& files, std::span<ButtonPos, kLedLayoutCount> pos,
                         std::span<std::u16string, kLedLayoutCount> text);
bool LoadSkinAdvanceLayout(SkinLayoutFiles& files, std::span<ButtonPos, kAdvancedLayoutCount> pos,
                           std::span<std::u16string, kAdvancedLayoutCount> text);
bool LoadSkinMacroLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMacroLayoutCount> pos,
                         std::span<std::u16string, kMacroLayoutCount> text, MacroControlRects& controls);
bool LoadWarningLayout(SkinLayoutFiles& files);

// x, y, width, height of a record's fields 1..4 as decimal numbers.
ButtonPos LayoutRecordPos(const LayoutFields& fields);
// right and bottom saturate instead of wrapping for numbers near the int32 limits.
SkinRect ToSkinRect(const ButtonPos& pos);
