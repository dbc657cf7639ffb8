#include "containers/string_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "containers/archive.h"
#include "containers/ex_string_list.h"
#include "platform/recording_user_interface.h"
#include "tests/containers/temp_file.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

using testing::TempFile;
using Order = CStringTree::Order;
using Form = CStringTree::Form;
using Pairs = std::vector<std::pair<std::string, CStringTree::Count>>;

Pairs contentOf(const CStringTree& tree) {
    Pairs out;
    tree.forEach([&out](const CStringTree::Entry& e) { out.emplace_back(e.text, e.count); });
    return out;
}

std::vector<std::string> linesOf(const CStringTree& tree, Form form) {
    CExStringList list;
    RecordingUserInterface ui;
    tree.writeSortedLines(list, form, ui);
    EXPECT_EQ(ui.pumps(), list.count());
    return std::vector<std::string>(list.begin(), list.end());
}

std::string storedBytes(const CStringTree& tree) {
    TempFile file;
    ArchiveWriter writer(file.file());
    EXPECT_TRUE(tree.store(writer));
    EXPECT_TRUE(writer.flush());
    return file.bytes();
}

bool loadBytes(CStringTree& tree, const std::string& bytes, Order order = Order::NoCase) {
    TempFile file(bytes);
    ArchiveReader reader(file.file());
    const bool loaded = tree.load(reader, order);
    EXPECT_EQ(loaded, reader.ok());
    return loaded;
}

// Builds stored trees byte by byte.
struct Bytes {
    std::string out;
    Bytes& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
        return *this;
    }
    Bytes& header(std::uint32_t distinct, std::uint32_t total, std::uint32_t width = 15) {
        return u32(distinct).u32(total).u32(width);
    }
    Bytes& node(const std::string& text, std::uint32_t count) {
        out += static_cast<char>(text.size() + 1);
        out += text;
        out += '\0';
        return u32(count);
    }
    Bytes& flag(int value) {
        out += static_cast<char>(value);
        return *this;
    }
};

TEST(CStringTree, CaseInsensitiveAddKeepsTheFirstSpelling) {
    CStringTree tree;
    for (const char* word : {"The", "the", "THE"}) tree.addNoCase(word);
    EXPECT_EQ(contentOf(tree), (Pairs{{"The", 3}}));
    EXPECT_EQ(tree.distinct(), 1u);
    EXPECT_EQ(tree.total(), 3u);
    EXPECT_EQ(tree.countOf("tHE"), 3u);

    CStringTree exact;
    for (const char* word : {"the", "The", "THE"}) exact.addExact(word);
    EXPECT_EQ(contentOf(exact), (Pairs{{"THE", 1}, {"The", 1}, {"the", 1}}));
    // A case-insensitive count in a byte-wise tree adds up every spelling.
    EXPECT_EQ(exact.countOf("the"), 3u);

    tree.addNoCase("", 2);
    EXPECT_EQ(tree.countOf("absent"), 0u);
    EXPECT_EQ(tree.countOf(""), 0u);
    EXPECT_EQ(tree.countOf(static_cast<const char*>(nullptr)), 0u);
    tree.addNoCase(static_cast<const char*>(nullptr));
    EXPECT_EQ(tree.total(), 5u);

    tree.clear();
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(tree.total(), 0u);
    EXPECT_EQ(tree.countOf("the"), 0u);
}

TEST(CStringTree, OneTreeKeepsTheOrderOfItsFirstString) {
    CStringTree tree;
    tree.addExact("B");
    tree.addNoCase("b");
    EXPECT_EQ(tree.order(), Order::Exact);
    EXPECT_EQ(contentOf(tree), (Pairs{{"B", 1}, {"b", 1}}));

    tree.clear();
    tree.addNoCase("b");
    tree.addExact("B");
    EXPECT_EQ(tree.order(), Order::NoCase);
    EXPECT_EQ(contentOf(tree), (Pairs{{"b", 2}}));
}

TEST(CStringTree, WritesSortedLinesInEveryForm) {
    CStringTree tree;
    tree.addNoCase("b", 2);
    tree.addNoCase("a");
    EXPECT_EQ(linesOf(tree, Form::Counts),
              (std::vector<std::string>{"              1 : a\r\n", "              2 : b\r\n"}));
    EXPECT_EQ(linesOf(tree, Form::CountsWithShare),
              (std::vector<std::string>{"              1(33.333%) : a\r\n",
                                        "              2(66.667%) : b\r\n"}));

    // Words added reversed sort by their endings and print as written.
    CStringTree endings;
    endings.setWidth(3);
    for (const char* word : {"working", "walking", "walked"}) {
        std::string reversed = word;
        mbstrrev(reversed.data());
        endings.addNoCase(reversed);
    }
    EXPECT_EQ(
        linesOf(endings, Form::CountsReversed),
        (std::vector<std::string>{"  1 : walked\r\n", "  1 : walking\r\n", "  1 : working\r\n"}));
    EXPECT_EQ(linesOf(endings, Form::CountsWithShareReversed)[0], "  1(33.333%) : walked\r\n");

    // Neither a long string nor a wide column is cut.
    CStringTree wide;
    wide.setWidth(40);
    wide.addExact(std::string(500, 'w'));
    EXPECT_EQ(linesOf(wide, Form::CountsReversed)[0],
              std::string(39, ' ') + "1 : " + std::string(500, 'w') + "\r\n");

    // Zero amounts make a zero total: the share is 0, never NaN.
    CStringTree zero;
    zero.addNoCase("z", 0);
    EXPECT_EQ(linesOf(zero, Form::CountsWithShare)[0], "              0( 0.000%) : z\r\n");

    CExStringList strings;
    tree.collectStrings(strings);
    EXPECT_EQ(std::vector<std::string>(strings.begin(), strings.end()),
              (std::vector<std::string>{"a", "b"}));
    std::map<std::string, std::string> counts;
    tree.collectCounts(counts);
    EXPECT_EQ(counts, (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}}));
}

// Texts that share long prefixes, differ in case and hold double-byte and symbol bytes, so
// that both the prefix shortcut and the full comparison decide orders.
std::string randomText(std::mt19937& random) {
    static const char kBytes[] = "aAbB_[`{\x82\xa0\x81Z";
    std::string text(random() % 3 == 0 ? "internationalisation" : "");
    const std::size_t length = random() % 12;
    for (std::size_t i = 0; i < length; ++i) text += kBytes[random() % (sizeof kBytes - 1)];
    return text;
}

struct CompareWith {
    Order order;
    bool operator()(const std::string& a, const std::string& b) const {
        return (order == Order::NoCase ? mbstricmp(a.c_str(), b.c_str())
                                       : std::strcmp(a.c_str(), b.c_str())) < 0;
    }
};

TEST(CStringTree, MatchesAnOrderedMapAndSurvivesStoreAndLoad) {
    for (Order order : {Order::NoCase, Order::Exact}) {
        SCOPED_TRACE(order == Order::NoCase ? "no case" : "exact");
        std::mt19937 random(7);
        std::map<std::string, CStringTree::Count, CompareWith> expected(CompareWith{order});
        CStringTree tree;
        for (int i = 0; i < 20000; ++i) {
            const std::string text = randomText(random);
            const unsigned amount = random() % 3;
            order == Order::NoCase ? tree.addNoCase(text, amount) : tree.addExact(text, amount);
            expected.try_emplace(text, 0).first->second += amount;
        }
        const Pairs content = contentOf(tree);
        EXPECT_EQ(content, Pairs(expected.begin(), expected.end()));
        if (order == Order::NoCase) {
            for (const auto& [text, count] : expected) {
                if (text.empty()) continue;
                ASSERT_EQ(tree.countOf(text), count) << text;
            }
        }

        tree.setWidth(7);
        CStringTree loaded;
        ASSERT_TRUE(loadBytes(loaded, storedBytes(tree), order));
        EXPECT_EQ(contentOf(loaded), content);
        EXPECT_EQ(loaded.total(), tree.total());
        EXPECT_EQ(loaded.width(), 7);
        EXPECT_EQ(linesOf(loaded, Form::CountsWithShare), linesOf(tree, Form::CountsWithShare));
    }
}

TEST(CStringTree, StoresABalancedRecordTree) {
    CStringTree tree;
    tree.addNoCase("c", 3);
    tree.addNoCase("a");
    tree.addNoCase("b", 2);
    const std::string expected = Bytes()
                                     .header(3, 6)
                                     .node("b", 2)
                                     .flag(1)
                                     .node("a", 1)
                                     .flag(0)
                                     .flag(0)
                                     .flag(1)
                                     .node("c", 3)
                                     .flag(0)
                                     .flag(0)
                                     .out;
    EXPECT_EQ(storedBytes(tree), expected);

    // An empty tree is its header alone.
    CStringTree empty;
    empty.setWidth(9);
    EXPECT_EQ(storedBytes(empty), Bytes().header(0, 0, 9).out);
    ASSERT_TRUE(loadBytes(tree, Bytes().header(0, 0, 9).out));
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(tree.width(), 9);
}

TEST(CStringTree, LongStringsAreCutAtACharacterBoundaryAndMerged) {
    const std::string base(253, 'a');
    CStringTree tree;
    tree.addNoCase(base + "XYZ", 1);           // cut to base + "X"
    tree.addNoCase(base + "Xother", 2);        // the same after the cut
    tree.addNoCase(base + "\x82\xa0q", 4);     // a double-byte character at the cut: base
    tree.addNoCase(std::string(254, 'b'), 8);  // fits as it is
    ASSERT_EQ(tree.distinct(), 4u);

    CStringTree loaded;
    ASSERT_TRUE(loadBytes(loaded, storedBytes(tree)));
    // The cut even reorders: base + "X" ranked below base + 0x82 before the cut.
    EXPECT_EQ(contentOf(loaded), (Pairs{{base, 4}, {base + "X", 3}, {std::string(254, 'b'), 8}}));
    EXPECT_EQ(loaded.total(), 15u);
}

TEST(CStringTree, RefusesDamagedFilesAndStaysEmpty) {
    const std::string valid =
        Bytes().header(2, 3).node("a", 1).flag(0).flag(1).node("b", 2).flag(0).flag(0).out;
    CStringTree tree;
    ASSERT_TRUE(loadBytes(tree, valid));
    for (std::size_t cut = 0; cut < valid.size(); ++cut) {
        EXPECT_FALSE(loadBytes(tree, valid.substr(0, cut))) << cut;
        EXPECT_TRUE(tree.isEmpty());
    }

    const std::pair<const char*, std::string> damaged[] = {
        {"more nodes than distinct",
         Bytes().header(1, 3).node("a", 1).flag(0).flag(1).node("b", 2).flag(0).flag(0).out},
        {"fewer nodes than distinct", Bytes().header(3, 1).node("a", 1).flag(0).flag(0).out},
        {"out of order",
         Bytes().header(2, 3).node("a", 1).flag(1).node("b", 2).flag(0).flag(0).flag(0).out},
        {"equal without case",
         Bytes().header(2, 3).node("a", 1).flag(0).flag(1).node("A", 2).flag(0).flag(0).out},
        {"flag byte 2", Bytes().header(1, 1).node("a", 1).flag(2).flag(0).out},
        {"length byte 0", Bytes().header(1, 1).flag(0).u32(1).flag(0).flag(0).out},
        {"no terminator", Bytes().header(1, 1).flag(1).flag('a').u32(1).flag(0).flag(0).out},
        {"zero inside", Bytes().header(1, 1).node(std::string("a\0b", 3), 1).flag(0).flag(0).out},
        {"wrong total", Bytes().header(1, 2).node("a", 1).flag(0).flag(0).out},
        {"huge width", Bytes().header(1, 1, 1000000).node("a", 1).flag(0).flag(0).out},
        {"negative width", Bytes().header(1, 1, 0xFFFFFFFF).node("a", 1).flag(0).flag(0).out},
    };
    for (const auto& [what, bytes] : damaged) {
        ASSERT_TRUE(loadBytes(tree, valid));
        EXPECT_FALSE(loadBytes(tree, bytes)) << what;
        EXPECT_TRUE(tree.isEmpty()) << what;
    }
    // A byte-wise tree may hold both spellings, in byte order.
    EXPECT_FALSE(loadBytes(tree, damaged[3].second, Order::Exact));
    EXPECT_TRUE(loadBytes(
        tree, Bytes().header(2, 3).node("A", 2).flag(0).flag(1).node("a", 1).flag(0).flag(0).out,
        Order::Exact));
}

TEST(CStringTree, DeepNestingLoadsWithoutRecursion) {
    // A million nodes, each the left child of the one before: a valid, maximally deep tree.
    constexpr int kDepth = 1000000;
    Bytes chain;
    chain.header(kDepth, kDepth);
    char text[8];
    for (int i = kDepth - 1; i >= 0; --i) {
        std::snprintf(text, sizeof text, "%07d", i);
        chain.node(text, 1).flag(i > 0 ? 1 : 0);
    }
    chain.out.append(kDepth, '\0');  // every right flag
    CStringTree tree;
    ASSERT_TRUE(loadBytes(tree, chain.out));
    EXPECT_EQ(tree.distinct(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(tree.countOf("0000000"), 1u);
    EXPECT_EQ(tree.countOf("0999999"), 1u);

    // The same chain cut off before its right flags fails cleanly.
    EXPECT_FALSE(loadBytes(tree, chain.out.substr(0, chain.out.size() - kDepth / 2)));
    EXPECT_TRUE(tree.isEmpty());
}

}  // namespace
}  // namespace vellmora
