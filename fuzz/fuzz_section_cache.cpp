// A section of config.ini as the platform's section reader hands it over, whatever it holds:
// every key asked (the section's own names, cut and padded, and names it lacks) into buffers of
// every small size gets a null-ended answer inside its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "settings/section_cached_ini.h"

namespace {

class OneSection : public IniSource {
public:
    explicit OneSection(std::u16string text) : text_(std::move(text)) {}
    size_t GetString(const std::u16string&, const std::u16string&, std::span<char16_t> buffer) override
    {
        if (!buffer.empty()) buffer[0] = u'\0';
        return 0;
    }
    bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return true; }
    std::optional<std::u16string> GetSection(const std::u16string&) override { return text_; }

private:
    std::u16string text_;
};

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    OneSection source(text);
    SectionCachedIni cached(source);

    std::vector<std::u16string> keys = {u"K0", u"k0", u" K0 ", u"", u";", u"\u00E9", std::u16string(1, u'\0')};
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(u'\0', start), text.size());
        const std::u16string line = text.substr(start, end - start);
        keys.push_back(line.substr(0, line.find(u'=')));
        keys.push_back(u" " + line.substr(0, line.find(u'=') / 2));
        start = end + 1;
    }
    for (const std::u16string& key : keys) {
        for (size_t chars = 0; chars <= 12; ++chars) {
            std::vector<char16_t> buffer(chars, u'#');
            const size_t length = cached.GetString(u"Config1", key, buffer);
            if (chars == 0) continue;
            Check(length < chars && buffer[length] == u'\0');
        }
    }
    return 0;
}
