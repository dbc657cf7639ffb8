// The literals named for an expression must be ones every match holds: a wrong one loses hits.
// Each case below says which literals a pattern yields, or that none may be named.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/pattern_literals.h"

namespace vellmora {
namespace {

using Literals = std::vector<std::string>;

struct Case {
    const char* pattern;
    Literals expected;
    bool ignoreCase = false;
};

void expectLiterals(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(requiredLiterals(c.pattern, c.ignoreCase, " /"), c.expected)
            << "pattern \"" << c.pattern << "\"" << (c.ignoreCase ? " ignoring case" : "");
    }
}

TEST(PatternLiteralsTest, RepeatsOptionalPartsAndGroupsKeepOnlyWhatEveryMatchHolds) {
    expectLiterals({
        {"Constantin[a-z]+", {"Constantin"}},
        {"abc*de", {"ab"}},          // c may be absent: "ab" and "de" stand apart
        {"colou?r", {"colo"}},
        {"ab+?c", {"ab"}},            // lazy, still at least one b
        {"ab??cd", {"cd"}},
        {"a{0,3}bcd", {"bcd"}},
        {"xa{,2}yz", {"yz"}},
        {"ab{2}cd", {"ab"}},
        {"x(abcd)+y", {"abcd"}},
        {"xy(abcd)?z", {"xy"}},
        {"(?:ab){1,}", {"ab"}},
        {"q(?:ab|cd)ef", {"ef"}},     // a group with choices names nothing
        {"\\d+abc\\b", {"abc"}},
        {"^wh[aeiou]t.s$", {"wh"}},
        {"a\\.b\\*c", {"a.b*c"}},
        {"\\<abc", {"abc"}},          // an escape that may mean more than its sign
        {"and/or", {"and"}},          // the marker and the blank are never literal
        {"in the", {"the"}},
    });
}

TEST(PatternLiteralsTest, TopLevelChoicesEachNeedALiteral) {
    expectLiterals({
        {"Lord|God", {"Lord", "God"}},
        {"cat|d.g", {"cat", "d"}},
        {"cat|.og", {"cat", "og"}},
        {"a|", {}},
        {"cat|[a-z]+", {}},
        {"a1|a2|a3|a4|a5|a6|a7|a8|a9", {}},
    });
}

TEST(PatternLiteralsTest, DoubleByteCharactersStayWholeAndCaseFoldingDropsThem) {
    // Second bytes that look like "\", "|", "]" and "(" belong to their characters.
    expectLiterals({
        {"\x83\x5C" "ab", {"\x83\x5C" "ab"}},
        {"\x83\x7C" "x", {"\x83\x7C" "x"}},
        {"[\x83\x5D]abc", {"abc"}},
        {"\x83\x70\x83\x62\x83\x50", {"\x83\x70\x83\x62\x83\x50"}},
        {"\xB1\xB2" "c", {"\xB1\xB2" "c"}},  // half-width kana
        {"\x83\x70\x83\x62\x83\x50", {}, true},
        {"Debian\x82\xCC", {"Debian"}, true},
        {"\x83", {}},
        {"\x83\x7F" "a", {}},
    });
}

TEST(PatternLiteralsTest, WhatIsNotReadNamesNothing) {
    expectLiterals({
        {"(?i)abc", {}},
        {"(?=abc)abc", {}},
        {"(?<n>ab)cd", {}},
        {"\\x41bc", {}},
        {"\\p{Alpha}bc", {}},
        {"(ab)\\1cd", {}},
        {"ab{,", {}},
        {"ab{x}", {}},
        {"[]abc]", {}},
        {"abc)", {}},
        {"(abc", {}},
        {"[abc", {}},
        {"abc\\", {}},
        {"*abc", {}},
        {"ab\tcd", {}},
        {"", {}},
    });
}

}  // namespace
}  // namespace vellmora
