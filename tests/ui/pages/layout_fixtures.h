#pragma once
// Layout files held as texts by path, and the four pages' tables as the window holds them, for
// the loaders' and the painting's tests and the layout fuzzer.
#include <array>
#include <map>
#include <memory>
#include <string>

#include "settings/memory_ini.h"
#include "ui/pages/page_painting.h"
#include "ui/pages/skin_layout.h"

class MemoryLayoutFiles : public SkinLayoutFiles {
public:
    std::unique_ptr<IniSource> Open(const std::u16string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end()) return nullptr;
        return std::make_unique<MemoryIniFile>(found->second);
    }

    std::map<std::u16string, std::u16string> files;
};

struct LayoutTableSet {
    std::array<ButtonPos, kMainLayoutCount> mainPos{};
    std::array<std::u16string, kMainLayoutCount> mainText;
    std::array<ButtonPos, kAdvancedLayoutCount> advancedPos{};
    std::array<std::u16string, kAdvancedLayoutCount> advancedText;
    std::array<ButtonPos, kLedLayoutCount> ledPos{};
    std::array<std::u16string, kLedLayoutCount> ledText;
    std::array<ButtonPos, kMacroLayoutCount> macroPos{};
    std::array<std::u16string, kMacroLayoutCount> macroText;
    MacroControlRects controls{};

    SkinTables View() { return {mainPos, mainText, ledPos, ledText, advancedPos, advancedText, macroPos, macroText}; }
    // The four page layouts in the window's order; false when any file was missing.
    bool LoadPages(SkinLayoutFiles& files)
    {
        const bool main = LoadSkinMainLayout(files, mainPos, mainText);
        const bool color = LoadSkinColorLayout(files, ledPos, ledText);
        const bool advance = LoadSkinAdvanceLayout(files, advancedPos, advancedText);
        const bool macro = LoadSkinMacroLayout(files, macroPos, macroText, controls);
        return main && color && advance && macro;
    }
};
