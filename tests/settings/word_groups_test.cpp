#include "settings/word_groups.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

// "ポ" is 0x83 0x7C: its second byte is "|".
const std::string kPo = "\x83\x7C";

/// A fresh directory for the settings file, removed after the profile that writes into it.
class WordGroupsTest : public ::testing::Test {
protected:
    testing::TempDir m_dir;
    Profile m_profile{m_dir.path() + "/pyxo.ini"};
};

Strings numberedNames(int count) {
    Strings names;
    for (int i = 0; i < count; ++i) names.push_back("group" + std::to_string(100 + i));
    return names;
}

TEST(BarList, SplitsOnlyAtBarsThatStandAlone) {
    EXPECT_EQ(splitBarList(kPo + "p|x||" + kPo + "|tail"), (Strings{kPo + "p", "x", kPo, "tail"}));
    EXPECT_EQ(joinBarList({kPo, "a b"}), kPo + "|a b|");
    EXPECT_FALSE(holdsBar(kPo + kPo));
    EXPECT_TRUE(holdsBar(kPo + "|"));
}

TEST(GroupNameKeys, NamesTheSettingsFileCannotKeyAreRefused) {
    EXPECT_EQ(normalizeGroupName("  my group \t"), "my group");
    EXPECT_EQ(normalizeGroupName("abc\x83"), "abc");
    for (const char* bad : {"a=b", " [x]", "a|b", "a\nb", "   "}) {
        EXPECT_FALSE(isStorableGroupName(bad)) << bad;
    }
    EXPECT_TRUE(isStorableGroupName(kPo + "[x] y"));
    EXPECT_TRUE(sameGroupName("Fruit", "fRUIT"));
    // ア and ッ differ only in a second byte that looks like "A" and "a".
    EXPECT_FALSE(sameGroupName("\x83\x41", "\x83\x61"));
}

TEST_F(WordGroupsTest, ChunksCloseAsSoonAsTheyPassTwoHundredBytes) {
    Strings names = numberedNames(40);  // eight bytes each
    Strings chunks = nameChunks(names);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].size(), 207u);
    EXPECT_EQ(splitBarList(chunks[1]).size(), 17u);

    EXPECT_EQ(writeGroupNames(m_profile, names, NameChunkWrite::CompleteOnly), 1);
    EXPECT_EQ(m_profile.readString("WordGroupNames", "Name", ""), chunks[0]);
    EXPECT_FALSE(m_profile.readRaw("WordGroupNames", "Name1"));
    EXPECT_EQ(writeGroupNames(m_profile, names, NameChunkWrite::All), 2);
    EXPECT_EQ(readAllGroupNames(m_profile), names);
    EXPECT_EQ(readFirstGroupNames(m_profile), Strings(names.begin(), names.begin() + 23));
}

TEST_F(WordGroupsTest, ReadingStopsAtTheFirstEmptyLaterChunkAndSkipsRepeats) {
    m_profile.writeString("WordGroupNames", "Name", "");
    m_profile.writeString("WordGroupNames", "Name1", "b||a|B| b |c=d|");
    m_profile.writeString("WordGroupNames", "Name3", "lost|");
    EXPECT_EQ(readAllGroupNames(m_profile), (Strings{"b", "a"}));
    EXPECT_TRUE(readFirstGroupNames(m_profile).empty());
}

TEST_F(WordGroupsTest, WritingAllClearsChunkKeysALongerListUsed) {
    writeGroupNames(m_profile, numberedNames(60), NameChunkWrite::All);
    ASSERT_FALSE(m_profile.readString("WordGroupNames", "Name2", "").empty());
    writeGroupNames(m_profile, {"only"}, NameChunkWrite::All);
    EXPECT_EQ(readAllGroupNames(m_profile), (Strings{"only"}));
    EXPECT_EQ(m_profile.readString("WordGroupNames", "Name2", "x"), "");

    writeGroupNames(m_profile, {}, NameChunkWrite::All);
    EXPECT_TRUE(readAllGroupNames(m_profile).empty());
}

TEST_F(WordGroupsTest, LongValuesComeBackWhole) {
    // Cut to 259 bytes, the group would lose words and the last one could come back shortened.
    Strings kana;
    for (int i = 0; i < 100; ++i) kana.push_back({char(0x82 + i / 50), char(0x9F + i % 50)});
    Strings english;
    for (int i = 0; i < 30; ++i) english.push_back("international" + std::to_string(i));
    ASSERT_TRUE(writeGroupWords(m_profile, "kana", kana));
    ASSERT_TRUE(writeGroupWords(m_profile, "english", english));
    EXPECT_EQ(readGroupWords(m_profile, "kana"), kana);
    EXPECT_EQ(readGroupWords(m_profile, "english"), english);

    std::string longName(250, 'n');
    writeGroupNames(m_profile, {"short", longName}, NameChunkWrite::All);
    EXPECT_EQ(readAllGroupNames(m_profile), (Strings{"short", longName}));
}

TEST_F(WordGroupsTest, GroupWordsAndPattern) {
    ASSERT_TRUE(writeGroupWords(m_profile, " in group ", {"in", "into", kPo, "a|b", "a b"}));
    EXPECT_EQ(m_profile.readString("WordGroup", "IN GROUP", ""), "in|into|" + kPo + "|a b|");
    EXPECT_EQ(readGroupWords(m_profile, "in group"), (Strings{"in", "into", kPo, "a b"}));
    EXPECT_EQ(readGroupPattern(m_profile, "in group"), "in|into|" + kPo + "|a b");
    EXPECT_EQ(readGroupPattern(m_profile, "missing"), "");
    EXPECT_FALSE(writeGroupWords(m_profile, "a=b", {"x"}));
    EXPECT_FALSE(m_profile.readRaw("WordGroup", "a"));
}

}  // namespace
}  // namespace vellmora
