#include "settings/histories.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

std::vector<std::string> entries(const CExStringList& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

std::string slot(char letter) { return std::string("Keyword1") + letter; }

class HistoriesTest : public ::testing::Test {
protected:
    void writeFile(const std::string& content) { testing::writeFileBytes(m_path, content); }

    testing::TempDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = m_temp.file("pyxo.ini");
    Histories m_histories;
};

TEST_F(HistoriesTest, LoadSkipsEmptySlotsAndSaveKeepsSlotsAfterTheList) {
    writeFile("[History]\nKeyword1A=x\nKeyword1B=\nKeyword1C=y\n");
    {
        Profile profile(m_path);
        m_histories.load(profile);
        EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword1)),
                  (std::vector<std::string>{"x", "y"}));
        ASSERT_TRUE(m_histories.save(profile));
    }
    Profile reread(m_path);
    EXPECT_EQ(reread.readRaw("History", "Keyword1A"), "x");
    EXPECT_EQ(reread.readRaw("History", "Keyword1B"), "y");
    EXPECT_EQ(reread.readRaw("History", "Keyword1C"), "y");
    EXPECT_FALSE(reread.readRaw("History", "Keyword1D"));
}

TEST_F(HistoriesTest, LoadKeepsTheFirstSpellingOfEntriesThatDifferInAsciiCase) {
    writeFile(
        "[FileHistory]\nFilenameA=*.TXT\nFilenameB=*.txt\nFilenameC=*.htm\n"
        "[Extraction]\nKeywordZ=last\n");
    Profile profile(m_path);
    m_histories.load(profile);
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Filename)),
              (std::vector<std::string>{"*.TXT", "*.htm"}));
    EXPECT_EQ(entries(m_histories.list(HistoryKind::ExtractionWord)),
              (std::vector<std::string>{"last"}));

    // Loading again replaces the lists instead of adding to them.
    m_histories.load(profile);
    EXPECT_EQ(m_histories.list(HistoryKind::Filename).count(), 2);
}

TEST_F(HistoriesTest, EnterMovesAnEntryEqualButForCaseToTheHeadInItsStoredSpelling) {
    m_histories.enter(HistoryKind::Keyword1, "Apple");
    m_histories.enter(HistoryKind::Keyword1, "pear");
    m_histories.enter(HistoryKind::Keyword1, "");
    m_histories.enter(HistoryKind::Keyword1, "APPLE");
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword1)),
              (std::vector<std::string>{"Apple", "pear"}));
    m_histories.enter(HistoryKind::Keyword1, "plum");
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword1)),
              (std::vector<std::string>{"plum", "Apple", "pear"}));
}

TEST_F(HistoriesTest, OnlySingleByteLettersFoldShiftJisComparesExactly) {
    // ア is 0x83 0x41, ヂ 0x83 0x61; full-width Ａ is 0x82 0x60, ａ 0x82 0x81.
    const std::string a = "\x83\x41";
    const std::string di = "\x83\x61";
    const std::string keyword = "\x83\x4c\x81\x5b\x83\x8f\x81\x5b\x83\x68 Key";
    m_histories.enter(HistoryKind::Keyword2, a);
    m_histories.enter(HistoryKind::Keyword2, di);
    m_histories.enter(HistoryKind::Keyword2, "\x82\x60");
    m_histories.enter(HistoryKind::Keyword2, "\x82\x81");
    m_histories.enter(HistoryKind::Keyword2, keyword);
    m_histories.enter(HistoryKind::Keyword2, "\x83\x4c\x81\x5b\x83\x8f\x81\x5b\x83\x68 KEY");
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword2)),
              (std::vector<std::string>{keyword, "\x82\x81", "\x82\x60", di, a}));
    {
        Profile profile(m_path);
        ASSERT_TRUE(m_histories.save(profile));
    }
    Profile reread(m_path);
    Histories loaded;
    loaded.load(reread);
    EXPECT_EQ(entries(loaded.list(HistoryKind::Keyword2)),
              entries(m_histories.list(HistoryKind::Keyword2)));
}

TEST_F(HistoriesTest, ThirtyKeywordsStoreTheTwentySixMostRecent) {
    for (int i = 1; i <= 30; ++i)
        m_histories.enter(HistoryKind::Keyword1, "kw" + std::to_string(i));
    EXPECT_EQ(m_histories.list(HistoryKind::Keyword1).count(), 30);
    {
        Profile profile(m_path);
        ASSERT_TRUE(m_histories.save(profile));
    }
    Profile reread(m_path);
    EXPECT_EQ(reread.readRaw("History", slot('A')), "kw30");
    EXPECT_EQ(reread.readRaw("History", slot('Z')), "kw5");
    Histories loaded;
    loaded.load(reread);
    const std::vector<std::string> stored = entries(loaded.list(HistoryKind::Keyword1));
    ASSERT_EQ(stored.size(), 26u);
    EXPECT_EQ(stored.front(), "kw30");
    EXPECT_EQ(stored.back(), "kw5");
}

TEST_F(HistoriesTest, SaveLastValuesWritesSettingAndEntersTheUsedValues) {
    LastSearchValues& last = m_histories.lastValues();
    last.keyword1 = "cat";
    last.keyword2 = "dog";
    last.filename = "*.txt";
    last.directory = "";
    last.resFile = "corpus.lst";
    last.resFileDir = "/data/";
    last.extractionWord = "fish";
    last.kw2Group = 1;
    {
        Profile profile(m_path);
        ASSERT_TRUE(m_histories.saveLastValues(profile, false));
    }
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword1)), (std::vector<std::string>{"cat"}));
    EXPECT_TRUE(m_histories.list(HistoryKind::Keyword2).isEmpty());
    EXPECT_TRUE(m_histories.list(HistoryKind::Directory).isEmpty());
    EXPECT_EQ(m_histories.list(HistoryKind::ResFileDir).count(), 1);
    EXPECT_EQ(m_histories.list(HistoryKind::ExtractionWord).count(), 1);

    Profile reread(m_path);
    EXPECT_EQ(reread.readRaw("Setting", "Keyword1"), "cat");
    EXPECT_EQ(reread.readRaw("Setting", "Keyword2"), "dog");
    EXPECT_EQ(reread.readRaw("Setting", "Directory"), "");
    EXPECT_EQ(reread.readRaw("Setting", "ResFile"), "corpus.lst");
    EXPECT_EQ(reread.readInt("Setting", "KW2_Group", 0), 1);
    // The lists themselves are written only by save().
    EXPECT_FALSE(reread.readRaw("History", slot('A')));

    m_histories.saveLastValues(reread, true);
    EXPECT_EQ(entries(m_histories.list(HistoryKind::Keyword2)), (std::vector<std::string>{"dog"}));
}

}  // namespace
}  // namespace vellmora
