#include "results/extract_position.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/regex_binding.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

/// The first bytes of context, at most limit of them, cut between two characters.
std::string_view wholeCharactersUpTo(std::string_view context, std::size_t limit) {
    std::size_t i = 0;
    while (i < context.size()) {
        const std::size_t step = ximo::characterLength(context, i);
        if (i + step > limit) break;
        i += step;
    }
    return context.substr(0, i);
}

WordPositions withSentenceRule(WordPositions positions, const ExtractionOptions& options) {
    positions.bySentence = options.bummatsu;
    return positions;
}

}  // namespace

PositionKeywordTest::PositionKeywordTest(Profile& profile, const KeywordSpec& keyword,
                                         const ExtractionOptions& options,
                                         const WordPositions& positions, KeywordAnchor anchor)
    : m_notSearch(options.notSearch), m_anchor(anchor) {
    m_condition.prepare(options.asKeyword2Options(), profile, keyword,
                        withSentenceRule(positions, options));
}

bool PositionKeywordTest::keeps(const std::string& context) {
    // The search's test lets every hit pass without a keyword 2; here no keyword finds
    // nothing.
    if (m_condition.words().empty()) return m_notSearch;
    const std::size_t length = static_cast<std::size_t>(std::max(m_anchor.length, 0));
    return m_condition.accepts(context, m_anchor.column, length, 0);
}

PositionPatternTest::PositionPatternTest(RegexBinding& binding, const ExtractionOptions& options,
                                         const WordPositions& positions, KeywordAnchor anchor)
    : m_binding(binding),
      m_positions(withSentenceRule(positions, options)),
      m_mode(options.boundaryMode()),
      m_ignoreCase(options.ignoreCase),
      m_notSearch(options.notSearch),
      m_anchor(anchor) {}

bool PositionPatternTest::keeps(const std::string& context) {
    // The same part of the line the word test looks at.
    m_context.assign(wholeCharactersUpTo(context, PositionedCondition::kContextLimit));
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n) {
        if (!m_positions.at(n)) continue;
        gettoken(n, m_positions.bySentence ? 1 : 0, m_anchor.column, m_anchor.length,
                 m_context.c_str(), m_word.data());
        if (m_ignoreCase) mbstrlwr(m_word.data());
        if (wordMatches(m_word.data())) return !m_notSearch;
    }
    return m_notSearch;
}

bool PositionPatternTest::wordMatches(std::string_view word) {
    std::size_t from = 0;
    while (std::optional<RegexMatch> match = m_binding.match(1, word, from)) {
        if (m_mode == 0 || wordcheck(m_mode, word.data(), static_cast<int>(match->offset),
                                     static_cast<int>(match->length)) == 0)
            return true;
        from = match->offset + ximo::characterLength(word, match->offset);
    }
    return false;
}

}  // namespace vellmora
