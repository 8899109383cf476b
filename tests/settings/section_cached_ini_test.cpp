// Profile loads read each section of their source once and load what reading key by key loads;
// what the cache cannot answer by itself goes to the source.
#include "settings/section_cached_ini.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/profile_store.h"
#include "tests/settings/settings_fixture.h"

namespace {

// A file whose sections can also be read whole, as the platform's section reader gives them.
class SectionedIni : public RecordingIni {
public:
    using RecordingIni::RecordingIni;

    std::optional<std::u16string> GetSection(const std::u16string& section) override
    {
        sectionReads.push_back(section);
        if (!whole) return std::nullopt;
        std::u16string text;
        for (const std::u16string& key : Keys(section)) text += key + u"=" + *Value(section, key) + u'\0';
        return text + extraLines;
    }

    std::vector<std::u16string> sectionReads;
    bool whole = true;
    std::u16string extraLines;
};

using SectionCache = SettingsTest;

std::u16string Read(IniSource& ini, const std::u16string& section, const std::u16string& key, size_t chars = 10)
{
    std::array<char16_t, 16> buffer{};
    const size_t length = ini.GetString(section, key, std::span<char16_t>(buffer.data(), chars));
    return std::u16string(buffer.data(), length);
}

TEST_F(SectionCache, ProfileLoadsReadEachSectionOnceAndLoadWhatKeyByKeyReadingLoads)
{
    const MemoryIniFile file = MemoryIniFile::FromBytes(ReadFixture("full_save.ini"));
    for (bool reset : {false, true}) {
        ResetSettingsState();
        g_currentProfile = 2;
        MemoryIniFile plain = file;
        LoadProfile(plain, 3, reset);
        const std::u16string expected = SavedText();

        ResetSettingsState();
        g_currentProfile = 2;
        SectionedIni sectioned(file);
        LoadProfile(sectioned, 3, reset);
        EXPECT_EQ(SavedText(), expected) << reset;
        EXPECT_TRUE(sectioned.reads.empty());
        const std::vector<std::u16string> read = reset ? std::vector<std::u16string>{u"CfgReset2", u"CfgReset3", u"CfgReset4"}
                                                       : std::vector<std::u16string>{u"Config1", u"Config2", u"Config3", u"Config4"};
        EXPECT_EQ(sectioned.sectionReads, read) << reset;
    }

    SectionedIni sectioned(file);
    EXPECT_TRUE(HoldsProgramWideSettings(sectioned, u"Config2"));
    LoadInitSection(sectioned);
    EXPECT_EQ(sectioned.sectionReads, (std::vector<std::u16string>{u"Config2", u"Init"}));
    EXPECT_TRUE(sectioned.reads.empty());
}

TEST_F(SectionCache, WhatItCannotAnswerGoesToTheSourceAndAWriteDropsWhatWasRead)
{
    SectionedIni file(MemoryIniFile(u"[Config1]\r\nK0=7\r\nK1=8\r\n"));
    SectionCachedIni cached(file);

    // A name beyond ASCII before the one asked may equal it by the platform's case rules.
    file.extraLines = std::u16string(u"\u212A2=5") + u'\0' + u"K2=6" + u'\0';
    EXPECT_EQ(Read(cached, u" Config1\t", u"k0"), u"7");
    EXPECT_EQ(Read(cached, u"Config1", u"K2"), u"");  // the source's own answer
    EXPECT_EQ(file.reads.size(), 1u);
    EXPECT_EQ(Read(cached, u"Config1", u"\u00C9"), u"");
    EXPECT_EQ(Read(cached, u"Config1", u";K0"), u"");
    EXPECT_EQ(file.reads.size(), 3u);
    EXPECT_EQ(file.sectionReads, std::vector<std::u16string>{u"Config1"});

    cached.PutString(u"Config1", u"K1", u"9");
    EXPECT_EQ(file.writes.size(), 1u);
    EXPECT_EQ(Read(cached, u"Config1", u"K1"), u"9");
    EXPECT_EQ(file.sectionReads.size(), 2u);

    // A section the source cannot give whole is read key by key.
    SectionedIni partial(MemoryIniFile(u"[Config1]\r\nK0=7\r\n"));
    partial.whole = false;
    SectionCachedIni partialCache(partial);
    EXPECT_EQ(Read(partialCache, u"Config1", u"K0"), u"7");
    EXPECT_EQ(partial.reads.size(), 1u);
}

}  // namespace
