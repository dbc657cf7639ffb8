#include "jre/jre32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/regex_binding.h"

namespace {

using namespace std::string_literals;

// The program passes the engine its record: the layout is the one the engine reads.
static_assert(sizeof(JRE2) == sizeof(vellmora::JreRecord));
static_assert(offsetof(JRE2, start) == offsetof(vellmora::JreRecord, start));
static_assert(offsetof(JRE2, error) == offsetof(vellmora::JreRecord, error));
static_assert(offsetof(JRE2, length) == offsetof(vellmora::JreRecord, length));
static_assert(offsetof(JRE2, position) == offsetof(vellmora::JreRecord, position));

// Oniguruma's codes for a search that backtracked past its limit (its header clashes with the
// POSIX regex.h that GoogleTest includes).
constexpr int kRetryLimitInMatchOver = -17;
constexpr int kRetryLimitInSearchOver = -18;

const std::string kNichi = "\x93\xfa";          // 日
const std::string kHon = "\x96\x7b";            // 本
const std::string kSo = "\x83\x5c";             // ソ: its second byte is a backslash
const std::string kFullWidthS = "\x82\x93";     // ｓ, whose second byte begins 日
const std::string kSmallRomanOne = "\xfa\x40";  // ⅰ, which begins with 日's second byte

class Jre32Test : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&record, 0, sizeof record);
        record.size = JRE2_RECORD_SIZE;
        ASSERT_NE(Jre2Open(&record), 0);
    }
    void TearDown() override { Jre2Close(&record); }

    /// Position and length of the match from start, or {-1, -1}.
    std::pair<int, int> find(const std::string& pattern, const std::string& text,
                             unsigned start = 0) {
        EXPECT_NE(Jre2Compile(&record, pattern.c_str()), 0) << pattern;
        record.start = start;
        if (Jre2GetMatchInfo(&record, text.c_str()) == 0) return {-1, -1};
        return {static_cast<int>(record.position), static_cast<int>(record.length)};
    }
    std::string message(int code) {
        char buffer[512];
        GetJreMessage(code, 0, buffer, sizeof buffer);
        return buffer;
    }

    JRE2 record;
};

TEST_F(Jre32Test, DoubleByteCharactersAreMatchedWholeNeverByHalves) {
    // ｓⅰ holds 日's two bytes across its characters: a kanji class must not see it there.
    const std::string trap = kFullWidthS + kSmallRomanOne;
    EXPECT_EQ(find("[" + kNichi + kHon + "]", trap), std::make_pair(-1, -1));
    EXPECT_EQ(find("[\x88\x9f-\x98\x72]+", trap + kNichi + kHon), std::make_pair(4, 4));
    EXPECT_EQ(find(kNichi, "a" + trap + kNichi), std::make_pair(5, 2));

    // The second byte of ソ is no backslash, and . takes a whole character.
    EXPECT_EQ(find("\\\\", kSo + "\\"), std::make_pair(2, 1));
    EXPECT_EQ(find("a.b", "a" + kNichi + "b"), std::make_pair(0, 4));
    EXPECT_EQ(find("^..$", kNichi + kHon), std::make_pair(0, 4));
}

TEST_F(Jre32Test, StartOnASecondByteMovesToTheNextCharacter) {
    EXPECT_EQ(find(".", kNichi + kHon, 1), std::make_pair(2, 2));
    // 0x81 0x81 0x81 0x81 is ＝＝: from byte 1 the next character begins at byte 2.
    EXPECT_EQ(find("\x81\x81", "\x81\x81\x81\x81", 1), std::make_pair(2, 2));
    // A lookbehind still sees the text before the start.
    EXPECT_EQ(find("(?<=a)b", "abab", 1), std::make_pair(1, 1));
    EXPECT_EQ(find("b", "ab", 3), std::make_pair(-1, -1));
    EXPECT_EQ(record.error, JRE_OK);
    // A lead byte left without its second byte at the very end is matched by nothing.
    EXPECT_EQ(find(".$", "ab\x93"), std::make_pair(-1, -1));
}

TEST_F(Jre32Test, AMatchWhoseStartIsKeptLaterIsReportedFromThere) {
    // \K drops what came before it from the match: the text reported is what it holds.
    EXPECT_EQ(find("a\\Kb", "xab"), std::make_pair(2, 1));
    EXPECT_EQ(find("(?:" + kNichi + ")\\K" + kHon, kNichi + kHon), std::make_pair(2, 2));
}

TEST_F(Jre32Test, EmptyMatchIsReportedAsTheEngineFindsIt) {
    // The program decides what an empty match means; the engine only reports it.
    EXPECT_EQ(find("x*", "abx"), std::make_pair(0, 0));
    EXPECT_EQ(find("x*", "abx", 2), std::make_pair(2, 1));
    EXPECT_EQ(find("$", "ab"), std::make_pair(2, 0));
}

TEST_F(Jre32Test, BadPatternFailsWithAMessageAndLeavesNothingToMatch) {
    EXPECT_EQ(Jre2Compile(&record, "("), 0);
    EXPECT_LT(record.error, 0);
    EXPECT_NE(message(record.error).find("parenthesis"), std::string::npos)
        << message(record.error);
    EXPECT_EQ(Jre2Compile(&record, "(?<n>a)\\k<m>"), 0);
    EXPECT_FALSE(message(record.error).empty());

    EXPECT_EQ(Jre2GetMatchInfo(&record, "a"), 0);
    EXPECT_EQ(record.error, JRE_ERROR_NO_PATTERN);
    EXPECT_EQ(find("a", "ba"), std::make_pair(1, 1));  // the record is still usable
}

TEST_F(Jre32Test, RunawayBacktrackingGivesUpQuicklyAsNoMatch) {
    const std::string line = std::string(8000, 'a') + "!";
    for (const char* pattern : {"(a+)+b", "^(a|a?)+$", "(\\w+\\s?)+$"}) {
        auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(find(pattern, line), std::make_pair(-1, -1)) << pattern;
        auto took = std::chrono::steady_clock::now() - begin;
        EXPECT_LT(took, std::chrono::seconds(3)) << pattern;
        EXPECT_TRUE(record.error == kRetryLimitInMatchOver ||
                    record.error == kRetryLimitInSearchOver)
            << pattern << ": " << record.error;
        EXPECT_NE(message(record.error).find("retry"), std::string::npos);
    }
    // The limit is per call: the next line is searched afresh.
    EXPECT_EQ(find("(a+)+b", "aaab"), std::make_pair(0, 4));
    EXPECT_EQ(record.error, JRE_OK);
}

TEST_F(Jre32Test, MisusedRecordsGiveErrorsNeverCrashes) {
    JRE2 other;
    std::memset(&other, 0, sizeof other);
    other.size = JRE2_RECORD_SIZE;
    EXPECT_EQ(Jre2Compile(&other, "a"), 0);  // never opened
    EXPECT_EQ(other.error, JRE_ERROR_NOT_OPENED);

    other.size = 56;
    EXPECT_EQ(Jre2Open(&other), 0);
    EXPECT_EQ(other.error, JRE_ERROR_BAD_RECORD);

    EXPECT_EQ(Jre2Open(nullptr), 0);
    EXPECT_EQ(Jre2GetMatchInfo(nullptr, "a"), 0);
    Jre2Close(nullptr);

    EXPECT_EQ(Jre2Compile(&record, nullptr), 0);
    EXPECT_EQ(record.error, JRE_ERROR_NULL_TEXT);
    ASSERT_NE(Jre2Compile(&record, "a"), 0);
    EXPECT_EQ(Jre2GetMatchInfo(&record, nullptr), 0);
    EXPECT_EQ(record.error, JRE_ERROR_NULL_TEXT);

    // A copy of an open record outlives the close of the original as a closed record.
    JRE2 copy = record;
    Jre2Close(&record);
    Jre2Close(&record);
    EXPECT_EQ(Jre2GetMatchInfo(&copy, "a"), 0);
    EXPECT_EQ(copy.error, JRE_ERROR_NOT_OPENED);

    ASSERT_NE(Jre2Open(&record), 0);  // opened again for TearDown
}

TEST(Jre32, VersionAndMessages) {
    // Oniguruma 6.9.8 is 0x698: one hexadecimal digit each.
    const unsigned version = JreGetVersion();
    EXPECT_GE(version >> 8, 6u);
    EXPECT_LE(version, 0xFFFu);
    char buffer[8];
    EXPECT_EQ(GetJreMessage(JRE_ERROR_NOT_OPENED, 0, buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "the rec");
    EXPECT_EQ(GetJreMessage(JRE_OK, 0, nullptr, 8), 0);
    EXPECT_EQ(GetJreMessage(12345, 0, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
}

/// Every non-empty hit of record's pattern in line, each search going on at the end of the
/// last hit: with one non-empty search each, or by skipping empty matches one byte later.
std::vector<std::pair<unsigned, unsigned>> hits(JRE2& record, const std::string& line,
                                                bool nonEmptySearch) {
    std::vector<std::pair<unsigned, unsigned>> found;
    for (unsigned from = 0; from <= line.size();) {
        record.start = from;
        const int matched = nonEmptySearch ? Jre2GetNonEmptyMatchInfo(&record, line.c_str())
                                           : Jre2GetMatchInfo(&record, line.c_str());
        if (matched == 0) break;
        if (record.length == 0) {
            from = record.position + 1;
            continue;
        }
        found.emplace_back(record.position, record.length);
        from = record.position + record.length;
    }
    return found;
}

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(Jre32Test, TheNonEmptySearchFindsTheHitsOfSkippingEmptyMatches) {
    // Real English and Shift-JIS text, and random bytes with many lead bytes and digits.
    std::vector<std::string> lines = linesOf(VELLMORA_TEST_DATA "/reader/devil-part.txt");
    const std::vector<std::string> japanese = linesOf(VELLMORA_TEST_DATA "/reader/reference-sjis.txt");
    lines.insert(lines.end(), japanese.begin(), japanese.end());
    std::mt19937 random(20261209);
    const std::string alphabet = "ab x1\x82\x93\x93\xfa\x96\x7b";
    for (int i = 0; i < 300; ++i) {
        std::string line(random() % 60, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        lines.push_back(line);
    }
    lines.push_back("  \t ");
    ASSERT_GT(lines.size(), 1500u);
    const std::vector<std::string> patterns = {
        "the", "(?i)THE", "colou?r|devil", "[0-9]*", "x*", "(a|b)+", "\\w+", "[^ ]+ [^ ]+",
        "^\\s*$", "(foo)?b", "[a-z]*?x", "\\bin\\b", kNichi + kHon, "[" + kNichi + kHon + "]+",
        ".$", "(?i)[A-Z]{2,}",
    };
    for (const std::string& pattern : patterns) {
        ASSERT_NE(Jre2Compile(&record, pattern.c_str()), 0) << pattern;
        std::size_t total = 0;
        for (const std::string& line : lines) {
            const auto expected = hits(record, line, false);
            ASSERT_EQ(hits(record, line, true), expected) << pattern << " in " << line;
            total += expected.size();
        }
        EXPECT_GT(total, 0u) << pattern;
    }
}

TEST_F(Jre32Test, AnExpressionThatMatchesEmptyEverywhereIsSearchedOnceUnderTheLimit) {
    // Skipping its empty matches one byte at a time would scan the rest of the line again
    // from every byte; the one search gives up at its limit instead.
    ASSERT_NE(Jre2Compile(&record, "(?:a|)+?x|"), 0);
    const std::string line(8190, 'a');
    record.start = 0;
    EXPECT_EQ(Jre2GetNonEmptyMatchInfo(&record, line.c_str()), 0);
    EXPECT_EQ(record.error, kRetryLimitInSearchOver);
    // An empty first choice no longer hides a non-empty one at the same place.
    ASSERT_NE(Jre2Compile(&record, "|a"), 0);
    record.start = 0;
    ASSERT_NE(Jre2GetNonEmptyMatchInfo(&record, "ba"), 0);
    EXPECT_EQ(std::make_pair(record.position, record.length), std::make_pair(1u, 1u));
}

}  // namespace
