#include "document/result_document.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vellmora {
namespace {

TEST(CPyxoDoc, SearchLinesGetTheirLineEndAndStopAtTheLimit) {
    CPyxoDoc document("Vellmora1");
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.addSearchLine("-----[ a.txt ]-----", 3));
    EXPECT_TRUE(document.addSearchLine("hit 1", 3));
    EXPECT_TRUE(document.addSearchLine("hit 2", 3));
    EXPECT_FALSE(document.addSearchLine("hit 3", 3));
    EXPECT_FALSE(document.addSearchLine("Total : 3", 3));
    const CExStringList& results = document.list(ResultKind::Original);
    ASSERT_EQ(results.count(), 3);
    EXPECT_EQ(*results.begin(), "-----[ a.txt ]-----\r\n");
    EXPECT_TRUE(document.isModified());
}

TEST(CPyxoDoc, ALimitOfZeroOrANegativeSettingRefusesOrKeepsEverything) {
    CPyxoDoc document("d");
    EXPECT_FALSE(document.addSearchLine("x", 0));
    // A negative limit in the settings file reads as a huge unsigned one.
    EXPECT_TRUE(document.addSearchLine("x", static_cast<unsigned>(-1)));
}

TEST(CPyxoDoc, ClearEmptiesEveryListAndTheModifiedFlag) {
    CPyxoDoc document("d");
    document.addSearchLine("a", 10);
    document.addSortedLine("b\r\n");
    document.addCollocationLine("c\r\n");
    document.clearResults();
    for (int kind = 0; kind < kResultKinds; ++kind)
        EXPECT_EQ(document.list(static_cast<ResultKind>(kind)).count(), 0);
    EXPECT_FALSE(document.isModified());
    EXPECT_NE(CPyxoDoc("e").id(), document.id());
}

}  // namespace
}  // namespace vellmora

namespace vellmora {
namespace {

struct CollectingSink : SearchLineSink {
    std::vector<std::string> lines;
    void take(std::string_view line) override { lines.emplace_back(line); }
};

TEST(CPyxoDoc, ASinkTakesTheSearchLinesAndTheLimitStillHolds) {
    CPyxoDoc document("d");
    CollectingSink sink;
    document.setSearchLineSink(&sink);
    EXPECT_TRUE(document.addSearchLine("a", 2));
    EXPECT_TRUE(document.addSearchLine("b", 2));
    EXPECT_FALSE(document.addSearchLine("c", 2));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"a\r\n", "b\r\n"}));
    EXPECT_EQ(document.list(ResultKind::Original).count(), 0);
    EXPECT_EQ(document.searchResultCount(), 2);
    document.setSearchLineSink(nullptr);
    EXPECT_TRUE(document.addSearchLine("d", 1));  // the list itself is empty
}

}  // namespace
}  // namespace vellmora
