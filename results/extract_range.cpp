#include "results/extract_range.h"

#include <algorithm>
#include <optional>

#include "engine/case_folding.h"
#include "engine/keyword_matcher.h"
#include "engine/regex_binding.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

bool isLeftwardType(int type) { return type == 2 || type == 12 || type == -1 || type == -10; }
bool isRightwardType(int type) { return type == 1 || type == 11 || type == 0 || type == -9; }
bool isSentenceType(int type) { return type == 11 || type == -9 || type == 12 || type == -10; }

/// The copy of a context the tests read: ASCII lower-cased when case is ignored (Rekkc
/// folds the full-width capitals of its own copy).
void caseCopy(const std::string& context, bool ignoreCase, std::string& copy) {
    copy.resize(context.size());
    if (ignoreCase) {
        lowerCaseCopy(copy.data(), context.data(), context.size());
    } else {
        std::copy(context.begin(), context.end(), copy.begin());
    }
}

}  // namespace


void foldFullWidthCapitals(std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t step = ximo::characterLength(s, i);
        if (step == 2 && static_cast<unsigned char>(s[i]) == 0x82) {
            const unsigned char second = static_cast<unsigned char>(s[i + 1]);
            if (second >= 0x60 && second <= 0x79) s[i + 1] = static_cast<char>(second + 0x21);
        }
        i += step;
    }
}

std::vector<std::string> extractionKeywords(Profile& profile, const KeywordSpec& keyword,
                                            bool ignoreCase) {
    std::vector<std::string> words;
    if (keyword.isGroup) {
        words = readGroupWords(profile, keyword.text);
    } else {
        words.push_back(keyword.text);
    }
    std::vector<std::string> kept;
    for (const std::string& stored : words) {
        // A half character would be matched against the first byte of a whole one.
        std::string word = withoutBrokenTail(stored);
        // Rekkc reads the keyword as a C string: it ends at a NUL byte.
        word.resize(std::min(word.size(), word.find('\0')));
        if (word.empty()) continue;
        if (ignoreCase) {
            mbstrlwr(word.data());
            // Rekkc folds the line's full-width capitals only: a keyword typed with them
            // would otherwise never be found while case is ignored.
            foldFullWidthCapitals(word);
        }
        if (std::find(kept.begin(), kept.end(), word) == kept.end())
            kept.push_back(std::move(word));
    }
    return kept;
}

std::string extractionPattern(Profile& profile, const KeywordSpec& keyword) {
    return keyword.isGroup ? readGroupPattern(profile, keyword.text) : keyword.text;
}

RangeKeywordTest::RangeKeywordTest(std::vector<std::string> keywords,
                                   const ExtractionOptions& options, KeywordAnchor anchor)
    : m_keywords(std::move(keywords)),
      m_type(options.rangeType()),
      m_mode(options.boundaryMode()),
      m_ignoreCase(options.ignoreCase),
      m_anchor(anchor) {
    // Rekkc searches the left side reversed character by character: the keywords must be
    // reversed the same way, so that a Japanese keyword is found there too.
    if (isLeftwardType(m_type)) {
        for (std::string& keyword : m_keywords) keyword = ximo::reversedCharacters(keyword);
    }
}

bool RangeKeywordTest::keeps(const std::string& context) {
    if (m_keywords.empty()) return false;
    caseCopy(context, m_ignoreCase, m_copy);
    // A negated test passes for a word that is not there. Keeping a line as soon as one word
    // of a group is missing would keep lines that hold another word of it: NOT keeps the
    // lines where every word passes, the exact complement of the test without NOT.
    const bool negated = m_type <= 0;
    for (const std::string& keyword : m_keywords) {
        const bool passes = Rekkc(m_type, m_ignoreCase ? 1 : 0, m_mode, m_anchor.column,
                                  m_anchor.length, m_copy.c_str(), keyword.c_str()) == 0;
        if (passes != negated) return passes;
    }
    return negated;
}

RangePatternTest::RangePatternTest(RegexBinding& binding, const ExtractionOptions& options,
                                   KeywordAnchor anchor)
    : m_binding(binding),
      m_type(options.rangeType()),
      m_mode(options.boundaryMode()),
      m_ignoreCase(options.ignoreCase),
      m_anchor(anchor) {}

bool RangePatternTest::keeps(const std::string& context) {
    caseCopy(context, m_ignoreCase, m_copy);
    if (m_ignoreCase) foldFullWidthCapitals(m_copy);
    // The engine reads a C string: a NUL byte ends the line for it as for Rekkc.
    m_copy.resize(std::min(m_copy.size(), m_copy.find('\0')));
    const bool positive = m_type > 0;
    bool found = false;
    if (isRightwardType(m_type)) {
        found = matchesAfter(m_copy, isSentenceType(m_type));
    } else if (isLeftwardType(m_type)) {
        found = matchesBefore(m_copy, isSentenceType(m_type));
    } else {
        return false;
    }
    return found == positive;
}

bool RangePatternTest::standsFree(const std::string& copy, std::size_t offset,
                                  std::size_t length) const {
    return m_mode == 0 ||
           wordcheck(m_mode, copy.c_str(), static_cast<int>(offset), static_cast<int>(length)) == 0;
}

bool RangePatternTest::matchesAfter(const std::string& copy, bool withinSentence) {
    // From the keyword's last byte, as Rekkc searches. The engine moves a start that falls
    // on a second byte on to the next character, so no match begins inside one.
    const long long last = static_cast<long long>(m_anchor.column) + m_anchor.length - 1;
    if (m_anchor.column < 0 || m_anchor.length < 0 || last < 0 ||
        last >= static_cast<long long>(copy.size()))
        return false;
    const std::size_t lastByte = static_cast<std::size_t>(last);
    std::size_t limit = copy.size();
    if (withinSentence)
        limit = static_cast<std::size_t>(getSF(0, copy.c_str() + lastByte) - copy.c_str());
    std::size_t from = lastByte;
    while (std::optional<RegexMatch> match = m_binding.match(1, copy, from)) {
        if (match->offset >= limit) return false;
        if (match->length < copy.size() && standsFree(copy, match->offset, match->length))
            return true;
        from = match->offset + ximo::characterLength(copy, match->offset);
    }
    return false;
}

bool RangePatternTest::matchesBefore(const std::string& copy, bool withinSentence) {
    if (m_anchor.column < 0 || static_cast<std::size_t>(m_anchor.column) >= copy.size())
        return false;
    const std::size_t keyword = static_cast<std::size_t>(m_anchor.column);
    std::size_t from = 0;
    if (withinSentence) {
        // The sentence start Rekkc finds: the nearest mark before the keyword, read on the
        // text reversed from the keyword's first byte.
        const std::string reversed = ximo::reversedCharacters(copy);
        const std::size_t start = copy.size() - keyword - 1;
        const std::size_t mark =
            static_cast<std::size_t>(getSF(1, reversed.c_str() + start) - reversed.c_str());
        // The marks are single bytes (" | " reads the same both ways): the byte after the
        // mark in reading order.
        if (mark < reversed.size()) from = copy.size() - mark;
    }
    while (std::optional<RegexMatch> match = m_binding.match(1, copy, from)) {
        if (match->offset >= keyword) return false;
        if (standsFree(copy, match->offset, match->length)) return true;
        from = match->offset + ximo::characterLength(copy, match->offset);
    }
    return false;
}

}  // namespace vellmora
