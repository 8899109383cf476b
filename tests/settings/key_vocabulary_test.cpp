#include "settings/key_vocabulary.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/settings/language_guard.h"
#include "tests/utf16.h"

namespace {

constexpr int kUnchanged = -1;
constexpr int kNone = -2;

struct ExpectedKey {
    int usage;
    int vkEn;
    int vkEs;
    std::u16string nameEn;
    std::u16string nameEs;
};

int ParseVk(const std::string& text)
{
    if (text == "unchanged") return kUnchanged;
    if (text == "none") return kNone;
    return std::stoi(text, nullptr, 16);
}

// The vocabulary as the fixture lists it, by usage.
std::map<int, ExpectedKey> LoadFixture()
{
    std::ifstream in(std::string(KESTRA_TEST_DATA_DIR) + "/settings/key_vocabulary.tsv");
    std::map<int, ExpectedKey> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::array<std::string, 5> fields;
        std::istringstream fieldStream(line);
        for (std::string& field : fields) std::getline(fieldStream, field, '\t');
        const int usage = std::stoi(fields[0]);
        rows[usage] = {usage, ParseVk(fields[1]), ParseVk(fields[2]), Utf16FromUtf8(fields[3]), Utf16FromUtf8(fields[4])};
    }
    return rows;
}

std::u16string NameEn(int usage) { return MacVkAndText::HidToNameEn(static_cast<uint8_t>(usage), u"<first>", u"<second>", u"<third>"); }
std::u16string NameEs(int usage) { return MacVkAndText::HidToNameEs(static_cast<uint8_t>(usage), u"<first>", u"<second>", u"<third>"); }

int ExpectedVk(int usage, int vk)
{
    if (vk == kUnchanged) return usage;
    if (vk == kNone) return 0;
    return vk;
}

TEST(KeyVocabulary, EveryTableRowConvertsBothWaysAndIsNamedInBothLanguages)
{
    const std::map<int, ExpectedKey> rows = LoadFixture();
    ASSERT_EQ(rows.size(), 76u);
    for (const auto& [usage, row] : rows) {
        SCOPED_TRACE(usage);
        const uint8_t u = static_cast<uint8_t>(usage);
        EXPECT_EQ(MacVkAndText::HidToVkEn(u), ExpectedVk(usage, row.vkEn));
        EXPECT_EQ(MacVkAndText::HidToVkEs(u), ExpectedVk(usage, row.vkEs));
        if (row.vkEn >= 0) {
            EXPECT_EQ(MacVkAndText::VkToHidEn(static_cast<uint8_t>(row.vkEn)), usage);
        }
        if (row.vkEs >= 0) {
            EXPECT_EQ(MacVkAndText::VkToHidEs(static_cast<uint8_t>(row.vkEs)), usage);
        }
        EXPECT_EQ(NameEn(usage), row.nameEn);
        EXPECT_EQ(NameEs(usage), row.nameEs);
    }
}

TEST(KeyVocabulary, RangesOutsideTheTableFollowTheirRulesAndTheRestPassesUnchangedAsNull)
{
    const std::map<int, ExpectedKey> rows = LoadFixture();
    for (int usage = 0; usage < 256; ++usage) {
        SCOPED_TRACE(usage);
        const uint8_t u = static_cast<uint8_t>(usage);
        int vk = usage;
        std::u16string name = u"NULL";
        if (usage >= 4 && usage <= 29) {
            vk = 'A' + usage - 4;
            name = std::u16string(1, static_cast<char16_t>(vk));
        } else if (usage >= 58 && usage <= 69) {
            vk = 0x70 + usage - 58;
            name = Utf16FromUtf8("F" + std::to_string(usage - 57));
        } else if (usage >= 104 && usage <= 115) {
            vk = 0x7C + usage - 104;
            name = Utf16FromUtf8("F" + std::to_string(usage - 91));
        } else if (rows.count(usage) != 0) {
            continue;  // checked row by row above
        }
        for (bool english : {true, false}) {
            EXPECT_EQ(english ? MacVkAndText::HidToVkEn(u) : MacVkAndText::HidToVkEs(u), vk);
            if (vk != usage) {
                const uint8_t back = english ? MacVkAndText::VkToHidEn(static_cast<uint8_t>(vk))
                                             : MacVkAndText::VkToHidEs(static_cast<uint8_t>(vk));
                EXPECT_EQ(back, usage) << "virtual key " << vk;
            }
            EXPECT_EQ(english ? NameEn(usage) : NameEs(usage), name);
        }
    }
    EXPECT_EQ(NameEn(8), u"E");
    EXPECT_EQ(NameEs(69), u"F12");
    EXPECT_EQ(NameEn(115), u"F24");
}

TEST(KeyVocabulary, EveryVirtualKeyEitherConvertsBackOrPassesUnchanged)
{
    for (int vk = 0; vk < 256; ++vk) {
        SCOPED_TRACE(vk);
        const uint8_t v = static_cast<uint8_t>(vk);
        const uint8_t en = MacVkAndText::VkToHidEn(v);
        const uint8_t es = MacVkAndText::VkToHidEs(v);
        if (en != v) {
            EXPECT_EQ(MacVkAndText::HidToVkEn(en), vk);
        }
        if (es != v) {
            EXPECT_EQ(MacVkAndText::HidToVkEs(es), vk);
        }
    }
    EXPECT_EQ(MacVkAndText::VkToHidEn(0xF3), 0xF3);
    EXPECT_EQ(MacVkAndText::VkToHidEs(0xF4), 0xF4);
}

TEST(KeyVocabulary, LayoutsDifferOnlyInEightPunctuationKeys)
{
    std::set<int> usages;
    std::set<int> vks;
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = static_cast<uint8_t>(i);
        if (MacVkAndText::HidToVkEn(v) != MacVkAndText::HidToVkEs(v)) usages.insert(i);
        if (MacVkAndText::VkToHidEn(v) != MacVkAndText::VkToHidEs(v)) vks.insert(i);
    }
    EXPECT_EQ(usages, (std::set<int>{45, 46, 47, 48, 49, 51, 53, 56}));
    EXPECT_EQ(vks, (std::set<int>{0xBA, 0xBB, 0xBD, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD}));
}

TEST(KeyVocabulary, NamedCasesOfTheVocabulary)
{
    EXPECT_EQ(MacVkAndText::HidToVkEn(40), 0x0D);
    EXPECT_EQ(NameEn(40), u"KeyPad Enter");
    EXPECT_EQ(MacVkAndText::HidToVkEn(88), 88);
    EXPECT_EQ(NameEn(88), u"NULL");
    EXPECT_EQ(MacVkAndText::HidToVkEn(45), 0xBD);
    EXPECT_EQ(MacVkAndText::HidToVkEs(45), 0xDB);
    EXPECT_EQ(MacVkAndText::VkToHidEn(0xDB), 47);
    EXPECT_EQ(MacVkAndText::VkToHidEs(0xDB), 45);
    EXPECT_EQ(MacVkAndText::HidToVkEn(0xF1), 0xF0);
    EXPECT_EQ(MacVkAndText::VkToHidEn(0xF0), 0xF1);
    EXPECT_EQ(MacVkAndText::HidToVkEs(0xF3), 0xF1);
    EXPECT_EQ(MacVkAndText::VkToHidEs(0xF1), 0xF3);
    EXPECT_EQ(MacVkAndText::HidToVkEn(0xF2), 0xF2);
    EXPECT_EQ(MacVkAndText::VkToHidEn(0xF2), 0xF2);
    EXPECT_EQ(NameEn(31), u"2@");
    EXPECT_EQ(NameEs(31), u"2");
    EXPECT_EQ(NameEn(81), u"↓");
    EXPECT_EQ(NameEs(81), u"↓");
    EXPECT_EQ(NameEn(0xF0), u"NILL");
    EXPECT_EQ(NameEs(0xF4), u"NULL");
}

// The usage each on-screen key gives, English layout then Spanish.
constexpr std::array<uint8_t, 79> kKeyIndexUsagesEn = {
    41, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 73, 53, 30, 31, 32, 33, 34, 35, 36, 37,
    38, 39, 45, 46, 42, 76, 43, 20, 26, 8, 21, 23, 28, 24, 12, 18, 19, 47, 48, 49, 57, 4, 22,
    7, 9, 10, 11, 13, 14, 15, 51, 52, 40, 225, 29, 27, 6, 25, 5, 17, 16, 54, 55, 56, 229, 224,
    226, 227, 44, 231, 230, 228, 80, 82, 79, 81};

TEST(KeyVocabulary, KeyIndexGivesTheUsageOfItsKeyByLanguage)
{
    std::array<uint8_t, 79> spanish = kKeyIndexUsagesEn;
    spanish[14] = 51;  // 0xC0
    spanish[25] = 56;  // 0xBD
    spanish[26] = 48;  // 0xBB
    spanish[40] = 45;  // 0xDB
    spanish[41] = 46;  // 0xDD
    spanish[42] = 53;  // 0xDC
    spanish[53] = 47;  // 0xBA
    spanish[66] = 49;  // 0xBF
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        const auto& expected = language == 1 ? kKeyIndexUsagesEn : spanish;
        for (int index = 0; index < 79; ++index) {
            EXPECT_EQ(KeyIndexToHidUsage(static_cast<uint8_t>(index)), expected[index]) << "index " << index << " language " << language;
        }
        for (int index = 79; index < 256; ++index) EXPECT_EQ(KeyIndexToHidUsage(static_cast<uint8_t>(index)), 0xFF);
    }
}

TEST(KeyVocabulary, LanguageChoosesTheConversionAndTheMouseButtonNames)
{
    {
        LanguageGuard english(1);
        EXPECT_EQ(VkToHidUsage(0xBA), 51);
        EXPECT_EQ(HidUsageToVk(51), 0xBA);
        EXPECT_EQ(GetKeyDisplayName(0xF1), u"Left button ");
        EXPECT_EQ(GetKeyDisplayName(0xF2), u"Middle button");
        EXPECT_EQ(GetKeyDisplayName(0xF3), u"Right button");
        EXPECT_EQ(GetKeyDisplayName(46), u"=+");
        std::u16string out = u"old";
        EXPECT_EQ(GetKeyName(out, 4), u"A");
        EXPECT_EQ(out, u"A");
    }
    {
        LanguageGuard spanish(0);
        EXPECT_EQ(VkToHidUsage(0xBA), 47);
        EXPECT_EQ(HidUsageToVk(51), 0xC0);
        EXPECT_EQ(GetKeyDisplayName(0xF1), u"Botón Izquierdo");
        EXPECT_EQ(GetKeyDisplayName(0xF2), u"Botón Medio");
        EXPECT_EQ(GetKeyDisplayName(0xF3), u"Botón Derecho");
        EXPECT_EQ(GetKeyDisplayName(46), u"¡¿");
    }
    {
        // A hand-edited language value is taken as Spanish, never as no language at all.
        LanguageGuard other(7);
        EXPECT_EQ(VkToHidUsage(0xBA), 47);
        EXPECT_EQ(GetKeyDisplayName(0xF3), u"Botón Derecho");
    }
}

}  // namespace
