#include "document/print_layout.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Pages = std::vector<std::pair<std::size_t, std::size_t>>;

Pages pagesOf(const PrintLayout& layout) {
    Pages pages;
    for (int page = 1; page <= layout.pageCount(); ++page) pages.push_back(layout.linesOf(page));
    return pages;
}

PrintSettings withLines(int lines, int maxPage = 10) {
    PrintSettings settings;
    settings.linesPerPage = lines;
    settings.maxPage = maxPage;
    return settings;
}

TEST(PrintLayoutTest, PagesFillToTheirTextLinesAndNeverEndInsideALine) {
    // An empty list prints one page with its header alone.
    EXPECT_EQ(pagesOf(PrintLayout(withLines(50), 0, [](std::size_t) { return 1; })),
              (Pages{{0, 0}}));
    // Four lines a page: a page stops before the line that would bring it to the limit.
    EXPECT_EQ(pagesOf(PrintLayout(withLines(5), 9, [](std::size_t) { return 1; })),
              (Pages{{0, 4}, {4, 8}, {8, 9}}));
    // Line 1 wraps into three text lines: it does not fit after line 0 and a second line.
    const auto wrapped = [](std::size_t line) { return line == 2 ? 3 : 1; };
    EXPECT_EQ(pagesOf(PrintLayout(withLines(4), 5, wrapped)), (Pages{{0, 2}, {2, 3}, {3, 5}}));
    // A line as long as a page takes one of its own instead of stopping every page.
    EXPECT_EQ(pagesOf(PrintLayout(withLines(3), 3, [](std::size_t line) {
                  return line == 1 ? 7 : 1;
              })),
              (Pages{{0, 1}, {1, 2}, {2, 3}}));
    // MaxPage 2 of the five pages the list needs; "Line" 0 prints headers only.
    EXPECT_EQ(PrintLayout(withLines(2, 2), 5, [](std::size_t) { return 1; }).pageCount(), 2);
    EXPECT_EQ(pagesOf(PrintLayout(withLines(0, 3), 4, [](std::size_t) { return 1; })),
              (Pages{{0, 0}, {0, 0}, {0, 0}}));
}

TEST(PrintLayoutTest, SettingsReadAsDecimalsAndPlaceTheBlock) {
    testing::TempDir dir;
    std::ofstream(dir.file("pyxo.ini"))
        << "[Print]\nLine=abc\nColumn=60\nOffset=3\nTop=25\nLeft=40\nPageNum=1\n";
    Profile profile(dir.file("pyxo.ini"));
    const PrintSettings settings = PrintSettings::read(profile);
    EXPECT_EQ(settings.linesPerPage, 0);  // what does not convert counts as 0
    EXPECT_EQ(settings.maxPage, 10);
    EXPECT_TRUE(settings.pageNumber);
    EXPECT_EQ(PrintLayout::blockLeft(settings, 8), 25 + 3 * 8);  // "Top" moves it right
    EXPECT_EQ(PrintLayout::blockWidth(settings, 8), 480);
    EXPECT_EQ(settings.left, 40);
    EXPECT_EQ(PrintLayout::header(3), "Page : 3");

    // Edited by hand to the limits of int, the block stays at the edge instead of wrapping.
    std::ofstream(dir.file("pyxo.ini")) << "[Print]\nColumn=2147483647\nOffset=-2147483648\n";
    Profile edited(dir.file("pyxo.ini"));
    const PrintSettings huge = PrintSettings::read(edited);
    EXPECT_EQ(PrintLayout::blockWidth(huge, 8), 2147483647);
    EXPECT_LT(PrintLayout::blockLeft(huge, 8), 0);
}

TEST(PrintOptionDialogModelTest, FieldsAreCheckedAsTheyAreLeftAndTheOffsetAgainOnOk) {
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    RecordingUserInterface ui;
    PrintOptionDialogModel model(profile, ui);
    model.open();
    EXPECT_EQ(model.text(PrintOptionField::Lines), "50");
    EXPECT_FALSE(model.leaveField(PrintOptionField::Lines, "-1"));
    EXPECT_EQ(model.text(PrintOptionField::Lines), "30");  // not the default 50
    EXPECT_FALSE(model.leaveField(PrintOptionField::MaxPage, "-2"));
    EXPECT_EQ(model.text(PrintOptionField::MaxPage), "10");
    EXPECT_FALSE(model.leaveField(PrintOptionField::Columns, "-3"));
    EXPECT_EQ(model.text(PrintOptionField::Columns), "70");
    EXPECT_TRUE(model.leaveField(PrintOptionField::Offset, "20"));
    EXPECT_FALSE(model.leaveField(PrintOptionField::Offset, "21"));
    EXPECT_EQ(model.text(PrintOptionField::Offset), "0");
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Invalid value.(-_-X)", "Invalid value.(-_-X)",
                                        "Invalid value.(-_-X)", std::string(kPrintOffsetMessage)}));

    EXPECT_TRUE(model.leaveField(PrintOptionField::Offset, "5"));
    model.setPageNumber(true);
    EXPECT_TRUE(model.ok());
    Profile stored(dir.file("pyxo.ini"));
    EXPECT_EQ(stored.readString("Print", "Offset", ""), "5");
    EXPECT_EQ(stored.readString("Print", "Line", ""), "30");
    EXPECT_EQ(stored.readString("Print", "PageNum", ""), "1");
}

}  // namespace
}  // namespace vellmora
