#include "settings/profile_store.h"

#include <mutex>
#include <vector>

#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "settings/section_cached_ini.h"
#include "settings/settings_state.h"

namespace {

const std::u16string kInitSection = u"Init";

std::u16string Numbered(const std::u16string& name, size_t number) { return name + FormatIniInt(static_cast<int32_t>(number)); }

uint32_t ReadWord(IniSource& ini, const std::u16string& section, const std::u16string& key, size_t chars = kShortValueChars)
{
    return static_cast<uint32_t>(ReadIniInt(ini, section, key, chars));
}

// An 8-bit global keeps the low 8 bits of the number.
uint8_t ReadByte(IniSource& ini, const std::u16string& section, const std::u16string& key, size_t chars = kShortValueChars)
{
    return static_cast<uint8_t>(ReadIniInt(ini, section, key, chars));
}

bool Write(IniSource& ini, const std::u16string& section, const std::u16string& key, uint32_t value)
{
    return WriteIniInt(ini, section, key, static_cast<int32_t>(value));
}

void ReadChannels(IniSource& ini, const std::u16string& section, const std::u16string& prefix, std::array<uint32_t, 3>& channels)
{
    channels[0] = ReadWord(ini, section, prefix + u"_R", kLongValueChars);
    channels[1] = ReadWord(ini, section, prefix + u"_G", kLongValueChars);
    channels[2] = ReadWord(ini, section, prefix + u"_B", kLongValueChars);
}

void WriteChannels(IniSource& ini, const std::u16string& section, const std::u16string& prefix, const std::array<uint32_t, 3>& channels)
{
    Write(ini, section, prefix + u"_R", channels[0]);
    Write(ini, section, prefix + u"_G", channels[1]);
    Write(ini, section, prefix + u"_B", channels[2]);
}

void ReadReactionRow(IniSource& ini, const std::u16string& section, size_t profile)
{
    for (size_t i = 0; i < kMouseButtonCount; ++i) {
        g_ledReactEnabled[profile][i] = ReadWord(ini, section, Numbered(u"LED_REACT_EN", i));
        g_ledReactType[profile][i] = ReadWord(ini, section, Numbered(u"LED_REACT_TYPE", i));
    }
}

void LoadButtonAssignments(IniSource& ini, bool reset)
{
    for (size_t p = 0; p < kProfileCount; ++p) {
        if (reset && p == 0) {
            g_buttonAssignments[0] = g_defaultButtonAssignments;
            continue;
        }
        const std::u16string section = ProfileSectionName(reset, static_cast<int>(p + 1));
        for (size_t i = 0; i < kMouseButtonCount; ++i) g_buttonAssignments[p][i] = ReadWord(ini, section, Numbered(u"K", i));
    }
}

void LoadReactions(IniSource& ini, bool reset)
{
    if (g_currentProfile < kProfileCount) ReadReactionRow(ini, g_configSection, g_currentProfile);
    // A reset returns the current profile's reactions to the factory values only; the other
    // profiles keep the rows the start-up loaded from their own sections.
    if (reset) return;
    // The other rows are written back by every save, so they come from their own sections too.
    for (size_t p = 0; p < kProfileCount; ++p) {
        if (p != g_currentProfile) ReadReactionRow(ini, ProfileSectionName(false, static_cast<int>(p + 1)), p);
    }
}

// Passes the writes on to a source and notes whether every one went through.
class CheckedWrites : public IniSource {
public:
    explicit CheckedWrites(IniSource& ini) : ini_(ini) {}
    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        return ini_.GetString(section, key, buffer);
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        const bool written = ini_.PutString(section, key, value);
        allWritten_ = allWritten_ && written;
        return written;
    }
    bool AllWritten() const { return allWritten_; }

private:
    IniSource& ini_;
    bool allWritten_ = true;
};

// Several keys as one change of the file (IniSource::Rewrite). Whether they all reached it.
template <typename Writes>
bool RewriteChecked(IniSource& ini, Writes writes)
{
    return ini.Rewrite([&] {
        CheckedWrites checked(ini);
        writes(checked);
        return checked.AllWritten();
    });
}

void SaveProfileSection(IniSource& ini, size_t p)
{
    const std::u16string& s = g_configSection;
    for (size_t i = 0; i < kMouseButtonCount; ++i) Write(ini, s, Numbered(u"K", i), g_buttonAssignments[p][i]);
    Write(ini, s, u"DPI_LEVEL", g_dpiLevel);
    Write(ini, s, u"WHEEL_STATUS", g_wheelStatus);
    g_ledUserColourEnabled = 1;
    Write(ini, s, u"LED_USER_COLER_EN", 1);
    Write(ini, s, u"CYC_7COL_EN", g_cycleColourMask);
    for (size_t i = 0; i < kDpiLevelCount; ++i) {
        Write(ini, s, Numbered(u"DPI_SET", i), g_dpiSet[i]);
        Write(ini, s, Numbered(u"DPI_SET_EN", i), g_dpiSetEnabled[i] != 0 ? 1 : 0);
        WriteChannels(ini, s, Numbered(u"DPI", i), g_dpiColours[i]);
    }
    for (size_t i = 0; i < kUserColourCount; ++i) WriteChannels(ini, s, Numbered(u"LED_USER", i), g_ledUserColours[i]);
    Write(ini, s, u"LED_TYPE", g_ledType);
    for (size_t i = 0; i < kLedTypeCount; ++i) Write(ini, s, Numbered(u"LED_TYPE_SW_EN", i), g_ledTypeSwitchEnabled[i]);
    Write(ini, s, u"LED_CYC_TIME", g_ledCycleTime);
    Write(ini, s, u"LED_FEATURE_SCOLOR", g_ledFeatureSColor);
    Write(ini, s, u"LED_FEATURE_SYMMETRY", g_ledSymmetry);
    Write(ini, s, u"LED_FEATURE_DIREC", g_ledDirection);
    Write(ini, s, u"LED_BRIGHT", g_ledBrightness);
    Write(ini, s, u"LED_CYCTIME", g_ledCycleTime);
    for (size_t i = 0; i < kMouseButtonCount; ++i) {
        Write(ini, s, Numbered(u"LED_REACT_EN", i), g_ledReactEnabled[p][i]);
        Write(ini, s, Numbered(u"LED_REACT_TYPE", i), g_ledReactType[p][i]);
    }
    Write(ini, s, u"DPI_SPEED", g_pointerSpeed);
    Write(ini, s, u"WHEEL_SPEED", g_wheelSpeed);
    Write(ini, s, u"USB_SPEED", g_usbSpeed);
    Write(ini, s, u"FIRE_TIME", g_fireTime);
}

}  // namespace

std::u16string ProfileSectionName(bool reset, int n)
{
    return (reset ? std::u16string(u"CfgReset") : std::u16string(u"Config")) + FormatIniInt(n);
}

bool HoldsProfile(IniSource& ini, const std::u16string& section)
{
    std::array<char16_t, kShortValueChars> firstButton{};
    return ini.GetString(section, u"K0", firstButton) != 0;
}

bool HoldsProgramWideSettings(IniSource& source, const std::u16string& section)
{
    SectionCachedIni ini(source);
    std::vector<std::u16string> keys = {u"WHEEL_STATUS", u"DPI_LEVEL", u"LED_TYPE", u"LED_CYCTIME", u"LED_FEATURE_DIREC",
                                        u"LED_FEATURE_SYMMETRY", u"LED_BRIGHT", u"CYC_7COL_EN", u"DPI_SPEED",
                                        u"WHEEL_SPEED", u"USB_SPEED", u"FIRE_TIME"};
    for (const char16_t* channel : {u"_R", u"_G", u"_B"}) {
        for (size_t i = 0; i < kDpiLevelCount; ++i) keys.push_back(Numbered(u"DPI", i) + channel);
        for (size_t i = 0; i < kUserColourCount; ++i) keys.push_back(Numbered(u"LED_USER", i) + channel);
    }
    for (size_t i = 0; i < kDpiLevelCount; ++i) {
        keys.push_back(Numbered(u"DPI_SET", i));
        keys.push_back(Numbered(u"DPI_SET_EN", i));
    }
    for (size_t i = 0; i < kLedTypeCount; ++i) keys.push_back(Numbered(u"LED_TYPE_SW_EN", i));
    std::array<char16_t, kLongValueChars> value{};
    for (const std::u16string& key : keys) {
        if (ini.GetString(section, key, value) == 0) return false;
    }
    return true;
}

void LoadProfile(IniSource& source, int n, bool reset)
{
    std::scoped_lock lock(g_settingsMutex);
    // Read-only from here on: each section once (the start-up's load went from some 180 file
    // opens to 4 under Wine).
    SectionCachedIni ini(source);
    g_curConfigText = FormatIniInt(n);
    g_configSection = ProfileSectionName(reset, n);
    const std::u16string& s = g_configSection;

    LoadButtonAssignments(ini, reset);

    g_wheelStatus = ReadWord(ini, s, u"WHEEL_STATUS");
    g_dpiLevel = ReadWord(ini, s, u"DPI_LEVEL");
    for (size_t i = 0; i < kDpiLevelCount; ++i) {
        g_dpiSet[i] = ReadByte(ini, s, Numbered(u"DPI_SET", i), kLongValueChars);
        g_dpiBarPos[i] = DpiBarPosition(static_cast<uint32_t>(i), g_dpiSet[i]);
        g_dpiSetEnabled[i] = ReadWord(ini, s, Numbered(u"DPI_SET_EN", i), kLongValueChars) != 0 ? 1 : 0;
        ReadChannels(ini, s, Numbered(u"DPI", i), g_dpiColours[i]);
        g_dpiColourRefs[i] = ColorRefFromStored(g_dpiColours[i]);
    }
    g_ledType = ReadByte(ini, s, u"LED_TYPE");
    g_ledMode = g_ledType;
    for (size_t i = 0; i < kLedTypeCount; ++i) g_ledTypeSwitchEnabled[i] = ReadWord(ini, s, Numbered(u"LED_TYPE_SW_EN", i));
    g_ledCycleTime = ReadByte(ini, s, u"LED_CYCTIME");
    // Whatever the file says, the user colours are on.
    g_ledUserColourEnabled = 1;
    g_ledDirection = ReadWord(ini, s, u"LED_FEATURE_DIREC");
    g_ledSymmetry = ReadWord(ini, s, u"LED_FEATURE_SYMMETRY");
    g_ledBrightness = ReadWord(ini, s, u"LED_BRIGHT");
    LoadReactions(ini, reset);
    for (size_t i = 0; i < kUserColourCount; ++i) {
        ReadChannels(ini, s, Numbered(u"LED_USER", i), g_ledUserColours[i]);
        g_ledUserColourRefs[i] = ColorRefFromStored(g_ledUserColours[i]);
    }
    g_cycleColourMask = ReadByte(ini, s, u"CYC_7COL_EN");
    SplitCycleColourMask();
    g_pointerSpeed = ReadByte(ini, s, u"DPI_SPEED");
    g_wheelSpeed = ReadByte(ini, s, u"WHEEL_SPEED");
    g_usbSpeed = ReadByte(ini, s, u"USB_SPEED");
    g_fireTime = ReadWord(ini, s, u"FIRE_TIME");
}

void SaveConfigToIni(IniSource& ini, int n)
{
    std::unique_lock lock(g_settingsMutex);
    g_curConfigText = FormatIniInt(n);
    const bool written = RewriteChecked(ini, [&](IniSource& checked) {
        for (size_t p = 0; p < kProfileCount; ++p) {
            g_configSection = ProfileSectionName(false, static_cast<int>(p + 1));
            SaveProfileSection(checked, p);
        }
    });
    // Told once the lock is released (by this call: a caller that holds it collects the message).
    lock.unlock();
    if (!written) ReportWriteFailure(ini.Path());
}

bool SaveDpiLevel(IniSource& ini, int n)
{
    std::scoped_lock lock(g_settingsMutex);
    g_curConfigText = FormatIniInt(n);
    g_configSection = ProfileSectionName(false, n);
    return Write(ini, g_configSection, u"DPI_LEVEL", g_dpiLevel);
}

void SaveChangedAssignments(IniSource& ini, const ProfileButtonTable& before)
{
    std::unique_lock lock(g_settingsMutex);
    const bool written = RewriteChecked(ini, [&](IniSource& checked) {
        for (size_t p = 0; p < kProfileCount; ++p) {
            const std::u16string section = ProfileSectionName(false, static_cast<int>(p + 1));
            for (size_t i = 0; i < kMouseButtonCount; ++i) {
                if (g_buttonAssignments[p][i] != before[p][i])
                    Write(checked, section, Numbered(u"K", i), g_buttonAssignments[p][i]);
            }
        }
    });
    lock.unlock();
    if (!written) ReportWriteFailure(ini.Path());
}

uint32_t StartProfileNumber(IniSource& ini)
{
    const int32_t curConfig = ReadIniInt(ini, kInitSection, u"CurConfig", kShortValueChars);
    return curConfig >= 1 && curConfig <= static_cast<int32_t>(kProfileCount) ? static_cast<uint32_t>(curConfig) : 1;
}

bool HoldsStartProfile(IniSource& ini)
{
    return HoldsProfile(ini, ProfileSectionName(false, static_cast<int>(StartProfileNumber(ini))));
}

void LoadInitSection(IniSource& source)
{
    std::scoped_lock lock(g_settingsMutex);
    SectionCachedIni ini(source);
    g_curConfig = StartProfileNumber(ini);
    g_currentProfile = g_curConfig - 1;
    g_curConfigText = FormatIniInt(static_cast<int32_t>(g_curConfig));
    g_languageEnglish = ReadIniInt(ini, kInitSection, u"VER_SEL", kShortValueChars) == 1 ? 1 : 0;
}

bool WriteCurConfig(IniSource& ini, uint32_t profileNumber)
{
    std::scoped_lock lock(g_settingsMutex);
    return Write(ini, kInitSection, u"CurConfig", profileNumber);
}

bool WriteVerSel(IniSource& ini, uint32_t language)
{
    std::scoped_lock lock(g_settingsMutex);
    g_verSelText = FormatIniInt(static_cast<int32_t>(language));
    return ini.PutString(kInitSection, u"VER_SEL", g_verSelText);
}
