#include "engine/result_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "engine/search_options.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"
#include "tests/textlib/text_helpers.h"

namespace vellmora::test {
namespace {

const std::string kA = bytes({0x82, 0xA0});   // hiragana a
const std::string kAa = bytes({0x88, 0x9F});  // a kanji whose second byte is in the lead range

SearchOptions optionsWith(int xsize, bool lineNumbers = true) {
    SearchOptions options;
    options.xsize = xsize;
    options.noLineNumber = !lineNumbers;
    return options;
}

ResultLayout started(const SearchOptions& options, int keyword1Length,
                     const std::vector<std::string>& paths = {}) {
    CExStringList files;
    for (const std::string& path : paths) files.addTail(path);
    ResultLayout layout;
    layout.start(options, files, keyword1Length);
    return layout;
}

/// Eleven lines as the search keeps them; unset slots are empty (start or end of a file).
struct Window {
    std::array<std::string, LineWindow::kSlots> lines;

    LineWindow view() const {
        LineWindow window;
        for (int i = 0; i < LineWindow::kSlots; ++i) {
            window.text[i] = lines[i].c_str();
            window.length[i] = lines[i].size();
        }
        return window;
    }
};

// X = 40 with line numbers: W = 29, and a 3-byte keyword stands at L = 13.
constexpr int kNarrow = 40;

TEST(LayoutValues, WorkedWidthsForEightyColumns) {
    LayoutValues numbered = started(optionsWith(80), 4).values();
    EXPECT_EQ(numbered.n, 10);
    EXPECT_EQ(numbered.f, 1);
    EXPECT_EQ(numbered.w, 69);
    EXPECT_EQ(numbered.l, 33);
    EXPECT_EQ(numbered.selector, 0);

    LayoutValues plain = started(optionsWith(80, false), 4).values();
    EXPECT_EQ(plain.n, 0);
    EXPECT_EQ(plain.f, 3);
    EXPECT_EQ(plain.w, 77);
    EXPECT_EQ(plain.selector, 1);
}

TEST(LayoutValues, NameColumnIsTheLongestNameAsWritten) {
    const std::vector<std::string> paths = {"/corpus/a.txt", "/corpus/Deep/longname.txt"};
    SearchOptions fileName = optionsWith(80);
    fileName.tagFName = true;
    EXPECT_EQ(started(fileName, 4, paths).values().f, 13);
    EXPECT_EQ(started(fileName, 4, paths).values().w, 57);
    fileName.noLineNumber = true;
    EXPECT_EQ(started(fileName, 4, paths).values().f, 15);

    SearchOptions fullPath = optionsWith(80);
    fullPath.tagAsIs = true;
    EXPECT_EQ(started(fullPath, 4, paths).values().f, 26);
    // Both set only by hand: the column fits the file names the run prints.
    fullPath.tagFName = true;
    EXPECT_EQ(started(fullPath, 4, paths).values().f, 13);
}

TEST(LayoutValues, KeywordColumnOffsetsAndClamps) {
    SearchOptions o = optionsWith(80);
    o.offset = 10;
    EXPECT_EQ(started(o, 4).values().l, 43);
    o.offset = -10;
    EXPECT_EQ(started(o, 4).values().l, 23);
    // (69 - 73 - 1) / 2 truncates to -2, not -3.
    o.offset = 3;
    EXPECT_EQ(started(o, 73).values().l, 2);
    o.offset = 0;
    EXPECT_EQ(started(o, 70).values().l, 1);
    // The right clamp is against X: the column may lie past the printed text.
    o.offset = 40;
    EXPECT_EQ(started(o, 4).values().l, 73);
    o.offset = 45;
    EXPECT_EQ(started(o, 4).values().l, 76);
}

TEST(LayoutValues, HandEditedValuesStayUsable) {
    EXPECT_EQ(started(optionsWith(0), 4).values().x, 80);
    EXPECT_EQ(started(optionsWith(-5), 4).values().x, 80);
    EXPECT_EQ(started(optionsWith(5), 4).values().x, 30);
    EXPECT_EQ(started(optionsWith(100000), 4).values().x, 256);

    SearchOptions o = optionsWith(80);
    o.offset = INT_MAX;
    EXPECT_EQ(started(o, 4).values().l, 76);
    o.offset = INT_MIN;
    EXPECT_EQ(started(o, 4).values().l, 1);
    // A keyword longer than the line, pushed right: X - K1 would be negative.
    o.offset = 50;
    EXPECT_EQ(started(o, 100).values().l, 1);
    EXPECT_EQ(started(optionsWith(80), -3).values().l, 35);

    // Paths longer than the line keep a context instead of a negative width.
    SearchOptions tagged = optionsWith(80);
    tagged.tagAsIs = true;
    LayoutValues v = started(tagged, 4, {"/" + std::string(200, 'p')}).values();
    EXPECT_EQ(v.f, 202);
    EXPECT_EQ(v.w, 19);
    EXPECT_EQ(v.l, 8);
}

TEST(LayoutValues, AnOffsetAtTheLimitOfIntReadsLeftwardWithoutOverflow) {
    testing::TempDir dir;
    for (const char* offset : {"-2147483648", "-99999999999", "2147483647"}) {
        testing::writeFileBytes(dir.file("pyxo.ini"), std::string("[Options]\nXsize=80\nOffset=") +
                                                          offset + "\nOffsetLeft=1\n");
        Profile profile(dir.file("pyxo.ini"));
        const SearchOptions options = readSearchOptions(profile);
        EXPECT_EQ(options.offset, offset[0] == '-' ? INT_MAX : -INT_MAX) << offset;
        EXPECT_EQ(started(options, 4).values().l, offset[0] == '-' ? 76 : 1) << offset;
    }
}

TEST(WindowContext, FirstAndLastLineOfAFile) {
    ResultLayout layout = started(optionsWith(80), 3);  // L = 33
    Window w;
    w.lines[5] = "the cat sat/";
    w.lines[6] = "on the mat/";
    std::string_view context = layout.windowContext(w.view(), 4);
    EXPECT_EQ(context, std::string(29, ' ') + "the cat sat/on the mat/");

    std::string_view line = layout.hitLine("f", 1, layout.printedText(context));
    EXPECT_EQ(line, "      1 | " + std::string(28, ' ') + "the cat sat/on the mat/");
    EXPECT_EQ(line.substr(42, 3), "cat");
}

TEST(WindowContext, WorkedWidthsOfAFullLine) {
    Window w;
    w.lines[4] = std::string(60, 'a') + "/";
    w.lines[5] = std::string(40, 'b') + "KEYS" + std::string(40, 'c') + "/";
    w.lines[6] = std::string(60, 'd') + "/";

    ResultLayout numbered = started(optionsWith(80), 4);
    std::string_view line =
        numbered.hitLine("f", 7, numbered.printedText(numbered.windowContext(w.view(), 40)));
    EXPECT_EQ(line.size(), 78u);
    EXPECT_EQ(line.substr(42, 4), "KEYS");

    ResultLayout plain = started(optionsWith(80, false), 4);  // L = 37
    std::string_view printed = plain.printedText(plain.windowContext(w.view(), 40));
    EXPECT_EQ(printed.size(), 76u);
    EXPECT_EQ(printed.substr(36, 4), "KEYS");
}

TEST(WindowContext, TakesLinesBeforeAndAfterUpToTheWidth) {
    ResultLayout layout = started(optionsWith(kNarrow), 3);
    Window w;
    w.lines[2] = "never seen/";
    w.lines[3] = "alpha beta/";
    w.lines[4] = "gamma/";
    w.lines[5] = "delta KEY epsilon/";
    w.lines[6] = "zeta eta/";
    w.lines[7] = "theta/";
    std::string_view context = layout.windowContext(w.view(), 6);
    EXPECT_EQ(context, "/gamma/delta KEY epsilon/zeta eta/");
    EXPECT_EQ(layout.printedText(context), "gamma/delta KEY epsilon/zeta");
}

TEST(WindowContext, HoldsTheKeywordEvenWhenItsColumnLiesPastTheWidth) {
    SearchOptions o = optionsWith(80);
    o.offset = 40;  // L = 73, W = 69
    ResultLayout layout = started(o, 4);
    Window w;
    w.lines[4] = std::string(100, 'a') + "/";
    w.lines[5] = "KEYS rest/";
    std::string_view context = layout.windowContext(w.view(), 0);
    EXPECT_EQ(context.substr(73), "KEYS rest/");
    EXPECT_EQ(layout.printedText(context), std::string(68, 'a'));
}

TEST(WindowContext, PadsWhenAllEarlierLinesAreTooShort) {
    ResultLayout layout = started(optionsWith(kNarrow), 3);
    Window w;
    for (int i = 0; i < 5; ++i) w.lines[i] = "a/";
    w.lines[5] = "b KEY/";
    EXPECT_EQ(layout.windowContext(w.view(), 2), " a/a/a/a/a/b KEY/");
}

TEST(WindowContext, AHalfCharacterAtTheLeftEdgeShowsAsASpace) {
    ResultLayout layout = started(optionsWith(kNarrow), 3);
    const std::string line = "xxxxx" + kA + "abcdefghijkKEY/";
    Window w;
    w.lines[5] = line;
    std::string_view context = layout.windowContext(w.view(), 18);
    EXPECT_EQ(context, bytes({0x82}) + " abcdefghijkKEY/");
    EXPECT_EQ(layout.printedText(context), " abcdefghijkKEY/");
    EXPECT_EQ(layout.lineContext(line, 18), context);

    // The same when the cut falls exactly on the start of an earlier line.
    Window earlier;
    earlier.lines[4] = kA + "123456/";
    earlier.lines[5] = "abc KEY/";
    EXPECT_EQ(layout.printedText(layout.windowContext(earlier.view(), 4)), " 123456/abc KEY/");
}

TEST(WindowContext, ACutOnASecondHalfKeepsTheCharactersAfterIt) {
    ResultLayout layout = started(optionsWith(kNarrow), 4);  // L = 13
    std::string line;
    for (int i = 0; i < 20; ++i) line += kAa;
    line += "/";
    Window w;
    w.lines[5] = line;
    std::string_view context = layout.windowContext(w.view(), 20);
    EXPECT_EQ(context, line.substr(7));
    // Byte 0 is the second half 0x9F; the printed text is 14 whole characters.
    std::string fourteen;
    for (int i = 0; i < 14; ++i) fourteen += kAa;
    EXPECT_EQ(layout.printedText(context), fourteen);
}

TEST(PrintedText, DropsACharacterTheWidthWouldSplit) {
    ResultLayout layout = started(optionsWith(kNarrow), 3);
    std::string_view split = layout.lineContext("KEYabcdefghijkl" + kA + "/", 0);
    EXPECT_EQ(layout.printedText(split), std::string(12, ' ') + "KEYabcdefghijkl");

    std::string_view whole = layout.lineContext("KEYabcdefghijk" + kA + "/", 0);
    EXPECT_EQ(layout.printedText(whole), std::string(12, ' ') + "KEYabcdefghijk" + kA);
}

TEST(PrintedText, AKeywordLongerThanTheWidthIsCut) {
    const std::string keyword = "abcdefghijklmnopqrstuvwxyz0123";
    ResultLayout layout = started(optionsWith(30), static_cast<int>(keyword.size()));
    ASSERT_EQ(layout.values().l, 1);
    std::string_view printed = layout.printedText(layout.lineContext(keyword + " tail/", 0));
    EXPECT_EQ(layout.hitLine("f", 1, printed), "      1 | abcdefghijklmnopqr");
}

TEST(Context, SafeAtAndBeyondTheEndsOfLines) {
    ResultLayout layout = started(optionsWith(kNarrow), 3);
    EXPECT_EQ(layout.lineContext("abc/", 4), std::string(9, ' ') + "abc/");
    EXPECT_EQ(layout.lineContext("abc/", 1000), std::string(9, ' ') + "abc/");
    EXPECT_EQ(layout.lineContext("", 0), std::string(13, ' '));
    EXPECT_EQ(layout.windowContext(Window().view(), 5), std::string(13, ' '));
    EXPECT_EQ(layout.windowContext(LineWindow(), 0), std::string(13, ' '));
    EXPECT_EQ(layout.printedText(""), "");

    Window longLines;
    for (std::string& line : longLines.lines) line.assign(8191, 'x');
    longLines.lines[5].replace(8000, 3, "KEY");
    std::string_view context = layout.windowContext(longLines.view(), 8000);
    EXPECT_EQ(context.substr(13, 3), "KEY");
    EXPECT_EQ(context.size(), 13u + 191u);
    context = layout.windowContext(longLines.view(), 0);
    EXPECT_EQ(context.size(), 13u + 8191u);
    EXPECT_EQ(layout.printedText(context).size(), 28u);
}

TEST(Context, ReusesItsBuffer) {
    ResultLayout layout = started(optionsWith(80), 3);
    Window w;
    w.lines[5] = std::string(500, 'x');
    const char* first = layout.windowContext(w.view(), 250).data();
    for (std::size_t hit = 0; hit < 500; hit += 7) {
        EXPECT_EQ(layout.windowContext(w.view(), hit).data(), first);
    }
}

TEST(HitLine, EachSelectorsFormat) {
    const std::vector<std::string> paths = {"/c/a.txt", "/c/longname.txt"};
    EXPECT_EQ(started(optionsWith(80), 1).hitLine("/c/a.txt", 42, "text"), "     42 | text");
    EXPECT_EQ(started(optionsWith(80, false), 1).hitLine("/c/a.txt", 42, "text"), "text");

    SearchOptions o = optionsWith(80);
    o.tagFName = true;
    ResultLayout tagged = started(o, 1, paths);
    EXPECT_EQ(tagged.hitLine("a.txt", 42, "t"), "       a.txt:     42 | t");
    EXPECT_EQ(tagged.hitLine("longname.txt", 12345678, "t"), "longname.txt:12345678 | t");

    o.tagForm = true;
    ResultLayout compilerForm = started(o, 1, paths);
    EXPECT_EQ(compilerForm.values().selector, 20);
    EXPECT_EQ(compilerForm.hitLine("a.txt", 42, "t"), "       a.txt(    42) | t");

    o.noLineNumber = true;  // the compiler form needs line numbers
    ResultLayout bare = started(o, 1, paths);
    EXPECT_EQ(bare.values().selector, 11);
    EXPECT_EQ(bare.hitLine("a.txt", 42, "t"), "       a.txt | t");
    EXPECT_EQ(bare.hitLine("longname.txt", 42, "t"), "longname.txt | t");
}

TEST(OtherLines, SeparatorCountAndTotal) {
    EXPECT_EQ(ResultLayout::separatorLine("/c/A.txt"), "-----[ /c/A.txt ]-----");
    EXPECT_EQ(ResultLayout::countLine("/c/A.txt", 3), "/c/A.txt : 3");
    EXPECT_EQ(ResultLayout::totalLine(0), "Total : 0");
    EXPECT_EQ(ResultLayout::totalLine(1234567), "Total : 1234567");
}

}  // namespace
}  // namespace vellmora::test
