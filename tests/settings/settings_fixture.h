#pragma once
// Shared by the profile store's tests in both trees: a state where every stored value differs,
// the state as the text a save gives, and an INI source that records every access.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "settings/memory_ini.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"
#include "tests/utf16.h"

// Every test starts and ends with the start values, so no test sees another's state.
class SettingsTest : public testing::Test {
protected:
    void SetUp() override { ResetSettingsState(); }
    void TearDown() override { ResetSettingsState(); }
};

// The state whose full save is tests/data/settings/full_save.ini.
inline void FillDistinctState()
{
    for (uint32_t p = 0; p < 4; ++p) {
        for (uint32_t b = 0; b < 9; ++b) {
            g_buttonAssignments[p][b] = (p + 1) * 10 + b;
            g_ledReactEnabled[p][b] = (p + b) % 2;
            g_ledReactType[p][b] = (p * 9 + b) % 4;
        }
    }
    g_dpiLevel = 3;
    g_wheelStatus = 1;
    g_cycleColourMask = 0x55;
    SplitCycleColourMask();
    for (uint32_t i = 0; i < 6; ++i) {
        g_dpiSet[i] = static_cast<uint8_t>(i + 2);
        g_dpiBarPos[i] = DpiBarPosition(i, g_dpiSet[i]);
        g_dpiSetEnabled[i] = i % 2 ? 7 : 0;
        g_dpiColours[i] = {i, i + 1, 15 - i};
    }
    for (uint32_t i = 0; i < 7; ++i) g_ledUserColours[i] = {i, 2 * i, 15 - i};
    RecomputeColourRefs();
    g_ledType = 7;
    g_ledMode = 7;
    for (uint32_t i = 0; i < 10; ++i) g_ledTypeSwitchEnabled[i] = i * 3;
    g_ledTypeSwitchEnabled[9] = 0xFFFFFFFF;
    g_ledCycleTime = 4;
    g_ledSymmetry = 1;
    g_ledDirection = 2;
    g_ledBrightness = 6;
    g_pointerSpeed = 11;
    g_wheelSpeed = 2;
    g_usbSpeed = 3;
    g_fireTime = 300;
}

// Everything a save writes, as the text of a fresh file.
inline std::u16string SavedText()
{
    MemoryIniFile ini;
    SaveConfigToIni(ini, 1);
    return ini.Text();
}

inline std::string ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(KESTRA_TEST_DATA_DIR) + "/settings/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A MemoryIniFile that keeps a log of every read (with its buffer width) and write.
class RecordingIni : public MemoryIniFile {
public:
    struct Access {
        std::u16string section;
        std::u16string key;
        size_t width;  // reads only
        std::u16string value;  // writes only
    };
    using MemoryIniFile::MemoryIniFile;
    explicit RecordingIni(MemoryIniFile file) : MemoryIniFile(std::move(file)) {}

    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        reads.push_back({section, key, buffer.size(), {}});
        return MemoryIniFile::GetString(section, key, buffer);
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        writes.push_back({section, key, 0, value});
        return MemoryIniFile::PutString(section, key, value);
    }

    std::vector<Access> reads;
    std::vector<Access> writes;
};
