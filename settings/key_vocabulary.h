#pragma once
// Keys as the program keeps them (HID keyboard usages, in memory and in the mouse) and as Windows
// and the macro files give them (virtual-key codes), with their names in English and Spanish.
// The two layouts differ only in eight punctuation keys.
#include <cstdint>
#include <span>
#include <string>

using HidKeyUsage = uint8_t;
using KeyIndex = uint8_t;  // position 0..78 on the on-screen keyboard

// Mouse buttons inside the usage space.
enum MouseButtonCode : uint8_t {
    kMouseButtonLeft = 0xF1,
    kMouseButtonMiddle = 0xF2,
    kMouseButtonRight = 0xF3,
};

// The same buttons inside the virtual-key space.
constexpr uint8_t kVkMouseLeft = 0xF0;
constexpr uint8_t kVkMouseRight = 0xF1;
constexpr uint8_t kVkMouseMiddle = 0xF2;

constexpr KeyIndex kKeyIndexCount = 79;
constexpr uint8_t kNoKey = 0xFF;  // what an index past the on-screen keyboard gives

// One key with a conversion or a name of its own. A virtual key of kVkUnchanged means the usage
// passes through unchanged; kVkNone means the key has no virtual key at all.
struct KeyNameRow {
    HidKeyUsage usage;
    uint16_t vkEn;
    uint16_t vkEs;
    const char16_t* nameEn;
    const char16_t* nameEs;
};
constexpr uint16_t kVkUnchanged = 0x100;
constexpr uint16_t kVkNone = 0x101;

// Every key with a conversion or a name of its own, in usage order.
std::span<const KeyNameRow> KeyNameTable();

// Virtual key of each on-screen keyboard position (US layout).
std::span<const uint8_t, kKeyIndexCount> OnScreenKeyboardVks();

// The conversions and names of both layouts. It holds nothing: the window keeps one as a member,
// and everybody else may call the functions on the class.
class MacVkAndText {
public:
    static uint8_t HidToVkEn(HidKeyUsage usage);
    static uint8_t HidToVkEs(HidKeyUsage usage);
    static HidKeyUsage VkToHidEn(uint8_t vk);
    static HidKeyUsage VkToHidEs(uint8_t vk);
    // The three names stand for the left, middle and right mouse buttons.
    static std::u16string HidToNameEn(HidKeyUsage usage, const std::u16string& leftName,
                                      const std::u16string& middleName, const std::u16string& rightName);
    static std::u16string HidToNameEs(HidKeyUsage usage, const std::u16string& leftName,
                                      const std::u16string& middleName, const std::u16string& rightName);
};

// By the current language, g_languageEnglish (1 English; anything else is taken as Spanish).
HidKeyUsage VkToHidUsage(uint8_t vk);
HidKeyUsage KeyIndexToHidUsage(KeyIndex index);
uint8_t HidUsageToVk(HidKeyUsage usage);
std::u16string GetKeyDisplayName(HidKeyUsage usage);
std::u16string GetKeyName(std::u16string& out, HidKeyUsage usage);
