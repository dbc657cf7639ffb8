#include "results/avelen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/avelen_dialog_model.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;
using testing::TempDir;
using testing::writeFileBytes;

Lines linesOf(const CExStringList& list) { return Lines(list.begin(), list.end()); }

TEST(AverageLineTest, MeansAreRightAlignedWithThreeDecimals) {
    EXPECT_EQ(averageLengthLine({2, 5}, "/c/a.txt"), " 2.500 : /c/a.txt\r\n");
    EXPECT_EQ(averageLengthLine({3, 37}, "/c/b.txt"), "12.333 : /c/b.txt\r\n");
    EXPECT_EQ(averageLengthLine({0, 0}, "/c/empty.txt"), " -.--- : /c/empty.txt\r\n");
    EXPECT_EQ(averageLengthLine({0, 0}, kAverageTotalLabel), " -.--- : <<Total>>\r\n");
    // A path is text, never a format.
    EXPECT_EQ(averageLengthLine({1, 1}, "/c/%s%d.txt"), " 1.000 : /c/%s%d.txt\r\n");
}

TEST(WordCountTest, CountsTheScannersWords) {
    WordLengthCount count;
    std::string text = "Don't stop, 3.14 m!";
    countWords(text, count);
    EXPECT_EQ(count.words, 4);  // Don't, stop, 3.14, m
    EXPECT_EQ(count.bytes, 5 + 4 + 4 + 1);

    // Japanese text without blanks is one word of all its bytes; ソ ends in 0x5C.
    WordLengthCount japanese;
    std::string kana = "\x82\xa0\x83\x5c\x82\xa2";
    countWords(kana, japanese);
    EXPECT_EQ(japanese.words, 1);
    EXPECT_EQ(japanese.bytes, 6);

    WordLengthCount none;
    std::string empty;
    countWords(empty, none);
    std::string separators = " ,.;! \n";
    countWords(separators, none);
    EXPECT_EQ(none.words, 0);
}

class AverageWordLengthTest : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& content) {
        const std::string path = m_dir.file(name);
        writeFileBytes(path, content);
        m_files.addTail(path);
        return path;
    }
    Lines run(AverageWordLengthOutcome* outcome = nullptr) {
        CExStringList lines;
        AverageWordLengthOutcome result = averageWordLength(m_files, lines, m_ui);
        if (outcome != nullptr) *outcome = result;
        return linesOf(lines);
    }

    TempDir m_dir;
    CExStringList m_files;
    RecordingUserInterface m_ui;
};

TEST_F(AverageWordLengthTest, EachFileThenTheMeanOverAllWords) {
    const std::string a = file("a.txt", "ab cde\n");
    const std::string b = file("b.txt", "x\r\n\r\nyyyyyyy zzzzzzz\r\n");
    m_files.addTail(m_dir.file("missing.txt"));  // cannot be opened: no line
    const std::string c = file("c.txt", "... !!!\n\n");
    AverageWordLengthOutcome outcome;
    EXPECT_EQ(run(&outcome), (Lines{" 2.500 : " + a + "\r\n", " 5.000 : " + b + "\r\n",
                                    " -.--- : " + c + "\r\n", std::string(kAverageRule),
                                    // 20 bytes in 5 words, not the mean of 2.5 and 5
                                    " 4.000 : <<Total>>\r\n"}));
    EXPECT_EQ(outcome.filesCounted, 3);
    EXPECT_EQ(outcome.total.words, 5);
    EXPECT_FALSE(outcome.cancelled);
}

TEST_F(AverageWordLengthTest, NoFileOrNoWordGivesOnlyTheClosingLines) {
    EXPECT_EQ(run(), (Lines{std::string(kAverageRule), " -.--- : <<Total>>\r\n"}));
    file("blank.txt", "\n \n");
    EXPECT_EQ(run().back(), " -.--- : <<Total>>\r\n");
}

TEST_F(AverageWordLengthTest, LongLinesAreReadWhole) {
    // A word across the reader's 8,191-byte pieces counts once, and no byte is dropped.
    const std::string line = std::string(8000, 'x') + " " + std::string(500, 'y');
    file("long.txt", line + "\n" + std::string(300, 'z') + "\n");
    AverageWordLengthOutcome outcome;
    run(&outcome);
    EXPECT_EQ(outcome.total.words, 3);
    EXPECT_EQ(outcome.total.bytes, 8800);
}

TEST_F(AverageWordLengthTest, AFileWithoutLineEndsIsCountedExactlyInPieces) {
    // Two and a half mebibytes on one line: words of 4 bytes, with "3.14"-like words and
    // Japanese words that a piece boundary must not split.
    std::string text;
    long long words = 0;
    long long bytes = 0;
    for (int i = 0; text.size() < (std::size_t{5} << 19); ++i) {
        const std::string word = i % 3 == 0   ? "1,000"
                                 : i % 3 == 1 ? "\x82\xa0\x82\xa0\x82"
                                                "\xa0"
                                              : "don't";
        text += word + (i % 7 == 0 ? ", " : " ");
        ++words;
        bytes += static_cast<long long>(word.size());
    }
    file("one_line.txt", text);
    AverageWordLengthOutcome outcome;
    run(&outcome);
    EXPECT_EQ(outcome.total.words, words);
    EXPECT_EQ(outcome.total.bytes, bytes);
}

TEST_F(AverageWordLengthTest, ACancelWritesNoTotal) {
    file("a.txt", "one\ntwo\nthree\n");
    file("b.txt", "four\n");
    m_ui.cancelAtPump(3);
    AverageWordLengthOutcome outcome;
    const Lines lines = run(&outcome);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(lines.empty());
}

class AverageDialogTest : public ::testing::Test {
protected:
    AverageDialogTest() {
        writeFileBytes(m_corpus.file("a.txt"), "ab cde\n");
        writeFileBytes(m_corpus.file("b.TXT"), "abcd\n");
        writeFileBytes(m_corpus.file("c.doc"), "abcdefgh\n");
        std::filesystem::create_directory(m_corpus.file("sub"));
        writeFileBytes(m_corpus.file("sub/d.txt"), "a\n");
    }

    TempDir m_corpus;
    TempDir m_dir;
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    Histories m_histories;
    ApplicationSearchFlags m_flags;
    AverageWordLengthDialogModel m_dialog{m_profile, m_ui, m_histories, m_flags};
};

TEST_F(AverageDialogTest, OpensWithTheLastSearchEntriesAndTheirHistories) {
    m_histories.lastValues().filename = "*.txt";
    m_histories.lastValues().directory = "/corpus/";
    m_histories.enter(HistoryKind::Filename, "*.htm");
    m_histories.enter(HistoryKind::Directory, "/other/");
    m_dialog.open();
    EXPECT_EQ(m_dialog.fileName(), "*.txt");
    EXPECT_EQ(m_dialog.directory(), "/corpus/");
    EXPECT_EQ(m_dialog.fileNameHistory(), Lines{"*.htm"});
    EXPECT_EQ(m_dialog.directoryHistory(), Lines{"/other/"});
}

TEST_F(AverageDialogTest, CalculateExpandsThePatternInTheDirectory) {
    m_dialog.open();
    m_dialog.setFileName("*.txt");
    m_dialog.setDirectory(m_corpus.path());  // no final "/"
    int shown = 0;
    EXPECT_EQ(m_dialog.calculate([&] {
        EXPECT_TRUE(m_dialog.calculating());
        EXPECT_TRUE(m_flags.running);
        ++shown;
    }),
              AverageRunEnd::Done);
    const std::string dir = m_corpus.path() + "/";
    EXPECT_EQ(m_dialog.resultText(), " 2.500 : " + dir + "a.txt\r\n" + " 4.000 : " + dir +
                                         "b.TXT\r\n" + std::string(kAverageRule) +
                                         " 3.000 : <<Total>>\r\n");
    EXPECT_EQ(shown, 5);  // emptied, two files, the rule, the total
    EXPECT_FALSE(m_dialog.calculating());
    EXPECT_FALSE(m_flags.running);

    // With "Subdir", the subdirectories' files join in; a new run starts a new text.
    m_profile.writeInt("Options", "Subdir", 1);
    m_profile.flush();
    m_dialog.setFileName("*.*");
    m_dialog.calculate();
    EXPECT_EQ(m_dialog.resultLines().count(), 6);
    EXPECT_EQ(CExStringList::at(m_dialog.resultLines().findIndex(3)),
              " 1.000 : " + dir + "sub/d.txt\r\n");
}

TEST_F(AverageDialogTest, RefusedWhileAnotherCommandRuns) {
    m_dialog.open();
    m_flags.running = true;
    EXPECT_EQ(m_dialog.calculate(), AverageRunEnd::Refused);
    EXPECT_EQ(m_ui.messages(), Lines{"I'm busy now. Please wait for a minutes.m(__)m"});
    EXPECT_TRUE(m_flags.running);  // still the other command's
    EXPECT_TRUE(m_dialog.resultText().empty());
}

TEST_F(AverageDialogTest, ACancelStopsTheRun) {
    m_dialog.open();
    m_dialog.setFileName("*.*");
    m_dialog.setDirectory(m_corpus.path() + "/");
    m_ui.cancelAtPump(1);
    EXPECT_EQ(m_dialog.calculate(), AverageRunEnd::Stopped);
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_ui.cancelRequested());
}

}  // namespace
}  // namespace vellmora
