#include "engine/search_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
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
#include "textlib/sjis.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;
using testing::writeFileBytes;
using namespace std::string_literals;

constexpr std::string_view kFailedToOpenFiles = "Failed to open files...(;_;)";
constexpr std::string_view kFailedToOpenResponseFiles = "Failed to open response files...(;_;)";
constexpr std::string_view kFailedToFind = "Failed to find...(--;)";

const std::string kNichi = "\x93\xfa", kHon = "\x96\x7b";  // 日 本

/// Records like the fake it extends, and can quit the search at a given line turn: the
/// cancel is armed when the run shows its busy title, so the pumps of corpus collection do
/// not count.
class QuittingUserInterface : public RecordingUserInterface {
public:
    void quitAtLoopPump(long n) { m_quitAt = n; }
    void showBusyTitle(DocumentId document, std::string_view progress) override {
        RecordingUserInterface::showBusyTitle(document, progress);
        if (m_quitAt > 0) cancelAtPump(m_quitAt);
    }

private:
    long m_quitAt = 0;
};

/// The printed text of a hit line with line numbers: what follows the first " | ".
std::string textOf(const std::string& line) {
    std::size_t bar = line.find(" | ");
    return bar == std::string::npos ? line : line.substr(bar + 3);
}

/// The line number of a hit line in the default format "%7ld | ".
long numberOf(const std::string& line) { return std::stol(line.substr(0, 7)); }

class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(corpus());
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    std::string corpus() const { return dir.file("corpus"); }
    std::string path(const std::string& name) const { return corpus() + "/" + name; }
    std::string write(const std::string& name, std::string_view content) {
        writeFileBytes(path(name), content);
        return path(name);
    }
    void option(std::string_view key, std::string_view value) {
        profile.writeString("Options", key, value);
    }

    /// A new result window: document, view state and user interface.
    void freshWindow() {
        document = std::make_unique<CPyxoDoc>("Result1");
        state = std::make_unique<SearchState>();
        ui = std::make_unique<QuittingUserInterface>();
    }

    /// Runs a search as the driver does after "Search!": the options read afresh.
    SearchOutcome search(const std::string& keyword, const std::string& fileName,
                         const std::string& resFile = "", bool group = false) {
        profile.flush();
        SearchOptions options = readSearchOptions(profile);
        SearchRequest request;
        request.keyword1 = {keyword, group};
        request.fileName = fileName;
        request.directory = corpus() + "/";
        request.resFile = resFile;
        request.resFileDir = resFile.empty() ? "" : corpus() + "/";
        KwicSearchRun run(options, profile, *ui, *document, *state);
        return run.run(request);
    }

    /// The result lines without their line ends, each checked to have one.
    Lines lines() const {
        Lines out;
        for (const std::string& line : document->list(ResultKind::Original)) {
            EXPECT_EQ(line.substr(line.size() < 2 ? 0 : line.size() - 2), "\r\n") << line;
            out.push_back(line.substr(0, line.size() - 2));
        }
        return out;
    }
    Lines hitLines() const {
        Lines hits;
        for (const std::string& line : lines())
            if (line.find(" | ") != std::string::npos) hits.push_back(line);
        return hits;
    }
    std::vector<long> hitNumbers() const {
        std::vector<long> numbers;
        for (const std::string& line : hitLines()) numbers.push_back(numberOf(line));
        return numbers;
    }
    std::string separator(const std::string& name) const {
        return "-----[ " + path(name) + " ]-----";
    }
    /// Beeps and messages in order, the rest of the transcript left out.
    Lines alerts() const {
        Lines out;
        for (const std::string& entry : ui->transcript())
            if (entry == "beep" || entry.rfind("message", 0) == 0) out.push_back(entry);
        return out;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    std::unique_ptr<CPyxoDoc> document = std::make_unique<CPyxoDoc>("Result1");
    std::unique_ptr<SearchState> state = std::make_unique<SearchState>();
    std::unique_ptr<QuittingUserInterface> ui = std::make_unique<QuittingUserInterface>();
};

// Default layout: X 80, W 69, a 3-byte keyword at buffer byte L 33, that is printed byte 32.

TEST_F(SearchRunTest, ShortFileIsSearchedToItsEndWithNothingAfterTheLastLine) {
    write("short.txt", "a cat\nthe cat\n");
    search("cat", "short.txt");
    EXPECT_EQ(lines(),
              (Lines{separator("short.txt"), "      1 | " + std::string(30, ' ') + "a cat/the cat/",
                     "      2 | " + std::string(22, ' ') + "a cat/the cat/"}));
}

TEST_F(SearchRunTest, FirstHitOfAFileShowsNothingOfThePreviousFile) {
    write("a.txt",
          "previous one\nprevious two\nprevious three\nprevious four\n"
          "previous five\nprevious six\nprevious seven\n");
    write("b.txt", "cat first\n");
    search("cat", "a.txt;b.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(textOf(hits[0]), std::string(32, ' ') + "cat first/");
}

TEST_F(SearchRunTest, CountLinesAndTotalFollowCountMatched) {
    write("hits.txt", "cat\nno\ncat\n");
    write("none.txt", "dog\n");
    write("empty.txt", "");
    option("Count", "1");
    search("cat", "hits.txt;none.txt;empty.txt");
    Lines all = lines();
    EXPECT_EQ(all.size(), 9u);
    EXPECT_EQ(all[3], path("hits.txt") + " : 2");
    EXPECT_EQ(Lines(all.begin() + 4, all.end()),
              (Lines{separator("none.txt"), path("none.txt") + " : 0", separator("empty.txt"),
                     path("empty.txt") + " : 0", "Total : 2"}));

    freshWindow();
    option("CountMatched", "1");
    search("cat", "hits.txt;none.txt;empty.txt");
    all = lines();
    EXPECT_EQ(Lines(all.begin() + 3, all.end()),
              (Lines{path("hits.txt") + " : 2", separator("none.txt"), separator("empty.txt"),
                     "Total : 2"}));
}

TEST_F(SearchRunTest, TotalOfNothingIsWrittenOnlyWithoutCountMatched) {
    write("none.txt", "dog\n");
    option("Count", "1");
    option("NoSeparator", "1");
    search("cat", "none.txt");
    EXPECT_EQ(lines(), (Lines{path("none.txt") + " : 0", "Total : 0"}));

    freshWindow();
    option("CountMatched", "1");
    search("cat", "none.txt");
    EXPECT_EQ(lines(), Lines{});
}

TEST_F(SearchRunTest, SeparatorChoices) {
    // The hit is in line 3 so that a separator written at the first hit is told apart from
    // one written when the file opens. The name keeps its case.
    write("One.txt", "first\nsecond\nthird cat\n");
    write("two.txt", "nothing\n");
    auto run = [&](std::string_view key) {
        freshWindow();
        for (std::string_view k : {"SepMatched", "NoSeparator", "TagAsIs", "TagFName"})
            option(k, k == key ? "1" : "0");
        search("cat", "One.txt;two.txt");
        Lines kinds;
        for (const std::string& line : lines())
            kinds.push_back(line.rfind("-----[ ", 0) == 0 ? line : "hit");
        return kinds;
    };
    EXPECT_EQ(run("Separator"), (Lines{separator("One.txt"), "hit", separator("two.txt")}));
    EXPECT_EQ(run("SepMatched"), (Lines{separator("One.txt"), "hit"}));
    EXPECT_EQ(run("NoSeparator"), Lines{"hit"});
    EXPECT_EQ(run("TagAsIs"), Lines{"hit"});
    EXPECT_EQ(run("TagFName"), Lines{"hit"});
    EXPECT_EQ(lines()[0].substr(0, 15), "One.txt:      3");
}

TEST_F(SearchRunTest, FileThatCannotBeOpenedLeavesNoTrace) {
    std::filesystem::create_directory(path("folder"));
    write("one.txt", "cat\n");
    write("list.lst", path("missing.txt") + "\n" + path("folder") + "\n" + path("one.txt") + "\n");
    option("Count", "1");
    SearchOutcome outcome = search("cat", "", "list.lst");
    EXPECT_EQ(outcome.filesOpened, 1);
    Lines all = lines();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], separator("one.txt"));
    EXPECT_EQ(all[2], path("one.txt") + " : 1");
    EXPECT_EQ(all[3], "Total : 1");
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(SearchRunTest, NoFileOpenedNamesWhatWasGiven) {
    search("cat", "missing*.txt");
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: " + std::string(kFailedToOpenFiles), "beep"}));
    EXPECT_EQ(state->resultState, 0);
    EXPECT_EQ(state->resultKind, 0);

    freshWindow();
    search("cat", "", "missing.lst");
    EXPECT_EQ(ui->messages(), Lines{std::string(kFailedToOpenResponseFiles)});

    freshWindow();
    search("cat", "missing.txt", "missing.lst");
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: " + std::string(kFailedToOpenFiles), "beep",
                               "message OK: " + std::string(kFailedToOpenResponseFiles), "beep"}));

    freshWindow();
    option("Beep", "1");
    search("cat", "missing.txt", "missing.lst");
    EXPECT_EQ(ui->messages().size(), 2u);
    EXPECT_EQ(ui->beeps(), 0);
}

TEST_F(SearchRunTest, NothingFoundKeepsTheSeparatorAndEmptiesTheResultState) {
    write("none.txt", "dog\n");
    SearchOutcome outcome = search("cat", "none.txt");
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(lines(), Lines{separator("none.txt")});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: " + std::string(kFailedToFind), "beep"}));
    EXPECT_EQ(state->resultState, 0);
    EXPECT_EQ(state->resultKind, 0);
    EXPECT_FALSE(state->busy);
}

TEST_F(SearchRunTest, SuccessfulRunHoldsAKwicResultAndRestoresTheTitle) {
    write("one.txt", "cat\ncat\n");
    write("two.txt", "cat\n");
    SearchOutcome outcome = search("cat", "one.txt;two.txt");
    EXPECT_FALSE(outcome.failed());
    EXPECT_EQ(outcome.total, 3);
    EXPECT_EQ(outcome.filesOpened, 2);
    EXPECT_EQ(state->resultState, 1);
    EXPECT_EQ(state->resultKind, 1);
    EXPECT_EQ(state->resultLines, 5);
    EXPECT_FALSE(state->busy);
    EXPECT_EQ(state->files.count(), 0);

    const std::string id = std::to_string(document->id());
    const Lines& transcript = ui->transcript();
    ASSERT_FALSE(transcript.empty());
    EXPECT_EQ(transcript.front(), "title " + id + ": <<Now Searching...>>");
    // Refreshed after each file and at the end, then the base title is back and the
    // run beeps once.
    EXPECT_EQ(Lines(transcript.begin() + 1, transcript.end()),
              (Lines{"refresh " + id, "refresh " + id, "refresh " + id, "restore " + id, "beep"}));
}

TEST_F(SearchRunTest, LineLimitStoresWhatFitsCountsTheRefusedHitAndEndsTheRun) {
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "cat\n";
    write("ten.txt", ten);
    write("later.txt", "cat\n");
    option("MaxLine", "3");
    option("Count", "1");
    SearchOutcome outcome = search("cat", "ten.txt;later.txt");
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(lines()[0], separator("ten.txt"));
    EXPECT_EQ(hitNumbers(), (std::vector<long>{1, 2}));
    EXPECT_EQ(outcome.total, 3);
    EXPECT_TRUE(outcome.limitReached);
    EXPECT_EQ(outcome.filesOpened, 1);
    EXPECT_FALSE(outcome.failed());
    EXPECT_TRUE(ui->messages().empty());
    EXPECT_EQ(ui->beeps(), 1);
    EXPECT_EQ(state->resultState, 1);
}

TEST_F(SearchRunTest, QuitSearchClosesTheFileCountsItsHitsAndFinishes) {
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "cat " + std::to_string(i) + "\n";
    write("twenty.txt", twenty);
    write("later.txt", "cat\n");
    option("Count", "1");
    // Turn n reads line n; line k is searched in turn k + 5. Quitting in turn 9 leaves
    // lines 1 to 3 searched.
    ui->quitAtLoopPump(9);
    SearchOutcome outcome = search("cat", "twenty.txt;later.txt");
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.total, 3);
    EXPECT_EQ(outcome.filesOpened, 1);
    EXPECT_EQ(hitNumbers(), (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(lines().back(), "Total : 3");  // no count line for the file it left
    EXPECT_EQ(alerts(), Lines{"beep"});
    EXPECT_FALSE(state->busy);
    EXPECT_EQ(state->resultState, 1);

    // Quit before the first hit: the run ends as one that found nothing.
    freshWindow();
    ui->quitAtLoopPump(3);
    outcome = search("cat", "twenty.txt");
    EXPECT_EQ(outcome.total, 0);
    EXPECT_EQ(ui->messages(), Lines{std::string(kFailedToFind)});
    EXPECT_EQ(lines().back(), "Total : 0");
    EXPECT_EQ(state->resultKind, 0);
}

TEST_F(SearchRunTest, LongStretchesWithoutTheKeywordKeepNumbersAndContext) {
    std::string text;
    for (int i = 1; i <= 3000; ++i) {
        text += i == 1000   ? "cat here\n"
                : i == 2500 ? "cat there\n"
                            : "line " + std::to_string(i) + "\n";
    }
    write("long.txt", text);
    option("NoSeparator", "1");
    option("Count", "1");
    search("cat", "long.txt");
    // Hit in 1000: need 33 takes four 9-byte lines and cuts "line 996/" at 3; 68 bytes are
    // printed from byte 1. Hit in 2500: four 10-byte lines, "line 2496/" cut at 7.
    EXPECT_EQ(
        lines(),
        (Lines{"   1000 |  996/line 997/line 998/line 999/cat here/line 1001/line 1002/line 10",
               "   2500 | 6/line 2497/line 2498/line 2499/cat there/line 2501/line 2502/line 2",
               path("long.txt") + " : 2", "Total : 2"}));

    freshWindow();
    option("bOneLine", "1");
    search("cat", "long.txt");
    EXPECT_EQ(hitNumbers(), (std::vector<long>{1000, 2500}));
    EXPECT_EQ(textOf(hitLines()[0]), std::string(32, ' ') + "cat here/");
}

TEST_F(SearchRunTest, LineNumbersCountEveryPieceOfAnOverlongLine) {
    // 8,191 bytes per piece: the first line reads as three pieces.
    std::string line = std::string(8191, 'x') + std::string(4000, 'y') + "cat" +
                       std::string(4188, 'y') + "end cat\n";
    write("long.txt", line + "last cat\n");
    search("cat", "long.txt");
    EXPECT_EQ(hitNumbers(), (std::vector<long>{2, 3, 4}));
    for (const std::string& hit : hitLines()) EXPECT_EQ(textOf(hit).substr(32, 3), "cat");
}

TEST_F(SearchRunTest, CharacterCutByThePieceLimitStartsTheNextPiece) {
    // 8,190 bytes and the first byte of 猫 fill a piece: that byte goes back to the file, so
    // the piece keeps no half character and 猫 is found whole in the next one.
    write("cut.txt", std::string(8190, 'a') + "\x94\x4c tail\n");
    option("NoSeparator", "1");
    search("\x94\x4c", "cut.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(numberOf(hits[0]), 2);
    // K1 2 puts the keyword at L = (69 - 3) / 2 + 1 = 34; the piece before has no marker.
    EXPECT_EQ(textOf(hits[0]), std::string(33, 'a') + "\x94\x4c tail/");
}

TEST_F(SearchRunTest, PieceOfBlanksOnlyIsKeptAsALineOfItsOwn) {
    // Giving the whole piece back would read it again without end.
    write("blank.txt", std::string(8191, ' ') + "cat\n");
    search("cat", "blank.txt");
    EXPECT_EQ(hitNumbers(), std::vector<long>{2});
}

TEST_F(SearchRunTest, ExcludedTypesAreSkippedOnlyWhenExcludeIsOn) {
    write("a.txt", "cat\n");
    write("b.EXE", "cat\n");
    option("Count", "1");
    option("NoSeparator", "1");
    search("cat", "*");
    EXPECT_EQ(lines().back(), "Total : 2");

    freshWindow();
    option("Exclude", "1");
    search("cat", "*");
    Lines all = lines();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1], path("a.txt") + " : 1");
    EXPECT_EQ(all[2], "Total : 1");
}

TEST_F(SearchRunTest, ViewsAreRefreshedEvery5000LinesOnlyWhenTheHitsChanged) {
    auto text = [](std::vector<int> hitLines) {
        std::string content;
        for (int i = 1; i <= 12000; ++i)
            content +=
                std::find(hitLines.begin(), hitLines.end(), i) != hitLines.end() ? "cat\n" : "x\n";
        return content;
    };
    auto refreshes = [this] {
        return std::count_if(
            ui->transcript().begin(), ui->transcript().end(),
            [](const std::string& entry) { return entry.rfind("refresh", 0) == 0; });
    };
    // Line k is searched in turn k + 5: a hit in line 7000 changes the count before turn
    // 10000, one in line 1 only before turn 5000. Besides, one refresh per file and one at
    // the end.
    write("early.txt", text({1}));
    search("cat", "early.txt");
    EXPECT_EQ(refreshes(), 3);

    freshWindow();
    write("late.txt", text({1, 7000}));
    search("cat", "late.txt");
    EXPECT_EQ(refreshes(), 4);
}

TEST_F(SearchRunTest, LineOfBlanksBecomesTheMarkerAlone) {
    write("lf.txt", "cat\n      \nend\n");
    write("crlf.txt", "cat\r\n   \r\nend  \r\n");
    option("NoSeparator", "1");
    search("cat", "lf.txt;crlf.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(textOf(hits[0]), std::string(32, ' ') + "cat//end/");
    EXPECT_EQ(textOf(hits[1]), std::string(32, ' ') + "cat//end/");
}

TEST_F(SearchRunTest, IgnoreKetaCutsEveryHeadAndEmptiesShorterLines) {
    // "12/" is shorter than the cut and vanishes with its marker; the first "cat" lies in
    // the bytes dropped.
    write("keta.txt", "cat0cat\n12\nmore\n");
    option("IgnoreKeta", "4");
    option("NoSeparator", "1");
    search("cat", "keta.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(textOf(hits[0]), std::string(32, ' ') + "cat//");

    // Only a hand edit can make the count negative; it cuts nothing.
    freshWindow();
    option("IgnoreKeta", "-3");
    EXPECT_EQ(search("cat", "keta.txt").total, 2);
}

TEST_F(SearchRunTest, OpenTagCarriesIntoTheNextFileOfTheRun) {
    write("a.html", "text <b\n");
    write("b.html", "cat> dog cat\n");
    option("DeHTML", "1");
    option("NoSeparator", "1");
    // "cat>" closes the tag the first file left open: " dog cat/" remains.
    EXPECT_EQ(search("cat", "a.html;b.html").total, 1);
    EXPECT_EQ(textOf(hitLines()[0]), std::string(27, ' ') + " dog cat/");

    // A new run starts with no tag open.
    freshWindow();
    EXPECT_EQ(search("cat", "b.html").total, 2);
}

TEST_F(SearchRunTest, GroupWordsStandInTheColumnOfTheGroupName) {
    writeGroupWords(profile, "Pets", {"dog", "kitten"});
    write("pets.txt", "a dog and a kitten\n");
    option("NoSeparator", "1");
    SearchOutcome outcome = search("Pets", "pets.txt", "", true);
    EXPECT_EQ(outcome.total, 2);
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 2u);
    // L = (69 - 4 - 1) / 2 + 1 = 33 from the 4-byte name, whatever word was found.
    EXPECT_EQ(textOf(hits[0]).substr(32, 3), "dog");
    EXPECT_EQ(textOf(hits[1]).substr(32, 6), "kitten");
}

TEST_F(SearchRunTest, JapaneseKeywordSplitOverLinesIsFoundOnlyWithoutMarker) {
    write("ja.txt", "\x89\xbd\x82\xc5\x82\xe0" + kNichi + "\n" + kHon + "\x82\xcc\n");
    const std::string keyword = kNichi + kHon;
    SearchOutcome outcome = search(keyword, "ja.txt");
    EXPECT_EQ(outcome.total, 0);

    freshWindow();
    option("CRLF", "1");
    outcome = search(keyword, "ja.txt");
    EXPECT_EQ(outcome.total, 0);

    freshWindow();
    option("CRLF", "0");
    option("NoCrlf", "1");
    outcome = search(keyword, "ja.txt");
    EXPECT_EQ(outcome.total, 1);
    EXPECT_EQ(hitNumbers(), std::vector<long>{1});
    EXPECT_EQ(textOf(hitLines()[0]).substr(32), keyword + "\x82\xcc");
}

TEST_F(SearchRunTest, KeywordLongerThanTheTextWidthIsCutByTheTrim) {
    // Xsize 30: W = 19, and (19 - 23 - 1) / 2 + 1 < 1 puts the keyword at byte 1.
    write("en.txt", "A dog barked at the cat and the cat ran away.\n");
    option("Xsize", "30");
    search("the cat and the cat ran", "en.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], "      1 | the cat and the ca");
}

TEST_F(SearchRunTest, OneLineLoopTakesNothingFromOtherLines) {
    write("one.txt", "New\nYork cat\ncat\n");
    option("bOneLine", "1");
    option("NoSeparator", "1");
    search("cat", "one.txt");
    EXPECT_EQ(hitLines(), (Lines{"      2 | " + std::string(27, ' ') + "York cat/",
                                 "      3 | " + std::string(32, ' ') + "cat/"}));

    // A phrase does not continue into the next line either.
    freshWindow();
    EXPECT_EQ(search("New York", "one.txt").total, 0);
    freshWindow();
    option("bOneLine", "0");
    EXPECT_EQ(search("New York", "one.txt").total, 1);
}

TEST_F(SearchRunTest, BinaryLookingFileIsAbandonedWithoutCountLine) {
    // NUL-cut lines read as one byte each; the eleventh gives the file up.
    std::string binary = "cat\n";
    for (int i = 0; i < 12; ++i) binary += "x\0\n"s;
    write("bin.dat", binary);
    write("text.txt", "cat\n");
    option("Count", "1");
    option("NoSeparator", "1");
    SearchOutcome outcome = search("cat", "bin.dat;text.txt");
    EXPECT_EQ(outcome.total, 2);  // the hit before the guard stays in the total
    Lines all = lines();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2], path("text.txt") + " : 1");
    EXPECT_EQ(all[3], "Total : 2");

    // The single-keyword line loop has no guard; the group line loop has.
    freshWindow();
    option("bOneLine", "1");
    search("cat", "bin.dat");
    EXPECT_EQ(lines()[1], path("bin.dat") + " : 1");

    freshWindow();
    writeGroupWords(profile, "Pets", {"cat", "dog"});
    search("Pets", "bin.dat", "", true);
    EXPECT_EQ(lines().back(), "Total : 1");
    EXPECT_EQ(lines().size(), 2u);
}

// Disabled: the window is emptied once per run, so the lines an abandoned file leaves in it
// become the left context of the next file's first hit ("xxxxxcat first/"), text of another
// file shown as this one's.
TEST_F(SearchRunTest, FileAfterAnAbandonedOneShowsNothingOfIt) {
    std::string binary = "cat\n";
    for (int i = 0; i < 12; ++i) binary += "x\0\n"s;
    write("bin.dat", binary);
    write("text.txt", "cat first\n");
    option("NoSeparator", "1");
    search("cat", "bin.dat;text.txt");
    Lines hits = hitLines();
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(textOf(hits[1]), std::string(32, ' ') + "cat first/");
}

TEST_F(SearchRunTest, BinaryGuardCountsOneByteLinesAcrossTheWholeRun) {
    std::string six, fiveThenHit;
    for (int i = 0; i < 6; ++i) six += "x\0\n"s;
    for (int i = 0; i < 5; ++i) fiveThenHit += "y\0\n"s;
    write("first.dat", six);
    write("second.dat", fiveThenHit + "cat\n");
    option("Count", "1");
    option("NoSeparator", "1");
    search("cat", "first.dat;second.dat");
    // Six plus four leaves the counter at 10; the fifth one-byte line of the second file
    // gives it up before its hit.
    EXPECT_EQ(lines(), (Lines{path("first.dat") + " : 0", "Total : 0"}));
}

/// Hits over real text: every byte-wise occurrence in a line is one hit line with that line's
/// number and the keyword in its column, whole characters on both edges, and a context that
/// stands in the text as the search reads it (blanks before a line end dropped, the line end
/// shown as "/").
void expectEveryOccurrence(const Lines& hits, const std::string& text, const std::string& keyword,
                           std::size_t column) {
    std::vector<long> expected;
    std::string shaped;
    long number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        shaped += line.substr(0, line.find_last_not_of(' ') + 1) + "/";
        ++number;
        for (std::size_t at = line.find(keyword); at != std::string::npos;
             at = line.find(keyword, at + 1))
            expected.push_back(number);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    ASSERT_EQ(hits.size(), expected.size());
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(numberOf(hits[i]), expected[i]) << hits[i];
        const std::string printed = textOf(hits[i]);
        EXPECT_LE(printed.size(), 68u);
        EXPECT_EQ(printed.substr(column, keyword.size()), keyword) << hits[i];
        std::size_t at = 0;
        bool columnOnBoundary = false;
        while (at < printed.size()) {
            columnOnBoundary = columnOnBoundary || at == column;
            at += ximo::isLeadByte(static_cast<unsigned char>(printed[at])) ? 2 : 1;
        }
        EXPECT_EQ(at, printed.size()) << "half a character at the end: " << hits[i];
        EXPECT_TRUE(columnOnBoundary) << "half a character at the start: " << hits[i];
        const std::size_t padding = printed.find_first_not_of(' ');
        EXPECT_NE(shaped.find(printed.substr(padding)), std::string::npos) << hits[i];
    }
}

TEST_F(SearchRunTest, RealEnglishTextGivesEveryOccurrenceInItsColumn) {
    const std::string text =
        testing::readFileBytes(std::string(VELLMORA_TEST_DATA) + "/reader/devil-part.txt");
    write("devil.txt", text);
    option("NoSeparator", "1");
    search("the", "devil.txt");
    expectEveryOccurrence(hitLines(), text, "the", 32);
}

TEST_F(SearchRunTest, RealJapaneseTextGivesEveryOccurrenceInItsColumn) {
    const std::string text =
        testing::readFileBytes(std::string(VELLMORA_TEST_DATA) + "/reader/reference-sjis.txt");
    write("reference.txt", text);
    option("NoSeparator", "1");
    const std::string package = "\x83\x70\x83\x62\x83\x50\x81\x5b\x83\x57";  // パッケージ
    search(package, "reference.txt");
    // L = (69 - 10 - 1) / 2 + 1 = 30.
    expectEveryOccurrence(hitLines(), text, package, 29);
}

}  // namespace
}  // namespace vellmora

namespace vellmora {
namespace {

TEST_F(SearchRunTest, QuittingWhileFilesAreCollectedReportsNoFailure) {
    write("a.txt", "a cat\n");
    ui->cancelAtPump(1);  // the first directory entry
    SearchOutcome outcome = search("cat", "*.txt");
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.filesOpened, 0);
    EXPECT_EQ(alerts(), (Lines{"beep"}));  // the end-of-run beep, no message
    EXPECT_EQ(state->resultState, 0);
}

}  // namespace
}  // namespace vellmora

namespace vellmora {
namespace {

TEST_F(SearchRunTest, BusyProtocolRefusesWhileASearchRunsAnywhere) {
    ApplicationSearchFlags flags;
    EXPECT_FALSE(refuseWhileBusy(flags, *state, *ui));
    flags.running = true;
    EXPECT_TRUE(refuseWhileBusy(flags, *state, *ui));
    flags.running = false;
    state->busy = true;
    EXPECT_TRUE(refuseWhileBusy(flags, *state, *ui));
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: I'm busy now. Please wait for a minutes.m(__)m",
                               "beep", "message OK: I'm busy now. Please wait for a minutes.m(__)m"}));
}

TEST_F(SearchRunTest, TheRunningFlagLastsAsLongAsTheRun) {
    write("a.txt", "a cat\n");
    ApplicationSearchFlags flags;
    SearchOptions options = readSearchOptions(profile);
    SearchRequest request;
    request.keyword1 = {"cat", false};
    request.fileName = "a.txt";
    request.directory = corpus() + "/";
    KwicSearchRun run(options, profile, *ui, *document, *state);
    run.run(request, &flags);
    EXPECT_FALSE(flags.running);
    EXPECT_FALSE(state->busy);
}

}  // namespace
}  // namespace vellmora
