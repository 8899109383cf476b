// Skin layout files: any value splits into seven pieces of itself, and any file text loads into
// the window's tables without leaving them.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/memory_ini.h"
#include "settings/settings_state.h"
#include "tests/ui/pages/layout_fixtures.h"
#include "ui/pages/page_painting.h"
#include "ui/pages/page_state.h"
#include "ui/pages/skin_layout.h"

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

// Every path opens the one fuzzed file, decoded once.
class OneFile : public SkinLayoutFiles {
public:
    explicit OneFile(std::string_view bytes) : ini_(MemoryIniFile::FromBytes(bytes)) {}
    std::unique_ptr<IniSource> Open(const std::u16string&) override { return std::make_unique<View>(ini_); }

private:
    class View : public IniSource {
    public:
        explicit View(MemoryIniFile& ini) : ini_(ini) {}
        size_t GetString(const std::u16string& s, const std::u16string& k, std::span<char16_t> b) override
        {
            return ini_.GetString(s, k, b);
        }
        bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return false; }

    private:
        MemoryIniFile& ini_;
    };
    MemoryIniFile ini_;
};

void CheckSplit(const std::u16string& value)
{
    const LayoutRecord record = SplitLayoutRecord(value);
    const auto commas = static_cast<size_t>(std::count(value.begin(), value.end(), u','));
    Check(record.tooManyCommas == (commas > kLayoutRecordCommas));
    // The pieces with the commas between them give the value back; the fields behind them are empty.
    const size_t used = std::min(commas, kLayoutRecordCommas) + 1;
    std::u16string joined;
    for (size_t i = 0; i < kLayoutFieldCount; ++i) {
        if (i >= used) {
            Check(record.fields[i].empty());
            continue;
        }
        if (i > 0) joined += u',';
        joined += record.fields[i];
        if (i + 1 < used) Check(record.fields[i].find(u',') == std::u16string::npos);
    }
    Check(joined == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::u16string value;
    for (size_t i = 0; i + 1 < size; i += 2) value.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    CheckSplit(value);

    OneFile file(bytes);
    LayoutTableSet tables;
    Check(tables.LoadPages(file));
    Check(LoadWarningLayout(file));
    for (const auto& name : g_functionNames) Check(name.size() < kLayoutValueChars);
    for (const auto& text : tables.mainText) Check(text.size() < kLayoutValueChars);
    Check(g_profileNames[0] == g_functionNames[18]);
    // Whatever numbers the file holds, every page's paint plan is made from them.
    const SkinTables view = tables.View();
    for (uint8_t page = 0; page < kSkinPageCount; ++page) {
        g_page = page;
        for (const PaintOp& op : PlanPage(view, page)) Check(op.kind != PaintOp::Kind::Text || !op.text.empty());
    }
    for (const ButtonPos& segment : tables.advancedPos) (void)DpiSegmentFillRect(segment);
    g_page = 0;
    return 0;
}
