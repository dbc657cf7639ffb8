#include "document/dispersion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/result_document.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Hits = std::vector<DispersionHit>;

class DispersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.file("corpus"));
        // Ten lines, the last without a line end.
        testing::writeFileBytes(dir.file("corpus/a.txt"), "1\r\n2\n3\n4\n5\n6\n7\n8\n9\nten");
        testing::writeFileBytes(dir.file("corpus/b.txt"), "one\ntwo\n");
    }
    void result(std::initializer_list<std::string> lines, int selector = 0, int searchKind = 1) {
        for (const std::string& line : lines) document.addSearchLine(line, 1000);
        document.snapshot().formatSelector = selector;
        document.snapshot().searchKind = searchKind;
    }
    DispersionPlot plot() { return dispersionOf(document, context, counts); }

    testing::TempDir dir;
    CPyxoDoc document{"PYXO1"};
    DispersionContext context;
    FileLineCounts counts;
};

TEST_F(DispersionTest, EveryFileOfTheResultIsARowWithItsHitsAndLines) {
    context.searchDirectories = {dir.file("nowhere"), dir.file("corpus")};
    result({"-----[ " + dir.file("corpus/b.txt") + " ]-----",  // no hits: an empty bar
            "-----[ a.txt ]-----",                             // found in the search directory
            "      2 | the second line", "      9 | the ninth | with a bar", "a.txt : 2",
            "-----[ /no/such/file.txt ]-----", "     40 | x", "     25 | y",
            "-----[ " + dir.file("corpus/b.txt") + " ]-----", "      1 | b again",
            std::string("-----[ ") + dir.file("corpus/a.txt") + '\0' + "x ]-----",
            "99999999999999999999999 | a line number past any file", "Total : 5"});
    const DispersionPlot rows = plot();
    ASSERT_EQ(rows.rows.size(), 4u);
    const DispersionRow& b = rows.rows[0];
    EXPECT_EQ(b.path, dir.file("corpus/b.txt"));
    EXPECT_EQ(b.lineCount, 2);
    EXPECT_EQ(b.hits, (Hits{{9, 1}}));
    EXPECT_DOUBLE_EQ(*b.hitsPerThousandLines(), 500.0);

    const DispersionRow& a = rows.rows[1];
    EXPECT_EQ(a.name, "a.txt");
    EXPECT_EQ(a.path, dir.file("corpus/a.txt"));
    EXPECT_EQ(a.lineCount, 10);
    EXPECT_EQ(a.hits, (Hits{{2, 2}, {3, 9}}));
    EXPECT_DOUBLE_EQ(*a.hitsPerThousandLines(), 200.0);
    EXPECT_EQ(a.extent(), 10);

    // A file that cannot be read has no count: its bar reaches to its highest hit.
    const DispersionRow& missing = rows.rows[2];
    EXPECT_EQ(missing.path, "");
    EXPECT_FALSE(missing.lineCount);
    EXPECT_FALSE(missing.hitsPerThousandLines());
    EXPECT_EQ(missing.extent(), 40);

    // A name with a NUL in it is never opened (it would open a.txt).
    const DispersionRow& hostile = rows.rows[3];
    EXPECT_FALSE(hostile.lineCount);
    ASSERT_EQ(hostile.hits.size(), 1u);
    EXPECT_GT(hostile.hits[0].line, 1'000'000'000L);
    EXPECT_EQ(rows.hitCount(), 6);
}

TEST_F(DispersionTest, TaggedLinesNameTheirFilesAndAKwocMatchWithContextCountsOnce) {
    const std::string a = dir.file("corpus/a.txt");
    result({"   " + a + ":      3 | tagged", "   " + a + ":      7 | tagged"}, 10);
    EXPECT_EQ(plot().rows.at(0).hits, (Hits{{0, 3}, {1, 7}}));

    // Two lines before and one after: the hit is the third line of a block, or the one before
    // the last where the file began too soon for two.
    document.clearResults();
    context.kwocLinesBefore = 2;
    context.kwocLinesAfter = 1;
    result({"-----[ " + a + " ]-----", "      4 | b", "      5 | b", "      6 | hit", "      7 | a",
            "-----[ " + a + " ]-----", "      1 | b", "      2 | hit", "      3 | a"},
           0, 2);
    EXPECT_EQ(plot().rows.at(0).hits, (Hits{{3, 6}, {7, 2}}));
    document.snapshot().searchKind = 1;  // KWIC lines are each a hit
    EXPECT_EQ(plot().rows.at(0).hits.size(), 7u);

    document.snapshot().formatSelector = 11;
    EXPECT_EQ(dispersionUnavailable(document), kNoLineNumbersMessage);
    EXPECT_TRUE(plot().rows.empty());
    document.snapshot().formatSelector = 0;
    document.addCollocationLine("a\t1\r\n");
    document.selectKind(ResultKind::Collocation);
    EXPECT_EQ(dispersionUnavailable(document), kNoPlotForTablesMessage);
    document.selectKind(ResultKind::Sorted);
    EXPECT_EQ(dispersionUnavailable(document), kNoHitLinesMessage);
}

TEST_F(DispersionTest, LinesAreCountedAsTheSearchNumbersThemOncePerFile) {
    const std::string file = dir.file("count.txt");
    testing::writeFileBytes(file, "a\r\nb\r\n\r\n" + std::string(9000, 'x') + "\nlast");
    EXPECT_EQ(countFileLines(file), 6);  // the long line is two pieces
    testing::writeFileBytes(file, "");
    EXPECT_EQ(countFileLines(file), 0);
    EXPECT_FALSE(countFileLines(dir.path()));  // a directory
    EXPECT_FALSE(countFileLines(dir.file("missing")));

    EXPECT_EQ(counts.of(dir.file("corpus/b.txt")), 2);
    testing::writeFileBytes(dir.file("corpus/b.txt"), "now\nthree\nlines\n");
    EXPECT_EQ(counts.of(dir.file("corpus/b.txt")), 2);
    counts.clear();
    EXPECT_EQ(counts.of(dir.file("corpus/b.txt")), 3);
}

}  // namespace
}  // namespace vellmora
