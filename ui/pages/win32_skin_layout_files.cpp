#include "ui/pages/win32_skin_layout_files.h"

#include <windows.h>

#include <map>

#include "settings/config_ini_file.h"
#include "settings/memory_ini.h"
#include "winlib/wide.h"

namespace {

// Each section is read whole on its first use and its keys are answered from memory with the
// rules of the profile functions (MemoryIniFile). The files are only read.
class SectionReadIni : public IniSource {
public:
    explicit SectionReadIni(std::u16string path) : path_(std::move(path)) {}

    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        return Section(section).GetString(kSection, key, buffer);
    }
    bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return false; }

private:
    static constexpr const char16_t* kSection = u"S";

    MemoryIniFile& Section(const std::u16string& name)
    {
        auto found = sections_.find(name);
        if (found == sections_.end()) found = sections_.emplace(name, MemoryIniFile(ReadSection(name))).first;
        return found->second;
    }

    // "[S]" and the section's "key=value" lines; the platform gives them null-separated.
    std::u16string ReadSection(const std::u16string& name) const
    {
        const IniSectionText read = ReadIniSection(path_, name);
        std::u16string text = u"[S]\r\n";
        for (char16_t c : read.lines) text += c == u'\0' ? u'\n' : c;
        return text;
    }

    std::u16string path_;
    std::map<std::u16string, MemoryIniFile> sections_;
};

}  // namespace

std::unique_ptr<IniSource> Win32SkinLayoutFiles::Open(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    return std::make_unique<SectionReadIni>(path);
}
