// The result commands of pyxo-cli chained as a user chains them: a search writes a formatted
// file, and every later command reads the list the last one showed.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/formatted_file.h"
#include "document/result_document.h"
#include "document/utf8_output.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/document/file_bytes.h"
#include "tests/support/cli_run.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using testing::CliRun;
using testing::readFileBytes;
using testing::writeFileBytes;
using Lines = std::vector<std::string>;

class ResultCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.file("corpus"));
        writeFileBytes(dir.file("corpus/a.txt"),
                       "The zebra ran to the river.\nA lion saw the zebra there.\n"
                       "Nothing here.\nThe old zebra slept.\n");
        writeFileBytes(dir.file("corpus/b.txt"), "one zebra\n");
        writeFileBytes(ini(), "[Options]\nMaxLine=100000\n");
    }
    std::string ini() const { return dir.file("pyxo.ini"); }
    CliRun run(const std::vector<std::string>& arguments) {
        return testing::runCliIn(PYXO_CLI, dir.path(), ini(), arguments);
    }
    /// The lines of standard output without their CR LF.
    static Lines lines(const std::string& out) {
        Lines result;
        std::size_t start = 0;
        for (std::size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2)
            result.push_back(out.substr(start, end - start));
        EXPECT_EQ(start, out.size()) << "a line without CR LF";
        return result;
    }
    /// The document in a formatted file, read as the desktop program reads it.
    std::unique_ptr<CPyxoDoc> read(const std::string& name) {
        auto document = std::make_unique<CPyxoDoc>("test");
        RecordingUserInterface ui;
        Profile profile(ini());
        EXPECT_TRUE(readFormattedFile(dir.file(name), *document, ui, profile)) << name;
        return document;
    }
    static Lines listOf(const CPyxoDoc& document, ResultKind kind) {
        Lines result;
        for (const std::string& line : document.list(kind)) result.push_back(line.substr(0, line.size() - 2));
        return result;
    }

    testing::TempDir dir;
};

TEST_F(ResultCommandsTest, ASearchWrittenWithMinusOReadsBackAsItPrinted) {
    CliRun search = run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"});
    ASSERT_EQ(search.status, 0) << search.err;
    const Lines printed = lines(search.out);
    ASSERT_EQ(printed.size(), 4u + 2u);  // four hits, two separators

    const auto owned = read("r.vm2");
    const CPyxoDoc& document = *owned;
    EXPECT_EQ(listOf(document, ResultKind::Original), printed);
    EXPECT_EQ(document.snapshot().keyword1, "zebra");
    EXPECT_EQ(document.snapshot().searchKind, 1);
    EXPECT_GT(document.snapshot().keywordColumn, 0);

    // The bytes themselves, field by field, decoded apart from the program's reader.
    const std::string bytes = readFileBytes(dir.file("r.vm2"));
    testing::ByteCursor in(bytes);
    EXPECT_EQ(in.u16(), 11u);                                   // version
    EXPECT_EQ(in.u16(), static_cast<unsigned>(document.snapshot().keywordColumn));
    EXPECT_EQ(in.u16(), 1u);                                    // KWIC
    for (int i = 0; i < 27; ++i) EXPECT_EQ(in.i16(), 0) << i;  // only the search result shown
    EXPECT_EQ(in.str(), "zebra");
    EXPECT_EQ(in.str(), "");
    in.i16();  // format selector
    in.u16();
    EXPECT_EQ(in.str(), "");
    EXPECT_EQ(in.str(), "");
    Lines stored;
    for (const std::string& line : in.list()) stored.push_back(line.substr(0, line.size() - 2));
    EXPECT_EQ(stored, printed);
    for (int kind = 1; kind < kResultKinds; ++kind) EXPECT_TRUE(in.list().empty()) << kind;

    CliRun show = run({"show", "r.vm2"});
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(show.out, search.out);
    CliRun counts = run({"counts", "r.vm2"});
    EXPECT_EQ(counts.status, 0);
    EXPECT_EQ(counts.out.substr(0, counts.out.find('\n')), "元の検索結果 : 6行");
}

TEST_F(ResultCommandsTest, AKwocSearchKeepsItsKindInTheFile) {
    CliRun search = run({"kwoc", "-1", "zebra", "-d", "corpus", "-f", "a.txt", "-o", "k.vm2"});
    ASSERT_EQ(search.status, 0) << search.err;
    const auto owned = read("k.vm2");
    const CPyxoDoc& document = *owned;
    EXPECT_EQ(document.snapshot().searchKind, 2);
    EXPECT_EQ(listOf(document, ResultKind::Original), lines(search.out));
}

TEST_F(ResultCommandsTest, SaveTextWritesTheDisplayedListAndNeverReplacesTheFormattedFile) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "b.txt", "-o", "r.vm2"}).status, 0);
    const std::string formatted = readFileBytes(dir.file("r.vm2"));
    CliRun saved = run({"save-text", "r.vm2", "r.txt"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(readFileBytes(dir.file("r.txt")), run({"show", "r.vm2"}).out);

    CliRun over = run({"save-text", "r.vm2", "./r.vm2"});
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(readFileBytes(dir.file("r.vm2")), formatted);
}

TEST_F(ResultCommandsTest, UnreadableInputIsWrongUsage) {
    writeFileBytes(dir.file("junk.vm2"), std::string("\x03\x00garbage", 9));
    CliRun junk = run({"show", "junk.vm2"});
    EXPECT_EQ(junk.status, 2);
    EXPECT_EQ(junk.err, "This Program cannot read this file.\n");
    EXPECT_EQ(run({"show", "missing.vm2"}).status, 2);
    EXPECT_EQ(run({"show"}).status, 2);
    EXPECT_EQ(run({"show", "junk.vm2", "--kind", "9"}).status, 2);
    EXPECT_TRUE(junk.out.empty());
}

TEST_F(ResultCommandsTest, ASearchWithoutResultLinesWritesAnEmptyFile) {
    CliRun search = run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.none", "-o", "n.vm2"});
    EXPECT_EQ(search.status, 1);
    EXPECT_EQ(search.err, "Failed to open files...(;_;)\n");
    EXPECT_EQ(std::filesystem::file_size(dir.file("n.vm2")), 0u);
}


TEST_F(ResultCommandsTest, ExtractionsChainOnTheListShownLast) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"}).status, 0);
    // Rightward of the keyword by default, every file's separator kept.
    CliRun first = run({"extract-range", "r.vm2", "-k", "lion", "-o", "e1.vm2"});
    ASSERT_EQ(first.status, 0) << first.err;
    const Lines kept = lines(first.out);
    ASSERT_EQ(kept.size(), 3u) << first.out;
    EXPECT_NE(kept[1].find("The zebra ran to the river./A lion"), std::string::npos);
    EXPECT_EQ(kept[2], "-----[ corpus/b.txt ]-----");

    // "there" follows the second hit, which the first extraction left out: an extraction
    // from the extracted result must not find it, one from the search result must.
    CliRun second = run({"extract-range", "e1.vm2", "-k", "there", "-o", "e2.vm2"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(lines(second.out).size(), 2u);
    EXPECT_EQ(lines(run({"extract-range", "r.vm2", "-k", "there"}).out).size(), 3u);
    const auto owned = read("e2.vm2");
    EXPECT_EQ(owned->displayedKind(), ResultKind::Extracted);
    EXPECT_EQ(listOf(*owned, ResultKind::Original).size(), 6u);  // the search result stays

    CliRun refused = run({"extract-pos", "r.vm2", "-k", ""});
    EXPECT_EQ(refused.status, 2);
    EXPECT_FALSE(refused.err.empty());
}


TEST_F(ResultCommandsTest, SortsReadTheShownListAndKeepTheirRecord) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"}).status, 0);
    // The first key by default: the word after the keyword (ran, slept, there, and none).
    CliRun sorted = run({"sort", "r.vm2", "-o", "s.vm2"});
    ASSERT_EQ(sorted.status, 0) << sorted.err;
    const Lines byWord = lines(sorted.out);
    ASSERT_EQ(byWord.size(), 4u);  // separators are no part of a sorted result
    EXPECT_NE(byWord[0].find("one zebra"), std::string::npos);
    EXPECT_NE(byWord[1].find("zebra ran"), std::string::npos);
    EXPECT_NE(byWord[2].find("zebra slept"), std::string::npos);
    EXPECT_NE(byWord[3].find("zebra there"), std::string::npos);
    const auto owned = read("s.vm2");
    EXPECT_EQ(owned->displayedKind(), ResultKind::Sorted);
    EXPECT_EQ(owned->snapshot().history[0], 2);

    // Sorting the sorted result again asks first; the batch front end answers yes.
    CliRun again = run({"sort-column", "s.vm2"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "I did it. Try AGAIN?[-_-;)\n");
    EXPECT_EQ(lines(again.out).size(), 4u);
}


TEST_F(ResultCommandsTest, ConversionWritesOneRowPerHitAndBecomesTheShownKind) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"}).status, 0);
    CliRun converted = run({"convert", "r.vm2", "-o", "c.vm2"});
    ASSERT_EQ(converted.status, 0) << converted.err;
    const Lines rows = lines(converted.out);
    ASSERT_EQ(rows.size(), 4u);  // separators give no row
    // Tab Separated Value(1): each cell opens with a double quote and ends with a tab; the
    // keyword's word is the sixth cell.
    EXPECT_EQ(rows[0].substr(rows[0].find("\"zebra")), "\"zebra\t\"ran\t\"to\t\"the\t\"river\t\"A");
    const auto owned = read("c.vm2");
    EXPECT_EQ(owned->displayedKind(), ResultKind::Spreadsheet);
}

TEST_F(ResultCommandsTest, SaveAsUtf8GovernsTheSavedTextButNotStandardOutput) {
    writeFileBytes(dir.file("corpus/j.txt"), "\xFB\xFC zebra \x87\x40\n");  // 髙 zebra ①
    writeFileBytes(ini(), "[Options]\nMaxLine=100000\n[SpreadSheet]\nMode=6\n"
                   "[SaveOptions]\nUTF8=1\n");
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "j.txt", "-o", "r.vm2"}).status, 0);
    CliRun converted = run({"convert", "r.vm2", "-o", "c.vm2"});
    ASSERT_EQ(converted.status, 0) << converted.err;
    EXPECT_NE(converted.out.find("<TD>\x87\x40</TD>"), std::string::npos);  // as stored
    EXPECT_NE(converted.out.find(kHtmlContentTypeLine), std::string::npos);
    const Lines stored = listOf(*read("c.vm2"), ResultKind::Spreadsheet);  // never converted
    ASSERT_EQ(stored.size(), 14u);  // the page's frame and one row
    EXPECT_NE(stored[10].find("<TD>\x87\x40</TD>"), std::string::npos);
    ASSERT_EQ(run({"save-text", "c.vm2", "c.html"}).status, 0);
    const std::string page = readFileBytes(dir.file("c.html"));
    EXPECT_NE(page.find("<TD>\xE9\xAB\x99</TD><TD>zebra</TD><TD>\xE2\x91\xA0</TD>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("</TD></TR>\r\n</TABLE>\r\n"), std::string::npos);
    EXPECT_NE(page.find(kHtmlUtf8ContentTypeLine), std::string::npos);
    EXPECT_EQ(page.find(kHtmlContentTypeLine), std::string::npos);
}

TEST_F(ResultCommandsTest, AverageWordLengthAndFileListReadTheCorpus) {
    CliRun average = run({"avelen", "-d", "corpus", "-f", "b.txt"});
    ASSERT_EQ(average.status, 0) << average.err;
    // "one zebra": eight letters in two words.
    EXPECT_EQ(lines(average.out),
              (Lines{" 4.000 : corpus/b.txt", "==============================", " 4.000 : <<Total>>"}));

    CliRun listed = run({"filelist", "corpus", "files.lst"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(readFileBytes(dir.file("files.lst")), "corpus/a.txt\ncorpus/b.txt\n");
    EXPECT_EQ(run({"filelist", "corpus"}).status, 2);
}


TEST_F(ResultCommandsTest, CollocationStatisticsCountTheWordsAroundTheKeyword) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"}).status, 0);
    // R1 by default: ran, slept, there, and nothing after "one zebra".
    CliRun counted = run({"colloq", "r.vm2", "-o", "q.vm2"});
    ASSERT_EQ(counted.status, 0) << counted.err;
    const Lines single = lines(counted.out);
    ASSERT_GE(single.size(), 3u);
    EXPECT_NE(counted.out.find(": ran"), std::string::npos);
    EXPECT_NE(counted.out.find(": slept"), std::string::npos);
    EXPECT_EQ(read("q.vm2")->displayedKind(), ResultKind::Collocation);

    CliRun table = run({"colloq-table", "r.vm2"});
    ASSERT_EQ(table.status, 0) << table.err;
    const Lines rows = lines(table.out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "Word\tTotal\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5");

    // The extended statistics read the corpus of the last search as the settings keep it
    // (each run here has a private copy of the settings, so it is written in).
    writeFileBytes(ini(), "[Options]\nMaxLine=100000\n[Setting]\nFilename=*.txt\nDirectory=" +
                              dir.file("corpus") + "/\n");
    CliRun extended = run({"colloq-ext", "r.vm2"});
    EXPECT_EQ(extended.status, 0) << extended.err;
    EXPECT_EQ(lines(extended.out).at(0), "Word\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5");
    EXPECT_EQ(extended.out.find("inf"), std::string::npos);
    EXPECT_EQ(extended.out.find("nan"), std::string::npos);
    // "ran" stands once at R1 among the corpus's words: a number, not the "never occurs" form.
    const std::size_t ran = extended.out.find("\r\nran\t");
    ASSERT_NE(ran, std::string::npos) << extended.out;
    const std::string row = extended.out.substr(ran + 2, extended.out.find("\r\n", ran + 2) - ran - 2);
    EXPECT_EQ(row, "ran\t-.----\t-.----\t-.----\t-.----\t-.----\t5.0000\t-.----\t-.----\t-.----\t-.----");
}

TEST_F(ResultCommandsTest, CollocationStrengthTakesItsOptionsAsTheDialogWould) {
    ASSERT_EQ(run({"kwic", "-1", "zebra", "-d", "corpus", "-f", "*.txt", "-o", "r.vm2"}).status, 0);
    writeFileBytes(ini(), "[Options]\nMaxLine=100000\n[Setting]\nFilename=*.txt\nDirectory=" +
                              dir.file("corpus") + "/\n");
    CliRun strength = run({"colloq-strength", "r.vm2", "--measure", "logdice", "--span",
                           "L1..R1", "--min-freq", "1", "-o", "s.vm2"});
    ASSERT_EQ(strength.status, 0) << strength.err;
    // L1 and R1 of the four hits hold 7 of the corpus's 20 words; "The" stands twice at L1
    // and 4 times in the corpus: logDice 14 + log2(2 * 2 / (4 hits + 4)) = 13.
    const Lines rows = lines(strength.out);
    ASSERT_EQ(rows.size(), 7u) << strength.out;
    EXPECT_EQ(rows[0], "Word\tFreq\tExpected\tCorpus\tMI\tMI3\tt-score\tlog-likelihood\tlogDice");
    EXPECT_EQ(rows[1], "The\t2\t1.4000\t4\t0.5146\t2.5146\t0.4243\t0.4779\t13.0000");
    EXPECT_EQ(rows[2], "old\t1\t0.3500\t1\t1.5146\t1.5146\t0.6500\t2.1990\t12.6781");
    EXPECT_EQ(read("s.vm2")->displayedKind(), ResultKind::Collocation);

    for (const Lines& bad : {Lines{"--measure", "dice"}, Lines{"--span", "L6..R1"},
                             Lines{"--min-freq", "-1"}, Lines{"--span"}}) {
        Lines arguments{"colloq-strength", "r.vm2"};
        arguments.insert(arguments.end(), bad.begin(), bad.end());
        CliRun refused = run(arguments);
        EXPECT_EQ(refused.status, 2) << bad[0];
        EXPECT_NE(refused.err.find(bad[0]), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty());
    }
    // A span the dialog refuses: its message, and nothing runs.
    CliRun backwards = run({"colloq-strength", "r.vm2", "--span", "R3..L1"});
    EXPECT_EQ(backwards.status, 2);
    EXPECT_NE(backwards.err.find("span"), std::string::npos);
    EXPECT_TRUE(backwards.out.empty());
}

}  // namespace
}  // namespace vellmora
