#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "results/extract_filter.h"
#include "results/extract_options.h"

namespace vellmora {

class Profile;
class RegexBinding;
struct KeywordSpec;

/// s with every full-width capital (0x8260-0x8279) turned into its small letter, as Rekkc
/// folds its copy of a line.
void foldFullWidthCapitals(std::string& s);

/// The second keywords of an extraction: the word, or the words of the named group, each
/// without a final half character, empty words and repeats left out. With ignoreCase each is
/// lower-cased (ASCII) and its full-width capitals are folded, as the line copy is.
std::vector<std::string> extractionKeywords(Profile& profile, const KeywordSpec& keyword,
                                            bool ignoreCase);

/// The pattern of a regular-expression extraction: the keyword, or the words of the named
/// group as alternatives.
std::string extractionPattern(Profile& profile, const KeywordSpec& keyword);

/// The range test with words: a line stays when one of the keywords passes Rekkc on the
/// side and within the limits the options choose; with NOT when every keyword passes the
/// negated test (none of them stands there). Without keywords no line stays.
class RangeKeywordTest : public ExtractionLineTest {
public:
    /// keywords as extractionKeywords() gives them; they are reversed here for a test to the
    /// left of the keyword.
    RangeKeywordTest(std::vector<std::string> keywords, const ExtractionOptions& options,
                     KeywordAnchor anchor);
    bool keeps(const std::string& context) override;

    /// The keywords as Rekkc receives them.
    const std::vector<std::string>& keywords() const { return m_keywords; }

private:
    std::vector<std::string> m_keywords;
    int m_type;
    int m_mode;
    bool m_ignoreCase;
    KeywordAnchor m_anchor;
    std::string m_copy;  // the line as Rekkc reads it, reused
};

/// The range test with the pattern compiled into record 1 of binding: the same sides,
/// sentence limits, boundary modes and negations as Rekkc, with the pattern's matches in
/// place of keyword occurrences. The binding must outlive the test.
class RangePatternTest : public ExtractionLineTest {
public:
    RangePatternTest(RegexBinding& binding, const ExtractionOptions& options, KeywordAnchor anchor);
    bool keeps(const std::string& context) override;

private:
    /// Whether a match stands after the keyword, up to the sentence end when limited.
    bool matchesAfter(const std::string& copy, bool withinSentence);
    /// Whether a match starts before the keyword, after the sentence start when limited.
    bool matchesBefore(const std::string& copy, bool withinSentence);
    bool standsFree(const std::string& copy, std::size_t offset, std::size_t length) const;

    RegexBinding& m_binding;
    int m_type;
    int m_mode;
    bool m_ignoreCase;
    KeywordAnchor m_anchor;
    std::string m_copy;
};

}  // namespace vellmora
