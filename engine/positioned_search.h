#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keyword_matcher.h"
#include "engine/search_run.h"

namespace vellmora {

class Profile;
class UserInterface;
class CPyxoDoc;
struct SearchOptions;

/// The word positions around keyword 1 that the positioned search looks at, as section
/// "PositionedKwic" keeps them: n from -5 (the 5th word before) through 0 (keyword 1's own
/// word) to 5 (the 5th word after).
struct WordPositions {
    static constexpr int kFirst = -5;
    static constexpr int kLast = 5;

    std::array<bool, 11> ticked{};  ///< indexed n + 5
    bool bySentence = false;        ///< "Recognize Sentence Final": words only within the sentence

    bool at(int n) const { return ticked[static_cast<std::size_t>(n - kFirst)]; }
    void set(int n, bool on) { ticked[static_cast<std::size_t>(n - kFirst)] = on; }
    bool any() const;
    bool operator==(const WordPositions&) const = default;
};

/// Reads the eleven position keys and Bummatsu of "PositionedKwic".
WordPositions readWordPositions(Profile& profile);
/// Writes them back (without flushing).
void writeWordPositions(Profile& profile, const WordPositions& positions);

/// The positional test of the positioned search, in place of the keyword-2 range test: a
/// hit is accepted when a word of keyword 2 stands in one of the ticked words around
/// keyword 1 (AND) or in none of them (NOT). With OR, or without a keyword 2, every hit
/// passes: keyword 2's words are then alternatives of keyword 1, or there are none.
///
/// The words are taken with gettoken, which keeps process-wide scanner state: the test must
/// not run while another loop uses strword.
class PositionedCondition : public HitCondition {
public:
    /// Builds keyword 2's word list as the run's matcher does (group words from the settings
    /// file, lower-cased with IgnoreCase, broken tails, empty words and repeats dropped) and
    /// takes the Way of Search (Options/Method) and the boundary mode of keyword 2.
    void prepare(const SearchOptions& options, Profile& profile, const KeywordSpec& keyword2,
                 const WordPositions& positions);

    /// context holds keyword 1 (k1 bytes) at byte l; byte 0 is never printed and may be the
    /// second half of a cut character. w is not used: every ticked word counts, printed or not.
    bool accepts(std::string_view context, int l, std::size_t k1, int w) override;

    /// The keyword-2 words as tested; empty when every hit passes.
    const std::vector<std::string>& words() const { return m_words; }

    /// Bytes of the context the words are taken from.
    static constexpr std::size_t kContextLimit = 299;

private:
    /// Whether a word of keyword 2 stands in the taken word.
    bool holdsKeyword2(std::string_view taken) const;

    std::vector<std::string> m_words;
    WordPositions m_positions;
    int m_boundaryMode = 0;
    bool m_ignoreCase = false;
    bool m_notSearch = false;
    std::string m_context;            // the cut copy handed to gettoken, reused
    std::array<char, 1000> m_word{};  // gettoken's output: up to its 999-byte copy
};

/// The options of a positioned run: bOneLine is not consulted, only the window loops run.
SearchOptions positionedSearchOptions(SearchOptions options);

/// Runs the positioned KWIC search: the KWIC run with the positional test in place of the
/// keyword-2 range test. options is the snapshot read after "Search!".
SearchOutcome runPositionedSearch(const SearchOptions& options, Profile& profile, UserInterface& ui,
                                  CPyxoDoc& document, SearchState& state,
                                  const SearchRequest& request, const WordPositions& positions,
                                  ApplicationSearchFlags* flags = nullptr);

}  // namespace vellmora
