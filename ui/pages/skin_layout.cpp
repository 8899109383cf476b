#include "ui/pages/skin_layout.h"

#include <algorithm>
#include <limits>

#include "settings/ini_value.h"
#include "settings/settings_state.h"
#include "ui/pages/saturating_sum.h"

std::array<ButtonPos, kWarningLayoutCount> g_warningPos{};

namespace {

const std::u16string kButtonSection = u"BUTTONPOS";
const std::u16string kFunctionSection = u"FUN_STRING";
const std::u16string kEditSection = u"EDIT";
const std::u16string kDisplaySection = u"MACRODISPLAY";

// A missing file reads as empty values everywhere, as the profile functions give them.
class EmptyIni : public IniSource {
public:
    size_t GetString(const std::u16string&, const std::u16string&, std::span<char16_t> buffer) override
    {
        if (!buffer.empty()) buffer[0] = u'\0';
        return 0;
    }
    bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return false; }
};

// The current language's file, or an empty stand-in for a missing one.
struct OpenedLayout {
    std::unique_ptr<IniSource> file;
    bool found;
};

OpenedLayout OpenLayout(SkinLayoutFiles& files, SkinLayoutFile which)
{
    std::unique_ptr<IniSource> file = files.Open(SkinLayoutPath(g_skinFolder, which, g_languageEnglish));
    if (file) return {std::move(file), true};
    return {std::make_unique<EmptyIni>(), false};
}

void ReadButtonPositions(IniSource& file, std::span<ButtonPos> pos, std::span<std::u16string> text)
{
    LayoutFields fields;
    for (size_t id = 0; id < pos.size() && id < text.size(); ++id) {
        ReadIniRecord(file, kButtonSection, static_cast<int>(id), fields);
        pos[id] = LayoutRecordPos(fields);
        text[id] = fields[5];
    }
}

SkinRect ReadControlRect(IniSource& file, const std::u16string& section, int key)
{
    LayoutFields fields;
    ReadIniRecord(file, section, key, fields);
    return ToSkinRect(LayoutRecordPos(fields));
}

bool LoadPositionsOnly(SkinLayoutFiles& files, SkinLayoutFile which, std::span<ButtonPos> pos,
                       std::span<std::u16string> text)
{
    OpenedLayout layout = OpenLayout(files, which);
    ReadButtonPositions(*layout.file, pos, text);
    return layout.found;
}

}  // namespace

std::u16string SkinLayoutPath(const std::u16string& skinFolder, SkinLayoutFile file, uint32_t languageEnglish)
{
    const bool english = languageEnglish != 0;
    const std::u16string folder = english ? u"\\INI_EN\\" : u"\\INI_CN\\";
    const std::u16string suffix = english ? u"_en.ini" : u".ini";
    std::u16string name;
    switch (file) {
    case SkinLayoutFile::Main: name = u"skin_main"; break;
    case SkinLayoutFile::Color: name = u"skin_color"; break;
    case SkinLayoutFile::Advance: name = u"skin_advance"; break;
    case SkinLayoutFile::Macro: name = u"skin_mac"; break;
    case SkinLayoutFile::Warning: name = u"LBWarning"; break;
    }
    return skinFolder + folder + name + suffix;
}

ButtonPos LayoutRecordPos(const LayoutFields& fields)
{
    return {ParseIniInt(fields[1]), ParseIniInt(fields[2]), ParseIniInt(fields[3]), ParseIniInt(fields[4])};
}

SkinRect ToSkinRect(const ButtonPos& pos)
{
    return {pos.x, pos.y, SaturatingSum(pos.x, pos.width), SaturatingSum(pos.y, pos.height)};
}

bool LoadSkinMainLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMainLayoutCount> pos,
                        std::span<std::u16string, kMainLayoutCount> text)
{
    OpenedLayout layout = OpenLayout(files, SkinLayoutFile::Main);
    ReadButtonPositions(*layout.file, pos, text);
    LayoutFields fields;
    for (int key = kFirstFunctionName; key <= kLastFunctionName; ++key) {
        ReadIniRecord(*layout.file, kFunctionSection, key, fields);
        g_functionNames[static_cast<size_t>(key)] = fields[0];
    }
    for (size_t profile = 0; profile < g_profileNames.size(); ++profile) {
        g_profileNames[profile] = g_functionNames[kFirstProfileFunction + profile];
    }
    return layout.found;
}

bool LoadSkinColorLayout(SkinLayoutFiles& files, std::span<ButtonPos, kLedLayoutCount> pos,
                         std::span<std::u16string, kLedLayoutCount> text)
{
    return LoadPositionsOnly(files, SkinLayoutFile::Color, pos, text);
}

bool LoadSkinAdvanceLayout(SkinLayoutFiles& files, std::span<ButtonPos, kAdvancedLayoutCount> pos,
                           std::span<std::u16string, kAdvancedLayoutCount> text)
{
    return LoadPositionsOnly(files, SkinLayoutFile::Advance, pos, text);
}

bool LoadSkinMacroLayout(SkinLayoutFiles& files, std::span<ButtonPos, kMacroLayoutCount> pos,
                         std::span<std::u16string, kMacroLayoutCount> text, MacroControlRects& controls)
{
    OpenedLayout layout = OpenLayout(files, SkinLayoutFile::Macro);
    ReadButtonPositions(*layout.file, pos, text);
    for (int key = 0; key < 3; ++key) {
        controls[kGroupNameEditRect + static_cast<size_t>(key)] = ReadControlRect(*layout.file, kEditSection, key);
        controls[kMacroListRect + static_cast<size_t>(key)] = ReadControlRect(*layout.file, kDisplaySection, key + 1);
    }
    return layout.found;
}

bool LoadWarningLayout(SkinLayoutFiles& files)
{
    return LoadPositionsOnly(files, SkinLayoutFile::Warning, g_warningPos, g_warningTexts);
}
