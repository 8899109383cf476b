// The data folder we ship (skins/ and constMacro.dat at the top of the source tree), read back
// through the program's own readers: every file parses, every value lies in its range, and both
// languages hold the same macros.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "macros/macro_file.h"
#include "macros/macro_groups.h"
#ifdef _WIN32
#include "macros/win32_profile_files.h"
#endif
#include "settings/key_vocabulary.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"
#include "tests/tools/apply_probe_run.h"
#include "tests/tools/folder_profile_files.h"
#include "tests/tools/program_state.h"

namespace {

const std::u16string kRoot = std::filesystem::path(std::string(KESTRA_TEST_DATA_DIR) + "/../..").u16string();
const std::u16string kSkins = kRoot + u"\\skins";

constexpr MacroKeyLayout kEnglish{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn};
constexpr MacroKeyLayout kSpanish{MacVkAndText::HidToVkEs, MacVkAndText::VkToHidEs};

std::string ReadBytes(std::u16string path)
{
#ifndef _WIN32
    std::replace(path.begin(), path.end(), u'\\', u'/');
#endif
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::u16string Key(int number)
{
    std::u16string key;
    for (char c : std::to_string(number)) key += static_cast<char16_t>(c);
    return key;
}

// Every value a profile section loads lies in its range.
void ExpectProfileInRange(const std::string& where)
{
    SCOPED_TRACE(where);
    for (const auto& profile : g_buttonAssignments) {
        for (ButtonAssignmentCode code : profile) {
            EXPECT_NE(AssignmentKindOf(code), AssignmentKind::Unassigned) << code;
            if (code >= AssignmentCodes::kFirstFileMacro) {
                EXPECT_TRUE(IsValidFileMacro(code)) << code;
            }
        }
    }
    EXPECT_LE(g_dpiLevel, 5u);
    EXPECT_EQ(g_dpiSetEnabled[g_dpiLevel], 1) << "the active DPI level is switched on";
    for (size_t i = 0; i < g_dpiSet.size(); ++i) {
        EXPECT_LE(g_dpiSet[i], 11);
        for (uint32_t channel : g_dpiColours[i]) EXPECT_LE(channel, 15u);
    }
    for (const auto& colour : g_ledUserColours) {
        for (uint32_t channel : colour) EXPECT_LE(channel, 15u);
    }
    EXPECT_LE(g_ledType, 9);
    EXPECT_LE(g_ledCycleTime, 5);
    EXPECT_NE(g_cycleColourMask & 0x7F, 0);
    EXPECT_LE(g_ledSymmetry, 1u);
    EXPECT_LE(g_ledDirection, 3u);
    EXPECT_LE(g_ledBrightness, 7u);
    for (size_t b = 0; b < kMouseButtonCount; ++b) {
        EXPECT_LE(g_ledReactEnabled[g_currentProfile][b], 1u);
        EXPECT_LE(g_ledReactType[g_currentProfile][b], 3u);
    }
    EXPECT_GE(g_pointerSpeed, 1);
    EXPECT_LE(g_pointerSpeed, 10);
    EXPECT_GE(g_wheelSpeed, 1);
    EXPECT_LE(g_wheelSpeed, 10);
    EXPECT_LE(g_wheelStatus, 1u);
    EXPECT_GE(g_fireTime, 1u);
    EXPECT_LE(g_fireTime, 300u);
}

// Everything but the name (the names are translated), in one key layout.
bool SameRecord(const MacroRecord& a, const MacroRecord& b)
{
    constexpr size_t kNameDigits = 60;
    return EncodeMacroLine(a, MacVkAndText::HidToVkEn).substr(kNameDigits) ==
           EncodeMacroLine(b, MacVkAndText::HidToVkEn).substr(kNameDigits);
}

struct LanguageMacros {
    std::vector<std::u16string> groups;
    std::vector<std::vector<MacroRecord>> macros;
};

LanguageMacros ReadMacroFolder(FolderProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& folder)
{
    ResetMacroStores();
    LanguageMacros out;
    LoadMacroGroups(files, layout, folder);
    for (uint8_t g = 0; g < g_macroGroupCount; ++g) {
        out.groups.push_back(g_macroGroupNames[g]);
        EXPECT_TRUE(LoadGroupFile(files, layout, folder, g, true));
        EXPECT_GE(g_macroCount, 1);
        EXPECT_LE(g_macroCount, 12);
        out.macros.emplace_back(g_macroTable.begin(), g_macroTable.begin() + g_macroCount);
        for (const MacroRecord& m : out.macros.back()) {
            EXPECT_NE(m.name[0], 0);
            EXPECT_GE(m.eventCount, 1);
            EXPECT_GE(m.repeatCount, 1);
        }
    }
    return out;
}

}  // namespace

TEST(ShippedData, ConfigProfilesLoadInRange)
{
    ResetProgramState();
    FolderProfileFiles files;
    MemoryIniFile& config = files.File(kSkins + u"\\config\\config.ini");
    LoadInitSection(config);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_languageEnglish, 1u);
    for (int n : {1, 2, 3, 4, 6}) {
        LoadProfile(config, n, false);
        ExpectProfileInRange("Config" + std::to_string(n));
    }
    for (int n = 1; n <= 4; ++n) {
        LoadProfile(config, n, true);
        ExpectProfileInRange("CfgReset" + std::to_string(n));
    }
    // Frame button 2 loads every setting but the buttons from [Config6]: it must be complete.
    const auto keys1 = config.Keys(u"Config1");
    EXPECT_EQ(config.Keys(u"Config6"), keys1);
    EXPECT_EQ(keys1.size(), 9u + 4 + 30 + 21 + 1 + 10 + 6 + 18 + 4);
    ResetProgramState();
}

TEST(ShippedData, BothLanguagesHoldTheSameMacros)
{
    FolderProfileFiles files;
    const LanguageMacros en = ReadMacroFolder(files, kEnglish, kSkins + u"\\INI_EN\\macro\\");
    const LanguageMacros es = ReadMacroFolder(files, kSpanish, kSkins + u"\\INI_CN\\macro\\");
    ASSERT_GE(en.groups.size(), 1u);
    // The reset puts macro 2 of group 0 on button 9.
    EXPECT_GE(en.macros[0].size(), 3u);
    ASSERT_EQ(en.macros.size(), es.macros.size());
    for (size_t g = 0; g < en.macros.size(); ++g) {
        ASSERT_EQ(en.macros[g].size(), es.macros[g].size());
        for (size_t m = 0; m < en.macros[g].size(); ++m) EXPECT_TRUE(SameRecord(en.macros[g][m], es.macros[g][m]));
    }
    const LanguageMacros enReset = ReadMacroFolder(files, kEnglish, kSkins + u"\\INI_EN\\macroReset\\");
    const LanguageMacros esReset = ReadMacroFolder(files, kSpanish, kSkins + u"\\INI_CN\\macroReset\\");
    EXPECT_EQ(enReset.groups, en.groups);
    EXPECT_EQ(esReset.groups, es.groups);

    ResetMacroStores();
    for (const MacroKeyLayout& layout : {kEnglish, kSpanish}) {
        ReadConstMacroFile(files, layout, kRoot + u"\\constMacro.dat");
        EXPECT_EQ(g_constMacroCount, 13);
        for (const MacroRecord& m : g_constMacroTable) {
            EXPECT_NE(m.name[0], 0);
            EXPECT_GE(m.eventCount, 1);
            EXPECT_LE(m.eventCount, 56) << "the constant-macro reader keeps 56 events";
            EXPECT_EQ(m.lightCount, 0) << "the constant-macro reader drops light blocks";
        }
    }
    ResetMacroStores();
}

// Records of six commas, a text for every function code, and Spanish texts read back whole.
TEST(ShippedData, LayoutFilesParse)
{
    struct Layout {
        const char16_t* en;
        const char16_t* es;
        int records;
    };
    for (const Layout& layout : {Layout{u"skin_main_en.ini", u"skin_main.ini", 29},
                                 Layout{u"skin_advance_en.ini", u"skin_advance.ini", 138},
                                 Layout{u"skin_color_en.ini", u"skin_color.ini", 103},
                                 Layout{u"skin_mac_en.ini", u"skin_mac.ini", 20},
                                 Layout{u"LBWarning_en.ini", u"LBWarning.ini", 3}}) {
        for (const std::u16string& path :
             {kSkins + u"\\INI_EN\\" + layout.en, kSkins + u"\\INI_CN\\" + layout.es}) {
            const std::string bytes = ReadBytes(path);
            ASSERT_GE(bytes.size(), 2u);
            EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE")) << "UTF-16 with a byte-order mark";
            const MemoryIniFile ini = MemoryIniFile::FromBytes(bytes);
            for (int key = 0; key < layout.records; ++key) {
                const auto value = ini.Value(u"BUTTONPOS", Key(key));
                ASSERT_TRUE(value.has_value()) << key;
                EXPECT_EQ(std::count(value->begin(), value->end(), u','), 6) << key;
            }
        }
    }
    const MemoryIniFile es = MemoryIniFile::FromBytes(ReadBytes(kSkins + u"\\INI_CN\\skin_main.ini"));
    const MemoryIniFile en = MemoryIniFile::FromBytes(ReadBytes(kSkins + u"\\INI_EN\\skin_main_en.ini"));
    for (int code = 1; code <= 47; ++code) {
        EXPECT_FALSE(en.Value(u"FUN_STRING", Key(code)).value_or(u"").empty()) << code;
        EXPECT_FALSE(es.Value(u"FUN_STRING", Key(code)).value_or(u"").empty()) << code;
    }
    EXPECT_EQ(es.Value(u"BUTTONPOS", u"9").value_or(u""), u"tab3,642,62,200,42,Iluminación,");
#ifdef _WIN32
    // The platform's own reader gives the Spanish texts whole.
    Win32ProfileFiles platform;
    EXPECT_EQ(platform.Get(kSkins + u"\\INI_CN\\skin_main.ini", u"BUTTONPOS", u"9", 260),
              u"tab3,642,62,200,42,Iluminación,");
    EXPECT_EQ(platform.Get(kSkins + u"\\INI_CN\\skin_main.ini", u"FUN_STRING", u"4", 260), u"Atrás");
#endif
}

// One apply of the shipped folder, as the program's first apply: no message, every bound macro found.
TEST(ShippedData, ApplyRunsClean)
{
    const std::string out = RunApplyProbe(kRoot);
    EXPECT_EQ(out.find("\nmessage "), std::string::npos) << out.substr(0, 2000);
    EXPECT_NE(out.find("\nmemory\n"), std::string::npos);
}
