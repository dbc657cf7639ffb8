#include "document/result_navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

constexpr ResultKind kAllKinds[] = {ResultKind::Original, ResultKind::Extracted, ResultKind::Sorted,
                                    ResultKind::Collocation, ResultKind::Spreadsheet};

class ResultNavigationTest : public ::testing::Test {
protected:
    /// Two files with one hit each, separator lines written.
    void search() {
        for (const char* line :
             {"-----[ a.txt ]-----", "the cat sat", "-----[ b.txt ]-----", "a cat ran"})
            m_document.addSearchLine(line, 100);
    }
    std::vector<bool> enabled() const {
        std::vector<bool> result;
        for (ResultKind kind : kAllKinds) result.push_back(kindEnabled(m_document, kind));
        return result;
    }

    testing::TempDir m_dir;
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"d"};
};

TEST_F(ResultNavigationTest, AfterASearchOnlyTheOriginalResultIsEnabled) {
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false, false}));
    search();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, false, false}));
    m_document.addCollocationLine("cat\t2\r\n");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true, false}));
}

TEST_F(ResultNavigationTest, PreviousResultAfterExtractingAndSortingShowsTheSearchResult) {
    search();
    m_document.addExtractedLine("the cat sat\r\n");
    showKind(m_document, ResultKind::Extracted, m_ui);
    m_document.addSortedLine("a cat ran\r\n");
    showKind(m_document, ResultKind::Sorted, m_ui);
    EXPECT_EQ(m_document.snapshot().history[0], 2);
    EXPECT_EQ(m_document.snapshot().history[1], 1);

    ASSERT_TRUE(previousResult(m_document, false, m_ui, m_profile));
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(m_document.snapshot().history[0], 0);
    EXPECT_EQ(m_ui.transcript().back(), "refresh " + std::to_string(m_document.id()));
}

TEST_F(ResultNavigationTest, PreviousResultRefusesWhileBusyAndChangesNothing) {
    search();
    m_document.addSortedLine("x\r\n");
    showKind(m_document, ResultKind::Sorted, m_ui);
    m_ui.clear();
    EXPECT_FALSE(previousResult(m_document, true, m_ui, m_profile));
    EXPECT_EQ(m_ui.transcript(),
              (Lines{"beep", "message OK: I'm busy now. Please wait for a minutes.m(__)m"}));
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Sorted);
    EXPECT_EQ(m_document.snapshot().history[0], 2);

    m_profile.writeInt("Options", "Beep", 1);
    m_ui.clear();
    previousResult(m_document, true, m_ui, m_profile);
    EXPECT_EQ(m_ui.beeps(), 0);
}

TEST_F(ResultNavigationTest, PreviousResultIsDisabledWhileSearchingOrOnAnEmptyKind) {
    EXPECT_FALSE(previousResultEnabled(m_document, false));
    search();
    EXPECT_TRUE(previousResultEnabled(m_document, false));
    EXPECT_FALSE(previousResultEnabled(m_document, true));
    m_document.snapshot().history[0] = 4;  // e.g. restored from a file
    EXPECT_FALSE(previousResultEnabled(m_document, false));
    m_document.snapshot().history[0] = 300;  // damaged: reads as the search result
    EXPECT_TRUE(previousResultEnabled(m_document, false));
}

TEST_F(ResultNavigationTest, TheHistoryKeepsTwentyOneKindsAndItsTailStaysZero) {
    DisplaySnapshot snapshot;
    snapshot.history.fill(0);
    pushDisplayHistory(snapshot, ResultKind::Sorted);
    for (int i = 0; i < 20; ++i) pushDisplayHistory(snapshot, ResultKind::Extracted);
    EXPECT_EQ(snapshot.history[20], 2);
    pushDisplayHistory(snapshot, ResultKind::Collocation);
    EXPECT_EQ(snapshot.history[0], 3);
    EXPECT_EQ(snapshot.history[20], 1);  // the oldest, the sorted result, is gone
    for (int i = 21; i < 27; ++i) EXPECT_EQ(snapshot.history[i], 0);
}

TEST_F(ResultNavigationTest, ShowingAKindGivesTheLineWidthExceptForTheTable) {
    search();
    m_document.list(ResultKind::Spreadsheet).addTail("a\tb\r\n");
    EXPECT_EQ(showKind(m_document, ResultKind::Original, m_ui), 21);  // with its line end
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(showKind(m_document, ResultKind::Spreadsheet, m_ui), std::nullopt);
    EXPECT_EQ(m_document.snapshot().history[0], 4);
    EXPECT_EQ(m_document.snapshot().history[1], 0);
}

TEST_F(ResultNavigationTest, TheCountDialogCountsSeparatorLinesAndGreysEmptyKinds) {
    search();
    m_document.addSortedLine("a cat ran\r\n");
    const auto lines = resultCountLines(m_document);
    Lines texts;
    std::vector<bool> greyed;
    for (const ResultCountLine& line : lines) {
        texts.push_back(line.text);
        greyed.push_back(line.greyed);
    }
    EXPECT_EQ(texts, (Lines{"元の検索結果 : 4行", "絞込検索結果 : 0行", "計 数 結 果  : 0行",
                            "TSV/CSV結果  : 0行", "並べ替え結果 : 1行"}));
    EXPECT_EQ(greyed, (std::vector<bool>{false, true, true, true, false}));
    EXPECT_EQ(lines[2].kind, ResultKind::Collocation);
}

}  // namespace
}  // namespace vellmora
