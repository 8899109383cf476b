#include "settings/key_vocabulary.h"

#include <array>

#include "settings/settings_state.h"

namespace {

constexpr uint16_t kSame = 0x200;  // Spanish virtual key as in English

constexpr auto kKeyNameRows = std::to_array<KeyNameRow>({
    {30, 0x31, kSame, u"1!", u"1!"},
    {31, 0x32, kSame, u"2@", u"2"},
    {32, 0x33, kSame, u"3#", u"3·"},
    {33, 0x34, kSame, u"4$", u"4$"},
    {34, 0x35, kSame, u"5%", u"5%"},
    {35, 0x36, kSame, u"6^", u"6&"},
    {36, 0x37, kSame, u"7&", u"7/"},
    {37, 0x38, kSame, u"8*", u"8("},
    {38, 0x39, kSame, u"9(", u"9)"},
    {39, 0x30, kSame, u"0)", u"0="},
    {40, 0x0D, kSame, u"KeyPad Enter", u"Teclado num. Entrada"},
    {41, 0x1B, kSame, u"ESCAPE", u"Esc"},
    {42, 0x08, kSame, u"BackSpace", u"Volver"},
    {43, 0x09, kSame, u"TAB", u"TAB"},
    {44, 0x20, kSame, u"Space", u"Espacio"},
    {45, 0xBD, 0xDB, u"_-", u"'?"},
    {46, 0xBB, 0xDD, u"=+", u"¡¿"},
    {47, 0xDB, 0xBA, u"[{", u"^"},
    {48, 0xDD, 0xBB, u"]}", u"+*"},
    {49, 0xDC, 0xBF, u"|", u"Ç}"},
    {51, 0xBA, 0xC0, u";:", u"Ñ"},
    {52, 0xDE, kSame, u"'", u"´{"},
    {53, 0xC0, 0xDC, u"~", u"º"},
    {54, 0xBC, kSame, u"<", u";"},
    {55, 0xBE, kSame, u">", u".:"},
    {56, 0xBF, 0xBD, u"/?", u"-_"},
    {57, 0x14, kSame, u"CAPS", u"MAY"},
    {70, 0x2C, kSame, u"PrintSc", u"Imp pant"},
    {71, 0x91, kSame, u"Scroll", u"Desplazamiento"},
    {72, 0x13, kSame, u"Pause", u"Pausa"},
    {73, 0x2D, kSame, u"Insert", u"Insertar"},
    {74, 0x24, kSame, u"Home", u"Inicio"},
    {75, 0x21, kSame, u"Page Up", u"RePág"},
    {76, 0x2E, kSame, u"Delete", u"Supr"},
    {77, 0x23, kSame, u"End", u"Fin"},
    {78, 0x22, kSame, u"Page Down", u"AvPág"},
    {79, 0x27, kSame, u"→", u"→"},
    {80, 0x25, kSame, u"←", u"←"},
    {81, 0x28, kSame, u"↓", u"↓"},
    {82, 0x26, kSame, u"↑", u"↑"},
    {83, 0x90, kSame, u"NumLock", u"Bloqueo num."},
    {84, 0x6F, kSame, u"KeyPad /", u"Teclado num. /"},
    {85, 0x6A, kSame, u"KeyPad *", u"Teclado num. *"},
    {86, 0x6D, kSame, u"KeyPad -", u"Teclado num. -"},
    {87, 0x6B, kSame, u"KeyPad +", u"Teclado num. +"},
    {89, 0x61, kSame, u"KeyPad 1", u"Teclado num. 1"},
    {90, 0x62, kSame, u"KeyPad 2", u"Teclado num. 2"},
    {91, 0x63, kSame, u"KeyPad 3", u"Teclado num. 3"},
    {92, 0x64, kSame, u"KeyPad 4", u"Teclado num. 4"},
    {93, 0x65, kSame, u"KeyPad 5", u"Teclado num. 5"},
    {94, 0x66, kSame, u"KeyPad 6", u"Teclado num. 6"},
    {95, 0x67, kSame, u"KeyPad 7", u"Teclado num. 7"},
    {96, 0x68, kSame, u"KeyPad 8", u"Teclado num. 8"},
    {97, 0x69, kSame, u"KeyPad 9", u"Teclado num. 9"},
    {98, 0x60, kSame, u"KeyPad 0", u"Teclado num. 0"},
    {99, 0x6E, kSame, u"KeyPad .", u"Teclado num ."},
    {101, 0x5D, kSame, u"App", u"APP"},
    {116, 0x2B, kSame, u"EXECUTE", u"EXECUTE"},
    {117, 0x2F, kSame, u"HELP", u"HELP"},
    {118, kVkUnchanged, kSame, u"MENU", u"MENU"},
    {119, 0x29, kSame, u"SELECT", u"SELECT"},
    {156, 0x0C, kSame, u"CLEAR", u"CLEAR"},
    {159, 0x6C, kSame, u"SEPARATOR", u"SEPARATOR"},
    {224, 0xA2, kSame, u"L-Ctrl", u"G-CTRL"},
    {225, 0xA0, kSame, u"L-Shift", u"L-Mayúscula"},
    {226, 0xA4, kSame, u"L-Alt", u"ALT"},
    {227, 0x5B, kSame, u"L-Win", u"WIN"},
    {228, 0xA3, kSame, u"R-Ctrl", u"D-CTRL"},
    {229, 0xA1, kSame, u"R-Shift", u"R-Mayúscula"},
    {230, 0xA5, kSame, u"R-Alt", u"AltGr"},
    {231, 0x5C, kSame, u"RWIN", u"Fn"},
    // The mouse buttons convert by their own rule; their names are the caller's.
    {240, kVkNone, kSame, u"NILL", u"NILL"},
    {241, 0xF0, kSame, nullptr, nullptr},
    {242, kVkUnchanged, kSame, nullptr, nullptr},
    {243, 0xF1, kSame, nullptr, nullptr},
    {244, kVkNone, kSame, u"NULL", u"NULL"},
});

// The table as callers see it, with the Spanish column filled in.
constexpr std::array<KeyNameRow, kKeyNameRows.size()> ResolveSpanish()
{
    std::array<KeyNameRow, kKeyNameRows.size()> rows = kKeyNameRows;
    for (KeyNameRow& row : rows) {
        if (row.vkEs == kSame) row.vkEs = row.vkEn;
    }
    return rows;
}
constexpr std::array<KeyNameRow, kKeyNameRows.size()> kRows = ResolveSpanish();

constexpr std::array<uint8_t, kKeyIndexCount> kOnScreenKeyboardVks = {
    0x1B,                                                                    // 0 Esc
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B,  // 1..12 F1..F12
    0x2D,                                                                    // 13 Insert
    0xC0,                                                                    // 14
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0',                        // 15..24
    0xBD, 0xBB,                                                              // 25, 26
    0x08,                                                                    // 27 Backspace
    0x2E,                                                                    // 28 Delete
    0x09,                                                                    // 29 Tab
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P',                        // 30..39
    0xDB, 0xDD, 0xDC,                                                        // 40..42
    0x14,                                                                    // 43 Caps Lock
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L',                             // 44..52
    0xBA, 0xDE,                                                              // 53, 54
    0x0D,                                                                    // 55 Enter
    0xA0,                                                                    // 56 left Shift
    'Z', 'X', 'C', 'V', 'B', 'N', 'M',                                       // 57..63
    0xBC, 0xBE, 0xBF,                                                        // 64..66
    0xA1,                                                                    // 67 right Shift
    0xA2,                                                                    // 68 left Control
    0xA4,                                                                    // 69 left Alt
    0x5B,                                                                    // 70 left Windows key
    0x20,                                                                    // 71 Space
    0x5C,                                                                    // 72 right Windows key
    0xA5,                                                                    // 73 right Alt
    0xA3,                                                                    // 74 right Control
    0x25, 0x26, 0x27, 0x28,                                                  // 75..78 arrows
};

const KeyNameRow* RowOfUsage(HidKeyUsage usage)
{
    for (const KeyNameRow& row : kRows) {
        if (row.usage == usage) return &row;
    }
    return nullptr;
}

uint8_t HidToVk(HidKeyUsage usage, bool english)
{
    if (usage >= 4 && usage <= 29) return static_cast<uint8_t>(usage + 61);
    if (usage >= 30 && usage <= 38) return static_cast<uint8_t>(usage + 19);
    if (usage >= 58 && usage <= 69) return static_cast<uint8_t>(usage + 54);
    if (usage >= 104 && usage <= 115) return static_cast<uint8_t>(usage + 20);
    if (usage == kMouseButtonLeft) return kVkMouseLeft;
    if (usage == kMouseButtonMiddle) return kVkMouseMiddle;
    if (usage == kMouseButtonRight) return kVkMouseRight;
    if (const KeyNameRow* row = RowOfUsage(usage)) {
        const uint16_t vk = english ? row->vkEn : row->vkEs;
        // Usages 0xF0 and 0xF4 have no key; 0 is a value no key sends.
        if (vk == kVkNone) return 0;
        if (vk != kVkUnchanged) return static_cast<uint8_t>(vk);
    }
    return usage;
}

HidKeyUsage VkToHid(uint8_t vk, bool english)
{
    if (vk >= 'A' && vk <= 'Z') return static_cast<HidKeyUsage>(vk - 61);
    if (vk >= '1' && vk <= '9') return static_cast<HidKeyUsage>(vk - 19);
    if (vk >= 0x70 && vk <= 0x7B) return static_cast<HidKeyUsage>(vk - 54);
    if (vk >= 0x7C && vk <= 0x87) return static_cast<HidKeyUsage>(vk - 20);
    if (vk == kVkMouseLeft) return kMouseButtonLeft;
    if (vk == kVkMouseRight) return kMouseButtonRight;
    if (vk == kVkMouseMiddle) return kMouseButtonMiddle;
    for (const KeyNameRow& row : kRows) {
        if ((english ? row.vkEn : row.vkEs) == vk) return row.usage;
    }
    return vk;
}

std::u16string FunctionKeyName(int number)
{
    std::u16string name = u"F";
    if (number >= 10) name += static_cast<char16_t>(u'0' + number / 10);
    name += static_cast<char16_t>(u'0' + number % 10);
    return name;
}

std::u16string HidToName(HidKeyUsage usage, bool english, const std::u16string& leftName,
                         const std::u16string& middleName, const std::u16string& rightName)
{
    if (usage >= 4 && usage <= 29) return std::u16string(1, static_cast<char16_t>(usage + 61));
    if (usage >= 58 && usage <= 69) return FunctionKeyName(usage - 57);
    if (usage >= 104 && usage <= 115) return FunctionKeyName(usage - 91);
    if (usage == kMouseButtonLeft) return leftName;
    if (usage == kMouseButtonMiddle) return middleName;
    if (usage == kMouseButtonRight) return rightName;
    if (const KeyNameRow* row = RowOfUsage(usage)) {
        const char16_t* name = english ? row->nameEn : row->nameEs;
        if (name != nullptr) return name;
    }
    return u"NULL";
}

bool LanguageIsEnglish() { return g_languageEnglish == 1; }

}  // namespace

std::span<const KeyNameRow> KeyNameTable() { return kRows; }

std::span<const uint8_t, kKeyIndexCount> OnScreenKeyboardVks() { return kOnScreenKeyboardVks; }

uint8_t MacVkAndText::HidToVkEn(HidKeyUsage usage) { return HidToVk(usage, true); }
uint8_t MacVkAndText::HidToVkEs(HidKeyUsage usage) { return HidToVk(usage, false); }
HidKeyUsage MacVkAndText::VkToHidEn(uint8_t vk) { return VkToHid(vk, true); }
HidKeyUsage MacVkAndText::VkToHidEs(uint8_t vk) { return VkToHid(vk, false); }

std::u16string MacVkAndText::HidToNameEn(HidKeyUsage usage, const std::u16string& leftName,
                                         const std::u16string& middleName, const std::u16string& rightName)
{
    return HidToName(usage, true, leftName, middleName, rightName);
}

std::u16string MacVkAndText::HidToNameEs(HidKeyUsage usage, const std::u16string& leftName,
                                         const std::u16string& middleName, const std::u16string& rightName)
{
    return HidToName(usage, false, leftName, middleName, rightName);
}

HidKeyUsage VkToHidUsage(uint8_t vk) { return VkToHid(vk, LanguageIsEnglish()); }

uint8_t HidUsageToVk(HidKeyUsage usage) { return HidToVk(usage, LanguageIsEnglish()); }

HidKeyUsage KeyIndexToHidUsage(KeyIndex index)
{
    const uint8_t vk = index < kKeyIndexCount ? kOnScreenKeyboardVks[index] : kNoKey;
    return VkToHid(vk, LanguageIsEnglish());
}

std::u16string GetKeyDisplayName(HidKeyUsage usage)
{
    if (LanguageIsEnglish()) return MacVkAndText::HidToNameEn(usage, u"Left button ", u"Middle button", u"Right button");
    return MacVkAndText::HidToNameEs(usage, u"Botón Izquierdo", u"Botón Medio", u"Botón Derecho");
}

std::u16string GetKeyName(std::u16string& out, HidKeyUsage usage)
{
    out = GetKeyDisplayName(usage);
    return out;
}
