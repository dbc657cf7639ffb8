#pragma once

#include <array>
#include <string>

#include "engine/positioned_search.h"
#include "results/extract_filter.h"
#include "results/extract_options.h"

namespace vellmora {

class Profile;
class RegexBinding;
struct KeywordSpec;

/// The word test of extraction by position: the positioned search's test (the words at the
/// ticked positions around the line's keyword, taken with gettoken within the sentence when
/// "Recognize Sentence Final" is on; a keyword found in one of them under the boundary mode
/// keeps the line, or with NOT drops it). Without any keyword nothing is found, so AND
/// keeps no line and NOT keeps every line.
///
/// gettoken keeps process-wide scanner state: no other loop may use strword meanwhile.
class PositionKeywordTest : public ExtractionLineTest {
public:
    /// Reads a group's words from the settings file; lower-cases them with "Ignore Case".
    PositionKeywordTest(Profile& profile, const KeywordSpec& keyword,
                        const ExtractionOptions& options, const WordPositions& positions,
                        KeywordAnchor anchor);
    bool keeps(const std::string& context) override;

    /// The keywords as tested.
    const std::vector<std::string>& keywords() const { return m_condition.words(); }

private:
    PositionedCondition m_condition;
    bool m_notSearch;
    KeywordAnchor m_anchor;
};

/// The same test with the pattern compiled into record 1 of binding in place of the
/// keywords: a word matches when the pattern matches in it (lower-cased with "Ignore Case")
/// and, under a boundary mode, one of its matches there stands free. The binding must
/// outlive the test.
class PositionPatternTest : public ExtractionLineTest {
public:
    PositionPatternTest(RegexBinding& binding, const ExtractionOptions& options,
                        const WordPositions& positions, KeywordAnchor anchor);
    bool keeps(const std::string& context) override;

private:
    bool wordMatches(std::string_view word);

    RegexBinding& m_binding;
    WordPositions m_positions;
    int m_mode;
    bool m_ignoreCase;
    bool m_notSearch;
    KeywordAnchor m_anchor;
    std::string m_context;            // the cut copy handed to gettoken, reused
    std::array<char, 1000> m_word{};  // gettoken's output: up to its 999-byte copy
};

}  // namespace vellmora
