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
#include "ui/skin_layout_record.h"

// A skin rectangle in client pixels: x <= px < x + width, y <= py < y + height.
struct ButtonPos {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    friend bool operator==(const ButtonPos&, const ButtonPos&) = default;
};

// A rectangle as left, top, right, bottom (the form the platform's controls are placed with).
struct SkinRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// The page shown (g_page).
enum SkinPage : uint8_t {
    kPageMain = 0,
    kPageAdvanced = 1,
    kPageMacro = 2,
    kPageLighting = 3,
};
constexpr uint8_t kSkinPageCount = 4;

// No rectangle hovered, pressed or owning a pop-up.
constexpr int BUTTON_NONE = 255;

// Ids per layout file (BUTTONPOS keys 0..count-1).
constexpr size_t kMainLayoutIds = 29;      // 0..10 the frame on every page, 11..28 page 0
constexpr size_t kAdvancedLayoutIds = 138;
constexpr size_t kLedLayoutIds = 103;
constexpr size_t kMacroLayoutIds = 20;
constexpr size_t kWarningLayoutIds = 3;    // 0 go on, 1 cancel, 2 the message
constexpr size_t kFrameIds = 11;
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
extern std::array<ButtonPos, kWarningLayoutIds> g_warningPos;

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
bool LoadSkinMainLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMainLayoutIds> pos,
                        std::span<std::u16string, kMainLayoutIds> text);  // also g_functionNames, g_profileNames
bool LoadSkinColorLayout(SkinLayoutFiles& files, std::span<ButtonPos, kLedLayoutIds> pos,
                         std::span<std::u16string, kLedLayoutIds> text);
bool LoadSkinAdvanceLayout(SkinLayoutFiles& files, std::span<ButtonPos, kAdvancedLayoutIds> pos,
                           std::span<std::u16string, kAdvancedLayoutIds> text);
bool LoadSkinMacroLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMacroLayoutIds> pos,
                         std::span<std::u16string, kMacroLayoutIds> text, MacroControlRects& controls);
bool LoadWarningLayout(SkinLayoutFiles& files);

// x, y, width, height of a record's fields 1..4 as decimal numbers.
ButtonPos LayoutRecordPos(const LayoutFields& fields);
// right and bottom saturate instead of wrapping for numbers near the int32 limits.
SkinRect ToSkinRect(const ButtonPos& pos);
