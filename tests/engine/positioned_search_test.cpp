#include "engine/positioned_search.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/search_options.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

const std::string kA = "\x83\x41";   // ア: its second byte is the value of "A"
const std::string kHa = "\x82\xcd";  // は

/// The positional test on hand-made contexts: keyword 1 stands at byte l.
class PositionedConditionTest : public ::testing::Test {
protected:
    void option(std::string_view key, std::string_view value) {
        profile.writeString("Options", key, value);
    }
    /// Whether the hit of keyword1 (its first occurrence in text) passes with keyword 2.
    bool accepts(const std::string& text, const std::string& keyword1, const KeywordSpec& keyword2,
                 std::initializer_list<int> ticked, bool bySentence = false) {
        WordPositions positions;
        for (int n : ticked) positions.set(n, true);
        positions.bySentence = bySentence;
        profile.flush();
        PositionedCondition condition;
        condition.prepare(readSearchOptions(profile), profile, keyword2, positions);
        // Byte 0 of a context is never printed: the texts here start at byte 1.
        const std::string context = " " + text;
        const std::size_t l = context.find(keyword1);
        EXPECT_NE(l, std::string::npos);
        return condition.accepts(context, static_cast<int>(l), keyword1.size(), 69);
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
};

TEST_F(PositionedConditionTest, KeywordTwoMustStandInATickedWord) {
    EXPECT_TRUE(accepts("the cat sat down", "cat", {"sat"}, {1}));
    EXPECT_FALSE(accepts("the cat then sat", "cat", {"sat"}, {1}));
    EXPECT_TRUE(accepts("the cat then sat", "cat", {"sat"}, {1, 2}));
    // Keyword 1's own word is position 0.
    EXPECT_TRUE(accepts("two cats", "cat", {"cats"}, {0}));
    // Leftward positions count outward from keyword 1.
    EXPECT_TRUE(accepts("a big fat cat", "cat", {"big"}, {-2}));
    EXPECT_FALSE(accepts("a big fat cat", "cat", {"fat"}, {-2}));
    EXPECT_FALSE(accepts("a big fat cat", "cat", {"big"}, {-1, 1, 2, 3, 4, 5}));
    // Positions beyond the text give empty words.
    EXPECT_FALSE(accepts("cat", "cat", {"cat"}, {-5, 5}));
}

TEST_F(PositionedConditionTest, SubstringCountsUnlessABoundaryModeIsSet) {
    EXPECT_TRUE(accepts("the cat sat", "cat", {"at"}, {1}));
    option("KW2Both", "1");
    EXPECT_FALSE(accepts("the cat sat", "cat", {"at"}, {1}));
    EXPECT_TRUE(accepts("the cat at home", "cat", {"at"}, {1}));
    // A later occurrence in the same word may stand free when the first does not.
    option("KW2Both", "0");
    option("KW2Ato", "1");
    EXPECT_TRUE(accepts("cat sis", "cat", {"s"}, {1}));
    EXPECT_FALSE(accepts("cat sit", "cat", {"s"}, {1}));
}

TEST_F(PositionedConditionTest, WayOfSearchDecidesTheSense) {
    option("Method", "1");  // NOT: refused when keyword 2 stands there
    EXPECT_FALSE(accepts("the cat sat down", "cat", {"sat"}, {1}));
    EXPECT_TRUE(accepts("the cat then sat", "cat", {"sat"}, {1}));
    option("Method", "2");  // OR: keyword 2 is another keyword 1, no position is looked at
    EXPECT_TRUE(accepts("the cat then sat", "cat", {"sat"}, {1}));
    option("Method", "0");
    // Without a keyword 2 every hit passes.
    EXPECT_TRUE(accepts("the cat then", "cat", {""}, {1}));
}

TEST_F(PositionedConditionTest, GroupWordsAndIgnoreCase) {
    writeGroupWords(profile, "Moves", {"ran", "Sat"});
    EXPECT_FALSE(accepts("the cat sat", "cat", {"Moves", true}, {1}));
    EXPECT_TRUE(accepts("the cat ran", "cat", {"Moves", true}, {1}));
    option("IgnoreCase", "1");
    EXPECT_TRUE(accepts("The cat SAT", "cat", {"Moves", true}, {1}));
    EXPECT_TRUE(accepts("The cat SAT", "cat", {"sAt"}, {1}));
}

TEST_F(PositionedConditionTest, SentenceSwitchKeepsWordsInTheSentence) {
    EXPECT_TRUE(accepts("the cat? sat", "cat", {"sat"}, {1}));
    EXPECT_FALSE(accepts("the cat? sat", "cat", {"sat"}, {1}, true));
    EXPECT_FALSE(accepts("sat? the cat", "cat", {"sat"}, {-2}, true));
    EXPECT_TRUE(accepts("sat, the cat", "cat", {"sat"}, {-2}, true));
}

TEST_F(PositionedConditionTest, DoubleByteTextIsReadByCharacters) {
    // "A" matches the second byte of ア only byte-wise; with IgnoreCase a byte-wise fold
    // would turn that byte into "a".
    EXPECT_FALSE(accepts(kA + " cat", "cat", {"A"}, {-1}));
    option("IgnoreCase", "1");
    EXPECT_FALSE(accepts(kA + " cat", "cat", {"a"}, {-1}));
    EXPECT_TRUE(accepts(kA + " cat", "cat", {kA}, {-1}));
}

TEST_F(PositionedConditionTest, CutCharacterAtByteZeroDoesNotShiftTheWords) {
    WordPositions positions;
    positions.set(-1, true);
    profile.flush();
    PositionedCondition condition;
    condition.prepare(readSearchOptions(profile), profile, {kHa}, positions);
    // Byte 0 is the second half of a character the layout cut; its value is a lead byte.
    const std::string context = "\x93" + kHa + " cat";
    EXPECT_TRUE(condition.accepts(context, static_cast<int>(context.find("cat")), 3, 69));
}

TEST_F(PositionedConditionTest, WordsAreTakenFromTheFirst299Bytes) {
    WordPositions positions;
    positions.set(1, true);
    profile.flush();
    PositionedCondition condition;
    condition.prepare(readSearchOptions(profile), profile, {"sat"}, positions);
    std::string context = " cat" + std::string(292, ' ');
    EXPECT_TRUE(condition.accepts(context + "sat", 1, 3, 69));    // "sat" ends at byte 299
    EXPECT_FALSE(condition.accepts(context + " sat", 1, 3, 69));  // one byte further
}

TEST(WordPositions, KeysRoundTripThroughTheSettingsFile) {
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    testing::writeFileBytes(dir.file("pyxo.ini"),
                            "[PositionedKwic]\nprev5=1\nkw1pos=1\npos5=1\nBummatsu=1\n");
    WordPositions read = readWordPositions(profile);
    EXPECT_TRUE(read.at(-5) && read.at(0) && read.at(5) && read.bySentence);
    EXPECT_FALSE(read.at(-1) || read.at(1));

    WordPositions written;
    written.set(-2, true);
    written.set(3, true);
    writeWordPositions(profile, written);
    ASSERT_TRUE(profile.flush());
    EXPECT_EQ(testing::readFileBytes(dir.file("pyxo.ini")),
              "[PositionedKwic]\nprev5=0\nkw1pos=0\npos5=0\nBummatsu=0\nprev4=0\nprev3=0\n"
              "prev2=1\nprev1=0\npos1=0\npos2=0\npos3=1\npos4=0\n");
    Profile again(dir.file("pyxo.ini"));
    EXPECT_EQ(readWordPositions(again), written);
}

/// The whole positioned run over files.
class PositionedSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(dir.file("corpus"));
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    SearchOutcome search(const std::string& keyword1, const std::string& keyword2,
                         std::initializer_list<int> ticked) {
        WordPositions positions;
        for (int n : ticked) positions.set(n, true);
        profile.flush();
        SearchRequest request;
        request.keyword1 = {keyword1};
        request.keyword2 = {keyword2};
        request.fileName = "*.txt";
        request.directory = dir.file("corpus") + "/";
        return runPositionedSearch(readSearchOptions(profile), profile, ui, document, state,
                                   request, positions);
    }
    Lines hitTexts() const {
        Lines out;
        for (const std::string& line : document.list(ResultKind::Original)) {
            std::size_t bar = line.find(" | ");
            if (bar != std::string::npos)
                out.push_back(line.substr(bar + 3, line.size() - bar - 5));
        }
        return out;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    CPyxoDoc document{"Result1"};
    SearchState state;
};

TEST_F(PositionedSearchTest, WordsComeFromTheWindowEvenWithOneLineContext) {
    testing::writeFileBytes(dir.file("corpus/a.txt"),
                            "the cat\nsat down\nthe cat then sat\nno cat here\n");
    // bOneLine is not consulted: the word after the first cat is on the next line.
    profile.writeString("Options", "bOneLine", "1");
    SearchOutcome outcome = search("cat", "sat", {1});
    EXPECT_EQ(outcome.total, 1);
    Lines hits = hitTexts();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].substr(32, 16), "cat/sat down/the");
    EXPECT_EQ(state.resultKind, 1);
    EXPECT_EQ(state.resultState, 1);
}

TEST_F(PositionedSearchTest, WithoutKeywordTwoEveryOccurrenceIsAHit) {
    testing::writeFileBytes(dir.file("corpus/a.txt"), "the cat\nsat down\nno cat here\n");
    EXPECT_EQ(search("cat", "", {1}).total, 2);
}

TEST_F(PositionedSearchTest, NothingFoundEndsWithTheRunsMessage) {
    testing::writeFileBytes(dir.file("corpus/a.txt"), "the cat ran\n");
    SearchOutcome outcome = search("cat", "sat", {1});
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(ui.messages(), Lines{"Failed to find...(--;)"});
    EXPECT_EQ(state.resultState, 0);
}

TEST_F(PositionedSearchTest, ExpressionFailuresHaveTheirOwnWording) {
    testing::writeFileBytes(dir.file("corpus/a.txt"), "the cat sat\n");
    setenv("PYXO_JRE", JRE, 1);
    profile.writeString("Options", "bGrep", "1");
    search("ca(t", "", {1});
    search("cat", "s(at", {1});
    unsetenv("PYXO_JRE");
    EXPECT_EQ(ui.messages(), (Lines{"Compilation Failure(;_;)1", "Compilation Error(;_;)2"}));
    EXPECT_EQ(document.list(ResultKind::Original).count(), 0);
}

}  // namespace
}  // namespace vellmora
