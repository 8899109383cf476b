#include "ui/pages/win32_skin_layout_files.h"

#include <windows.h>

#include <map>
#include <vector>

#include "settings/memory_ini.h"
#include "winlib/wide.h"

namespace {

constexpr DWORD kFirstSectionChars = 32 * 1024;
constexpr DWORD kMaxSectionChars = 1024 * 1024;

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
        std::vector<wchar_t> buffer(kFirstSectionChars);
        DWORD copied = 0;
        for (;;) {
            copied = GetPrivateProfileSectionW(AsWide(name), buffer.data(), static_cast<DWORD>(buffer.size()), AsWide(path_));
            // A full buffer reads as size - 2: try a larger one.
            if (copied + 2 < buffer.size() || buffer.size() >= kMaxSectionChars) break;
            buffer.resize(buffer.size() * 4);
        }
        std::u16string text = u"[S]\r\n";
        for (DWORD i = 0; i < copied; ++i) text += buffer[i] == L'\0' ? u'\n' : static_cast<char16_t>(buffer[i]);
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
