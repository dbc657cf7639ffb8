#include "results/extract_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

class ExtractionDialogTest : public ::testing::Test {
protected:
    void set(std::string_view section, std::string_view key, std::string_view value) {
        profile.writeString(section, key, value);
        profile.flush();
    }
    std::string stored(std::string_view section, std::string_view key) {
        Profile again(profile.path());
        return again.readString(section, key, "<missing>");
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    Histories histories;
};

TEST_F(ExtractionDialogTest, OpensWithTheDefaultsOfAnEmptyFile) {
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    const ExtractionOptions& o = dialog.fields().options;
    EXPECT_TRUE(o.andSearch);
    EXPECT_FALSE(o.notSearch);
    EXPECT_TRUE(o.sep);
    EXPECT_FALSE(o.sepMatched);
    EXPECT_FALSE(dialog.fields().useGroup);
    EXPECT_FALSE(dialog.fields().regExp);
    EXPECT_EQ(dialog.fields().keyword, "");
    EXPECT_EQ(o.rangeType(), 1);
    EXPECT_EQ(o.boundaryMode(), 0);
}

TEST_F(ExtractionDialogTest, OpeningRulesMendTheRadioPairsAndDelimiters) {
    set("ExtractionOptions", "AndSearch", "1");
    set("ExtractionOptions", "NotSearch", "1");
    set("ExtractionOptions", "Sep", "0");
    set("ExtractionOptions", "SepMatched", "0");
    set("ExtractionOptions", "Hyph", "1");
    set("ExtractionOptions", "Apo", "1");
    set("ExtractionOptions", "Alnum", "1");
    set("Setting", "Word", "1");
    set("Setting", "Group", "1");
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    ExtractionOptions o = dialog.fields().options;
    EXPECT_TRUE(o.andSearch && !o.notSearch);
    EXPECT_TRUE(o.sep && !o.sepMatched);
    EXPECT_FALSE(o.hyph || o.apo || o.alnum);  // no side to apply them to
    EXPECT_FALSE(dialog.fields().useGroup);

    set("ExtractionOptions", "NotSearch", "1");
    set("ExtractionOptions", "AndSearch", "0");
    set("ExtractionOptions", "SepMatched", "1");
    set("ExtractionOptions", "Mae", "1");
    set("ExtractionOptions", "Alnum", "0");
    set("Setting", "Word", "0");
    dialog.open();
    o = dialog.fields().options;
    EXPECT_TRUE(o.notSearch && !o.andSearch);
    EXPECT_TRUE(o.sepMatched && !o.sep);
    EXPECT_TRUE(o.alnum);  // "Default" goes with a side
    EXPECT_TRUE(o.hyph && o.apo);
    EXPECT_EQ(o.boundaryMode(), 32);
    EXPECT_EQ(o.rangeType(), 0);
    EXPECT_TRUE(dialog.fields().useGroup);
}

TEST_F(ExtractionDialogTest, KeywordAndChoicesFollowWordOrGroup) {
    set("Setting", "ExtractionWord", "milk");
    set("Setting", "GroupName", "pets");
    writeGroupWords(profile, "pets", {"dog"});
    writeGroupNames(profile, {"pets", "food"}, NameChunkWrite::All);
    profile.flush();
    histories.enter(HistoryKind::ExtractionWord, "older");
    histories.enter(HistoryKind::ExtractionWord, "milk");
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    EXPECT_EQ(dialog.fields().keyword, "milk");
    EXPECT_EQ(dialog.choices(), (Lines{"milk", "older"}));
    dialog.fields().useGroup = true;
    EXPECT_EQ(dialog.choices(), (Lines{"pets", "food"}));

    set("Setting", "Word", "0");
    set("Setting", "Group", "1");
    dialog.open();
    EXPECT_EQ(dialog.fields().keyword, "pets");
}

TEST_F(ExtractionDialogTest, EmptyKeywordKeepsTheDialogOpen) {
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    EXPECT_FALSE(dialog.ok());
    dialog.fields().useGroup = true;
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(ui.messages(), (Lines{"Enter Keyword!", "Enter Word Group!"}));
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(stored("ExtractionOptions", "AndSearch"), "<missing>");

    set("Options", "Beep", "1");
    dialog.open();
    ui.clear();
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(ui.beeps(), 0);
    EXPECT_EQ(ui.messages(), Lines{"Enter Keyword!"});
}

TEST_F(ExtractionDialogTest, OkWritesEveryKey) {
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    ExtractionFields& f = dialog.fields();
    f.options.reMae = true;
    f.options.ato = true;
    f.options.alnum = true;
    f.options.ignoreCase = true;
    f.regExp = true;
    f.useGroup = true;
    f.keyword = "pets";
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(stored("ExtractionOptions", "reMae"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "Ato"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "IgnoreCase"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "bRegExp"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "Sep"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "SepMatched"), "0");
    EXPECT_EQ(stored("ExtractionOptions", "AndSearch"), "1");
    EXPECT_EQ(stored("Setting", "Word"), "0");
    EXPECT_EQ(stored("Setting", "Group"), "1");
    EXPECT_EQ(stored("Setting", "ExtractionWord"), "pets");
    EXPECT_EQ(stored("Setting", "GroupName"), "pets");
    const RangeExtractionRequest request = dialog.request();
    EXPECT_EQ(request.keyword.text, "pets");
    EXPECT_TRUE(request.keyword.isGroup);
    EXPECT_TRUE(request.regExp);
    EXPECT_EQ(request.options, f.options);

    // Reopened, the dialog shows what it stored.
    RangeExtractionDialogModel again(profile, ui, histories);
    again.open();
    EXPECT_EQ(again.fields().options, f.options);
    EXPECT_TRUE(again.fields().regExp);
    EXPECT_EQ(again.fields().keyword, "pets");
}

TEST_F(ExtractionDialogTest, PositionDialogNeedsAPositionAndAKeyword) {
    PositionExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    EXPECT_FALSE(dialog.positions().any());
    dialog.fields().keyword = "of";
    EXPECT_FALSE(dialog.ok());
    dialog.positions().set(1, true);
    dialog.positions().set(-5, true);
    dialog.fields().keyword.clear();
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(ui.messages(), (Lines{"Positions are not decided!(;_;)", "Enter Keyword!"}));
    EXPECT_EQ(stored("PositionedRekkc", "pos1"), "<missing>");

    dialog.fields().keyword = "of";
    dialog.fields().options.bummatsu = true;
    dialog.fields().regExp = true;
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(stored("PositionedRekkc", "pos1"), "1");
    EXPECT_EQ(stored("PositionedRekkc", "prev5"), "1");
    EXPECT_EQ(stored("PositionedRekkc", "kw1pos"), "0");
    EXPECT_EQ(stored("PositionedRekkc", "bRegExp"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "Bummatsu"), "1");
    EXPECT_EQ(stored("ExtractionOptions", "bRegExp"), "<missing>");
    EXPECT_EQ(stored("ExtractionOptions", "reMae"), "<missing>");
    EXPECT_TRUE(dialog.request().positions.bySentence);

    PositionExtractionDialogModel again(profile, ui, histories);
    again.open();
    EXPECT_EQ(again.positions().ticked, dialog.positions().ticked);
    EXPECT_TRUE(again.fields().regExp);
}

TEST_F(ExtractionDialogTest, PositionDialogReadsItsOwnWordAndGroupKeys) {
    set("Setting", "Group", "1");
    set("Setting", "Word", "0");
    set("Setting", "ExtractionWord", "milk");
    PositionExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    EXPECT_FALSE(dialog.fields().useGroup);
    EXPECT_EQ(dialog.fields().keyword, "milk");
    set("ExtractionOption", "Group", "1");
    set("ExtractionOption", "Word", "0");
    dialog.open();
    EXPECT_TRUE(dialog.fields().useGroup);
}

TEST_F(ExtractionDialogTest, BatchFrontEndConfirmsTheOpenedDialog) {
    set("Setting", "ExtractionWord", "milk");
    std::optional<RangeExtractionRequest> stored =
        confirmRangeExtractionDialog(profile, ui, histories, std::nullopt);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->keyword.text, "milk");
    EXPECT_TRUE(stored->options.andSearch && stored->options.sep);

    std::optional<RangeExtractionRequest> given =
        confirmRangeExtractionDialog(profile, ui, histories, KeywordSpec{"pets", true});
    ASSERT_TRUE(given);
    EXPECT_EQ(given->keyword.text, "pets");
    EXPECT_TRUE(given->keyword.isGroup);

    EXPECT_FALSE(confirmRangeExtractionDialog(profile, ui, histories, KeywordSpec{"", false}));
    // Nothing ticked: the position dialog refuses.
    EXPECT_FALSE(confirmPositionExtractionDialog(profile, ui, histories, KeywordSpec{"of"}));
    EXPECT_EQ(ui.messages(), (Lines{"Enter Keyword!", "Positions are not decided!(;_;)"}));
}

}  // namespace
}  // namespace vellmora
