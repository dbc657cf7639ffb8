#include "results/colloq_strength.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/colloq_command.h"
#include "results/colloq_strength_dialog_model.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

/// The six printed values of a collocate: E11, MI, MI3, t-score, G2, logDice.
Strings cells(const CooccurrenceCounts& counts) {
    const StrengthScores scores = strengthScores(counts);
    Strings result{strengthCell(scores.expected)};
    for (double value : scores.values) result.push_back(strengthCell(value));
    return result;
}

// The values the Python reference gives for the same table, printed with "%.4f":
//   python3 -c "from math import log,log2,sqrt
//   def m(O,R1,M,C1,N):
//     C1=max(C1,O);R1=max(R1,O);N=max(N,R1+C1-O);E=lambda r,c:r*c/N;R2=N-R1;C2=N-C1
//     g=2*sum(o*log(o/e) for o,e in [(O,E(R1,C1)),(R1-O,E(R1,C2)),(C1-O,E(R2,C1)),
//                                      (N-R1-C1+O,E(R2,C2))] if o>0);e=E(R1,C1)
//     print(['%.4f'%v for v in (e,log2(O/e),log2(O**3/e),(O-e)/sqrt(O),
//            -g if O<e else g,14+log2(2*O/(M+C1)))])
//   m(37,12000,1300,850,1000000)"
TEST(StrengthScoresTest, EveryMeasureMatchesWorkedAndIndependentValues) {
    // O = 4 of R1 = 20 window words; f(c) = 10, N = 200, f(n) = 6 lines.
    // E11 = 20 * 10 / 200 = 1; MI = log2 4 = 2; MI3 = log2 64 = 6; t = (4 - 1) / 2 = 1.5;
    // logDice = 14 + log2(8 / 16) = 13. G2: O12 = 16, O21 = 6, O22 = 174 against
    // E12 = 19, E21 = 9, E22 = 171: 2 (4 ln 4 + 16 ln 16/19 + 6 ln 6/9 + 174 ln 174/171)
    // = 2 (5.5452 - 2.7496 - 2.4328 + 3.0262) = 6.7779.
    EXPECT_EQ(cells({4, 20, 6, 10, 200}),
              (Strings{"1.0000", "2.0000", "6.0000", "1.5000", "6.7779", "13.0000"}));
    EXPECT_EQ(cells({37, 12000, 1300, 850, 1000000}),
              (Strings{"10.2000", "1.8590", "12.2779", "4.4059", "42.6764", "9.1393"}));
    // Fewer than expected: every measure but logDice turns negative, G2 with them.
    EXPECT_EQ(cells({3, 20, 6, 200, 200})[4], "-102.3109");
}

TEST(StrengthScoresTest, EdgesGiveFiniteValuesOrTheNeverOccursCell) {
    // Nothing observed: the logarithms and the t-score have no value; G2 still measures
    // how far 0 lies below E11 = 1.
    EXPECT_EQ(cells({0, 20, 6, 10, 200}),
              (Strings{"1.0000", "-.----", "-.----", "-.----", "-2.1648", "-.----"}));
    EXPECT_EQ(cells({0, 0, 0, 0, 0}), Strings(6, "-.----"));
    // A collocate that is the whole corpus, every window word being it: no association
    // (and no "-0.0000"), its empty cells O12 and O22 taken as 0 ln 0 = 0.
    EXPECT_EQ(cells({3, 3, 3, 200, 200}),
              (Strings{"3.0000", "0.0000", "3.1699", "0.0000", "0.0000", "8.9196"}));
    // As frequent as the corpus, but the window holds other words: N is raised to
    // R1 + f(c) - O = 217 so that O22 is not negative.
    EXPECT_EQ(cells({3, 20, 6, 200, 200})[0], "18.4332");
    EXPECT_EQ(strengthScores({3, 20, 6, 200, 200}).collocateFrequency, 200u);
    // Fewer in the corpus than beside the keyword (a Japanese word the corpus list holds
    // only inside a longer run, or files changed): no figure, not one made up from O.
    EXPECT_EQ(strengthScores({2, 20, 6, 1, 200}).collocateFrequency, 1u);
    EXPECT_EQ(cells({2, 20, 6, 1, 200}), Strings(6, "-.----"));
    EXPECT_EQ(cells({2, 20, 6, 2, 200})[1], "3.3219");

    EXPECT_EQ(strengthCell(std::numeric_limits<double>::infinity()), "-.----");
    EXPECT_EQ(strengthCell(std::numeric_limits<double>::quiet_NaN()), "-.----");
    EXPECT_EQ(strengthCell(-0.00001), "0.0000");
    EXPECT_EQ(strengthCell(-1.23456), "-1.2346");
    EXPECT_EQ(strengthMeasureOf(4), StrengthMeasure::LogDice);
    EXPECT_EQ(strengthMeasureOf(5), StrengthMeasure::MI);
    EXPECT_EQ(strengthMeasureOf(-1), StrengthMeasure::MI);
}

TEST(ColloqSpanTest, ParsesBothSidesAndLeavesTheOrderToTheCheck) {
    EXPECT_EQ(parseColloqSpan("L5..R5"), (ColloqSpan{-5, 5}));
    EXPECT_EQ(parseColloqSpan("l3..l1"), (ColloqSpan{-3, -1}));
    EXPECT_EQ(parseColloqSpan("R1..R3"), (ColloqSpan{1, 3}));
    EXPECT_EQ(parseColloqSpan("R2"), (ColloqSpan{2, 2}));
    // An end at the keyword stands for the nearest word on the span's side.
    EXPECT_EQ(parseColloqSpan("L2..R0"), (ColloqSpan{-2, -1}));
    EXPECT_EQ(parseColloqSpan("L0..R2"), (ColloqSpan{1, 2}));
    for (const char* bad :
         {"", "L6..R5", "L5..", "..R5", "X1..R2", "L5..R5..R1", "L-1..R2", "L5-R5", "L 5..R5"})
        EXPECT_FALSE(parseColloqSpan(bad)) << bad;

    EXPECT_TRUE(isValidSpan(*parseColloqSpan("L2..R0")));
    EXPECT_FALSE(isValidSpan(*parseColloqSpan("R3..L1")));
    EXPECT_FALSE(isValidSpan(*parseColloqSpan("L0..R0")));
    EXPECT_FALSE(isValidSpan({-6, 5}));
    EXPECT_FALSE(isValidSpan({0, 0}));
    EXPECT_TRUE(ColloqSpan{}.holds(-5));
    EXPECT_FALSE(ColloqSpan{}.holds(0));
}

std::string kwic(const std::string& left, const std::string& rest) {
    return "   1 | " + std::string(20 - left.size(), ' ') + left + rest + "\r\n";
}

class StrengthTableTest : public ::testing::Test {
protected:
    StrengthTableTest() {
        CExStringList source;
        source.addTail("-----[ /corpus/a.txt ]-----\r\n");
        source.addTail(kwic("the black ", "cat sat on the mat"));
        source.addTail(kwic("a ", "cat sat"));
        source.addTail(kwic("The ", "cat saw a cat"));  // the keyword as its own collocate
        EXPECT_TRUE(m_counts.count(source, {20, 3}, m_ui));
        // 100 words; "saw" is missing: the files changed after the search.
        const std::pair<const char*, int> words[] = {{"the", 10}, {"black", 1}, {"sat", 5},
                                                     {"on", 1},   {"mat", 1},   {"a", 8},
                                                     {"cat", 4},  {"other", 70}};
        for (const auto& [word, count] : words) m_reference.addNoCase(word, count);
    }
    Strings table(const StrengthSpec& spec) {
        CExStringList lines;
        EXPECT_TRUE(writeStrengthTable(m_counts, m_reference, spec, lines, m_ui));
        return Strings(lines.begin(), lines.end());
    }

    RecordingUserInterface m_ui;
    CollocationCounts m_counts;
    CStringTree m_reference;
};

TEST_F(StrengthTableTest, ListsTheSpansWordsByTheChosenMeasure) {
    // R1 ... R3 hold 7 words in 3 lines. logDice ties sat (O 2, f(c) 5), on (1, 1) and saw
    // (missing, so unmeasured and last) at 14 + log2(2 O / (3 + f(c))) = 13: O decides, then
    // the word.
    EXPECT_EQ(table({StrengthMeasure::LogDice, {1, 3}, 0}),
              (Strings{std::string(kStrengthTableHeader),
                       "sat\t2\t0.3500\t5\t2.5146\t4.5146\t1.1667\t4.8212\t13.0000\r\n",
                       "on\t1\t0.0700\t1\t3.8365\t3.8365\t0.9300\t5.4587\t13.0000\r\n",
                       "cat\t1\t0.2800\t4\t1.8365\t1.8365\t0.7200\t1.3411\t12.1926\r\n",
                       "a\t1\t0.5600\t8\t0.8365\t0.8365\t0.4400\t0.3392\t11.5406\r\n",
                       "the\t1\t0.7000\t10\t0.5146\t0.5146\t0.3000\t0.1387\t11.2996\r\n",
                       "saw\t1\t-.----\t0\t-.----\t-.----\t-.----\t-.----\t-.----\r\n"}));
    // By MI the rare words lead; 1 lists every word seen, as 0 does.
    const Strings byMi = table({StrengthMeasure::MI, {1, 3}, 1});
    ASSERT_EQ(byMi.size(), 7u);
    EXPECT_EQ(byMi[1].substr(0, 3), "on\t");
    EXPECT_EQ(byMi[3].substr(0, 4), "cat\t");
    EXPECT_EQ(byMi[5].substr(0, 4), "the\t");
    EXPECT_EQ(byMi[6].substr(0, 4), "saw\t");

    // L5 ... R5, at least 3: only "the" (L2, R3, and "The" at L1) among R1 = 12 words.
    EXPECT_EQ(table({StrengthMeasure::MI, {}, 3}),
              (Strings{std::string(kStrengthTableHeader),
                       "the\t3\t1.2000\t10\t1.3219\t4.4919\t1.0392\t2.6528\t12.8845\r\n"}));
    // Nothing at the span: the header alone.
    EXPECT_EQ(table({StrengthMeasure::MI, {5, 5}, 0}).size(), 1u);

    CExStringList kept;
    kept.addTail("old\r\n");
    m_ui.cancelAtPump(2);
    EXPECT_FALSE(writeStrengthTable(m_counts, m_reference, {}, kept, m_ui));
    EXPECT_EQ(Strings(kept.begin(), kept.end()), Strings{"old\r\n"});
}

class StrengthDialogTest : public ::testing::Test {
protected:
    std::string stored(const char* key) {
        Profile reread(m_path);
        return reread.readString("ColloqStrength", key, "<none>");
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
};

TEST_F(StrengthDialogTest, OpensWithDefaultsRepairsHandEditsAndStoresWhatItShows) {
    ColloqStrengthDialogModel dialog(m_profile);
    dialog.open();
    EXPECT_EQ(dialog.measureIndex(), 0);
    EXPECT_EQ(dialog.spec().span, (ColloqSpan{-5, 5}));
    EXPECT_EQ(dialog.minFrequency(), 3);
    EXPECT_EQ(ColloqStrengthDialogModel::measureLabel(3), "log-likelihood");
    EXPECT_EQ(ColloqStrengthDialogModel::measureLabel(5), "");
    EXPECT_EQ(colloqSpanPositionLabel(-5), "L5");
    EXPECT_EQ(colloqSpanPositionLabel(1), "R1");
    EXPECT_EQ(colloqSpanPositionLabel(0), "");

    const auto reopen = [&](const char* measure, const char* from, const char* to,
                            const char* minimum) {
        m_profile.writeString("ColloqStrength", "Measure", measure);
        m_profile.writeString("ColloqStrength", "SpanFrom", from);
        m_profile.writeString("ColloqStrength", "SpanTo", to);
        m_profile.writeString("ColloqStrength", "MinFreq", minimum);
        dialog.open();
    };
    reopen("9", "-40", "x", "-7");  // "x" reads as 0: the span ends at L1
    EXPECT_EQ(dialog.measureIndex(), 0);
    EXPECT_EQ(dialog.spec().span, (ColloqSpan{-5, -1}));
    EXPECT_EQ(dialog.minFrequency(), 0);
    reopen("2", "3", "-2", "99999999");  // backwards: the whole span
    EXPECT_EQ(dialog.spec().measure, StrengthMeasure::TScore);
    EXPECT_EQ(dialog.spec().span, (ColloqSpan{-5, 5}));
    EXPECT_EQ(dialog.minFrequency(), kMaxColloqMinFrequency);
    EXPECT_TRUE(dialog.refusal().empty());

    dialog.setMeasureIndex(7);
    dialog.setSpanFrom(6);
    EXPECT_EQ(dialog.measureIndex(), 2);
    EXPECT_EQ(dialog.spanFrom(), -5);
    dialog.setSpanFrom(0);
    dialog.setSpanTo(0);
    EXPECT_EQ(dialog.refusal(), kColloqStrengthSpanRefusal);
    dialog.setSpanTo(2);
    dialog.setMinFrequency(12);
    ASSERT_TRUE(dialog.refusal().empty());
    dialog.store();
    EXPECT_EQ(stored("Measure"), "2");
    EXPECT_EQ(stored("SpanFrom"), "1");
    EXPECT_EQ(stored("SpanTo"), "2");
    EXPECT_EQ(stored("MinFreq"), "12");
}

class StrengthCommandTest : public StrengthDialogTest {
protected:
    StrengthCommandTest() {
        CExStringList& result = m_document.list(ResultKind::Original);
        result.addTail("-----[ /corpus/a.txt ]-----\r\n");
        result.addTail(kwic("the ", "cat sat on"));
        result.addTail(kwic("a ", "cat ran off"));
        result.addTail(kwic("The ", "cat sat up"));
        m_document.snapshot().keywordColumn = 21;
        m_document.snapshot().keyword1 = "cat";
        std::filesystem::create_directories(m_corpus);
        // 100 words: "the" 10 times, "sat" 4 times.
        std::string text;
        for (int i = 0; i < 10; ++i) text += "the ";
        for (int i = 0; i < 4; ++i) text += "sat ";
        for (int i = 0; i < 86; ++i) text += "word ";
        testing::writeFileBytes(m_corpus + "/a.txt", text + "\n");
    }
    ExColloqInput input() {
        ExColloqInput input{colloqInputOf(m_document), {}, m_dir.file("WordList")};
        input.files.fileName = "*.txt";
        input.files.directory = m_corpus + "/";
        return input;
    }
    Strings collocation() const {
        const CExStringList& list = m_document.list(ResultKind::Collocation);
        return Strings(list.begin(), list.end());
    }

    std::string m_corpus = m_dir.file("corpus");
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"result"};
    ApplicationSearchFlags m_flags;
    SearchState m_view;
    ResultCommandPlace m_place{m_profile, m_ui, m_document, m_flags, m_view};
};

TEST_F(StrengthCommandTest, WritesTheTableAgainstTheCorpusAndReusesItsWordList) {
    const auto choose = [](ColloqStrengthDialogModel& dialog) {
        dialog.setMeasureIndex(2);
        dialog.setSpanFrom(-1);
        dialog.setSpanTo(1);
        dialog.setMinFrequency(2);
        return true;
    };
    ColloqTableResult result = runColloqStrengthCommand(m_place, input(), choose);
    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_FALSE(result.reference.fromCache);
    EXPECT_EQ(result.lines, 3);
    // L1 and R1 of 3 lines: 6 words. sat: O 2, E = 6 * 4 / 100; the: O 2, E = 6 * 10 / 100.
    EXPECT_EQ(collocation(),
              (Strings{std::string(kStrengthTableHeader),
                       "sat\t2\t0.2400\t4\t3.0589\t5.0589\t1.2445\t6.5929\t13.1926\r\n",
                       "the\t2\t0.6000\t10\t1.7370\t3.7370\t0.9899\t2.6578\t12.2996\r\n"}));
    EXPECT_EQ(result.columnWidths.size(), 9u);
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Collocation);
    EXPECT_EQ(m_document.snapshot().history[0], 3);
    EXPECT_EQ(stored("Measure"), "2");
    EXPECT_EQ(stored("SpanFrom"), "-1");
    EXPECT_EQ(m_ui.transcript().front(),
              "title " + std::to_string(m_document.id()) + ": <<Counting...>>");
    EXPECT_EQ(m_ui.beeps(), 1);

    // Confirmed unchanged, the stored choice is used again; the corpus is not read.
    result = runColloqStrengthCommand(m_place, input());
    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_TRUE(result.reference.fromCache);
    EXPECT_EQ(collocation().size(), 3u);
}

TEST_F(StrengthCommandTest, BusyCancelledOrRefusedLeavesTheCollocationListAlone) {
    m_document.list(ResultKind::Collocation).addTail("old\r\n");
    m_view.busy = true;
    EXPECT_EQ(runColloqStrengthCommand(m_place, input()).end, ColloqCommandEnd::Refused);
    m_view.busy = false;
    EXPECT_EQ(runColloqStrengthCommand(m_place, input(), [](auto&) { return false; }).end,
              ColloqCommandEnd::Cancelled);
    const ColloqTableResult refused =
        runColloqStrengthCommand(m_place, input(), [](ColloqStrengthDialogModel& dialog) {
            dialog.setSpanFrom(3);
            dialog.setSpanTo(-1);
            return true;
        });
    EXPECT_EQ(refused.end, ColloqCommandEnd::Rejected);
    EXPECT_EQ(m_ui.messages(), (Strings{"I'm busy now. Please wait for a minutes.m(__)m",
                                        std::string(kColloqStrengthSpanRefusal)}));
    EXPECT_EQ(stored("SpanFrom"), "<none>");
    EXPECT_EQ(collocation(), Strings{"old\r\n"});
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("WordList")));

    const int beeps = m_ui.beeps();
    m_ui.cancelAtPump(2);
    EXPECT_EQ(runColloqStrengthCommand(m_place, input()).end, ColloqCommandEnd::Stopped);
    EXPECT_EQ(collocation(), Strings{"old\r\n"});
    EXPECT_EQ(m_ui.beeps(), beeps);
    EXPECT_FALSE(m_view.busy);
}

}  // namespace
}  // namespace vellmora
