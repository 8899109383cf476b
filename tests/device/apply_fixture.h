#pragma once
// A fresh program run for the apply and the device threads: settings at their start values, no
// macro groups, config.ini and the macro files in memory, the simulated mouse found, a fake
// clock, recorded messages and Windows settings.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/apply_tables.h"
#include "device/apply_writer.h"
#include "device/main_window_link.h"
#include "device/system_parameters.h"
#include "macros/macro_groups.h"
#include "macros/macro_line_codec.h"
#include "macros/memory_profile_files.h"
#include "settings/ini_value.h"
#include "settings/key_vocabulary.h"
#include "settings/memory_ini.h"
#include "settings/settings_state.h"
#include "tests/device/simulated_device.h"
#include "tests/recording_prompts.h"
#include "tests/tools/program_state.h"

// Device threads request repaints too.
inline std::atomic<int> g_repaintRequests{0};

// A config.ini that takes no write (read-only, a full disk).
class ReadOnlyIni : public MemoryIniFile {
public:
    bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return false; }
    std::u16string Path() const override { return u"C:\\kestra\\skins\\config\\config.ini"; }
};

// Files made on demand by a function, counting the demands.
class TestFilesSource : public DeviceLinkFilesSource {
public:
    explicit TestFilesSource(std::function<DeviceLinkFiles()> make) : make_(std::move(make)) {}
    DeviceLinkFiles& Current() override
    {
        ++calls;
        return files_.emplace(make_());
    }
    int calls = 0;

private:
    std::function<DeviceLinkFiles()> make_;
    std::optional<DeviceLinkFiles> files_;
};

class ApplyTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSettingsState();
        ResetApplyTables();
        ResetMacroStores();
        g_languageEnglish = 1;
        g_curConfig = 1;
        g_currentProfile = 0;
        g_repaintRequests = 0;
        SetMainWindowRepaint([] { ++g_repaintRequests; });
        ClearDeviceWriteFailures();
        SetSystemParameters(&system);
        device = std::make_unique<SimulatedDevice>(mouse);
    }
    void TearDown() override
    {
        device.reset();
        SetSystemParameters(nullptr);
        SetMainWindowRepaint(nullptr);
        SetDeviceWriteFailed(nullptr);
        ClearDeviceWriteFailures();
        ResetSettingsState();
        ResetApplyTables();
        ResetMacroStores();
    }

    DeviceLinkFiles Files() { return {ini, {files, {MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn}, folder}}; }
    TestFilesSource Source() { return TestFilesSource([this] { return Files(); }); }

    void Apply()
    {
        DeviceLinkFiles linkFiles = Files();
        mouse.ClearLog();
        WriteSettingsToDevice(linkFiles);
    }

    // Writes the group files and reads them in as the start-up does.
    void SetGroups(const std::vector<std::pair<std::u16string, std::vector<MacroRecord>>>& groups)
    {
        const std::u16string groupFile = folder + kMacroGroupFileName;
        files.Put(groupFile, kGroupCountSection, kGroupCountKey, FormatIniInt(static_cast<int32_t>(groups.size())));
        for (size_t g = 0; g < groups.size(); ++g) {
            files.Put(groupFile, kGroupNameSection, FormatIniInt(static_cast<int32_t>(g)), groups[g].first);
            const std::u16string path = folder + groups[g].first + u".dat";
            const auto& macros = groups[g].second;
            files.Put(path, kMacrosSection, kMacroNumKey, FormatIniInt(static_cast<int32_t>(macros.size())));
            for (size_t m = 0; m < macros.size(); ++m)
                files.Put(path, kMacrosSection, FormatIniInt(static_cast<int32_t>(m)),
                          EncodeMacroLine(macros[m], MacVkAndText::HidToVkEn));
        }
        const MacroKeyLayout layout{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn};
        g_macroFolder = folder;
        LoadMacroGroups(files, layout, folder);
        if (g_macroGroupCount != 0) {
            LoadGroupFile(files, layout, folder, g_currentGroup, true);
            LoadGroupMacroNames(files, folder);
        }
    }

    MacroRecord StoredMacro(const std::u16string& group, int macro)
    {
        MacroRecord record{};
        const auto line = files.Get(folder + group + u".dat", kMacrosSection, FormatIniInt(macro), kMacroLineBufferChars);
        DecodeMacroLine(line, record, MacVkAndText::VkToHidEn);
        return record;
    }

    std::u16string IniValue(const std::u16string& section, const std::u16string& key)
    {
        return ini.Value(section, key).value_or(u"<missing>");
    }

    SimulatedMouse mouse;
    std::unique_ptr<SimulatedDevice> device;
    MemoryIniFile ini;
    MemoryProfileFiles files;
    RecordingSystemParameters system;
    RecordingPrompts prompts;
    std::u16string folder = u"C:\\kestra\\skins\\INI_EN\\macro\\";
};

// The device traffic as one line per run or single command: "W 0x0008/8" (a committed write
// run), "R 0x0043/1" (a read), "APPLY", "FIRE 1", "FIRE 0", "KEY 0x0223".
inline std::vector<std::string> TrafficSummary(const SimulatedMouse& mouse)
{
    std::vector<std::string> lines;
    char text[32];
    for (const LoggedReport& entry : mouse.Log()) {
        if (entry.direction != ReportDirection::SetFeature || entry.bytes.size() < 8) continue;
        const auto& b = entry.bytes;
        const unsigned address = b[4] | (b[5] << 8);
        if (b[1] == 0x18 && b[2] == 0x09) {
            std::snprintf(text, sizeof text, "W 0x%04X/%d", address, b[7] + 1);
        } else if (b[1] == 0x18 && b[2] == 0x05 && b[3] == 0) {
            std::snprintf(text, sizeof text, "R 0x%04X/%d", address, b[7] + 1);
        } else if (b[1] == 0x18 && b[2] == 0x10) {
            std::snprintf(text, sizeof text, "APPLY");
        } else if (b[1] == 0x11) {
            std::snprintf(text, sizeof text, "FIRE %d", b[2] == 2 ? 1 : 0);
        } else if (b[1] == 0x17) {
            std::snprintf(text, sizeof text, "KEY 0x%04X", (b[2] << 8) | b[3]);
        } else {
            continue;
        }
        lines.emplace_back(text);
    }
    return lines;
}

inline MacroRecord MakeMacro(const std::u16string& name, std::vector<MacroEvent> events, uint8_t loopMode = 0,
                             uint16_t repeatCount = 1)
{
    MacroRecord r{};
    for (size_t i = 0; i < name.size() && i < 9; ++i) r.name[i] = name[i];
    r.loopMode = loopMode;
    r.repeatCount = repeatCount;
    for (const MacroEvent& e : events) {
        r.SetEvent(r.eventCount++, e);
        if (e.code == MacroEventCode::Move) ++r.moveCount;
        if (e.code == MacroEventCode::Cpi) ++r.cpiCount;
        if (e.code == MacroEventCode::Light) ++r.lightCount;
    }
    return r;
}
