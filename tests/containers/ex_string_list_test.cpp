#include "containers/ex_string_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "containers/archive.h"
#include "platform/recording_user_interface.h"
#include "tests/containers/temp_file.h"

namespace vellmora {
namespace {

using testing::TempFile;
using Strings = std::vector<std::string>;

Strings forwards(const CExStringList& list) { return Strings(list.begin(), list.end()); }

Strings backwards(const CExStringList& list) {
    Strings out;
    for (auto pos = list.tailPosition(); pos != nullptr; pos = CExStringList::prev(pos))
        out.push_back(CExStringList::at(pos));
    return out;
}

// Walking both ways checks every next and previous link.
void expectContent(const CExStringList& list, const Strings& expected) {
    EXPECT_EQ(forwards(list), expected);
    EXPECT_EQ(backwards(list), Strings(expected.rbegin(), expected.rend()));
    EXPECT_EQ(list.count(), static_cast<int>(expected.size()));
}

TEST(CExStringList, InsertionsAndRemovalsKeepBothLinkDirections) {
    CExStringList list;
    auto b = list.addTail("b");
    list.addHead("a");
    auto d = list.addTail(std::string("d"));
    list.insertBefore(d, "c");
    list.insertAfter(d, "e");
    list.insertBefore(nullptr, "0");
    list.insertAfter(nullptr, "f");
    expectContent(list, {"0", "a", "b", "c", "d", "e", "f"});

    list.removeAt(list.headPosition());
    EXPECT_EQ(CExStringList::prev(list.headPosition()), nullptr);
    list.removeAt(b);
    EXPECT_EQ(list.removeTail(), "f");
    EXPECT_EQ(list.removeHead(), "a");
    expectContent(list, {"c", "d", "e"});

    EXPECT_EQ(list.findIndex(1), d);
    EXPECT_EQ(list.findIndex(3), nullptr);
    EXPECT_EQ(list.findIndex(-1), nullptr);

    list.removeAt(list.headPosition());
    list.removeAt(list.headPosition());
    list.removeAt(list.headPosition());
    EXPECT_EQ(list.headPosition(), nullptr);
    EXPECT_EQ(list.tailPosition(), nullptr);
    EXPECT_EQ(list.removeHead(), "");
    expectContent(list, {});
}

TEST(CExStringList, FindAndWholeListCopies) {
    CExStringList list;
    list.addTail("x");
    list.addTail("y");
    auto second = list.addTail("x");
    EXPECT_EQ(list.find("x"), list.headPosition());
    EXPECT_EQ(list.find("x", list.headPosition()), second);
    EXPECT_EQ(list.find("x", second), nullptr);
    EXPECT_EQ(list.find("z"), nullptr);

    list.addTail(list);  // appending itself copies it once
    CExStringList other;
    other.addTail("1");
    other.addTail("2");
    list.addHead(other);
    expectContent(list, {"1", "2", "x", "y", "x", "x", "y", "x"});

    CExStringList moved(std::move(list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.blockCount(), 0);
    EXPECT_EQ(moved.count(), 8);
}

TEST(CExStringList, NodesComeInBlocksAndAreReused) {
    CExStringList list;
    for (int i = 0; i < 11; ++i) list.addTail(std::to_string(i));
    EXPECT_EQ(list.blockCount(), 2);

    while (list.count() > 1) list.removeAt(list.headPosition());
    EXPECT_EQ(list.blockCount(), 2);
    for (int i = 0; i < 10; ++i) list.addTail("again");
    EXPECT_EQ(list.blockCount(), 2);

    list.removeAll();
    EXPECT_EQ(list.blockCount(), 0);
    list.removeAll();
    expectContent(list, {});
    list.addTail("fresh");
    EXPECT_EQ(list.blockCount(), 1);
}

TEST(CExStringList, LongestLengthCacheNeverShrinksBeforeRemoveAll) {
    CExStringList list;
    EXPECT_EQ(list.cachedLongestLength(), 0);
    list.removeAll();
    list.addTail("abc");
    auto longest = list.addTail("abcdefgh");
    EXPECT_EQ(list.cachedLongestLength(), 8);
    EXPECT_EQ(list.totalLength(), 11);

    list.removeAt(longest);
    EXPECT_EQ(list.longestLength(), 3);
    EXPECT_EQ(list.cachedLongestLength(), 8);

    // A known cache follows longer strings added later instead of going stale.
    list.addTail(std::string(20, 'z'));
    EXPECT_EQ(list.cachedLongestLength(), 20);
    list.setAt(list.headPosition(), std::string(30, 'q'));
    EXPECT_EQ(list.cachedLongestLength(), 30);

    list.removeAll();
    list.addTail("ab");
    EXPECT_EQ(list.cachedLongestLength(), 2);
}

TEST(CExStringList, StoredListLoadsBackAndAppends) {
    CExStringList list;
    const Strings content = {"", std::string("nul\0inside", 10), std::string(255, '\x82'),
                             "\x93\xfa\x96\x7b\r\n"};
    for (const auto& text : content) list.addTail(text);

    RecordingUserInterface ui;
    TempFile file;
    ArchiveWriter writer(file.file());
    ASSERT_TRUE(list.store(writer, ui));
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(ui.pumps(), 4);

    CExStringList loaded;
    loaded.addTail("kept");
    std::rewind(file.file());
    ArchiveReader reader(file.file());
    ASSERT_TRUE(loaded.load(reader, ui));
    EXPECT_EQ(ui.pumps(), 8);
    Strings expected = {"kept"};
    expected.insert(expected.end(), content.begin(), content.end());
    expectContent(loaded, expected);

    // Cut inside the third string: the first two stay.
    const std::string bytes = file.bytes();
    TempFile truncated(bytes.substr(0, 4 + 1 + 11 + 3 + 100));
    ArchiveReader shortReader(truncated.file());
    CExStringList partial;
    EXPECT_FALSE(partial.load(shortReader, ui));
    expectContent(partial, {content[0], content[1]});
}

TEST(CExStringList, DigitSortOrdersRightAlignedCountsStably) {
    RecordingUserInterface ui;
    CExStringList list;
    list.addTail("        12 : a");
    list.addTail("         3 : b");
    list.addTail("        12 : c");
    list.digitSort(10, true, ui);
    expectContent(list, {"         3 : b", "        12 : a", "        12 : c"});
    list.digitSort(10, false, ui);
    // Descending is ascending reversed, so equal counts also come out reversed.
    expectContent(list, {"        12 : c", "        12 : a", "         3 : b"});
}

TEST(CExStringList, DigitSortStopsAtTheFirstColumnWithoutDigits) {
    RecordingUserInterface ui;
    CExStringList list;
    list.addTail("9  7");
    list.addTail("  10");
    list.addTail(" x 5");
    list.addTail("5");  // shorter than the width: its missing bytes rank as non-digits
    list.digitSort(4, true, ui);
    // Column 1 holds no digit, so column 0 (the 9) is never looked at.
    expectContent(list, {"5", " x 5", "9  7", "  10"});
    EXPECT_EQ(ui.pumps(), 12);

    CExStringList words;
    words.addTail("b");
    words.addTail("a");
    RecordingUserInterface wordsUi;
    words.digitSort(15, true, wordsUi);
    expectContent(words, {"b", "a"});
    EXPECT_EQ(wordsUi.pumps(), 2);
}

}  // namespace
}  // namespace vellmora
