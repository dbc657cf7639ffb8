#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "containers/string_tree.h"

namespace vellmora {

class CExStringList;
class UserInterface;

/// Word positions around the keyword that collocation statistics count: L5 ... L1 are
/// -5 ... -1, the keyword's own word is 0, R1 ... R5 are 1 ... 5.
inline constexpr int kFirstColloqPosition = -5;
inline constexpr int kLastColloqPosition = 5;
inline constexpr int kColloqPositions = kLastColloqPosition - kFirstColloqPosition + 1;

inline constexpr std::string_view kColloqRule = "=========================\r\n";
inline constexpr std::string_view kFrequencyTableHeader =
    "Word\tTotal\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n";

/// Where the keyword stands in the context of every line of a KWIC result.
struct KeywordPlace {
    int offset = 0;  ///< K - 1: the byte of the context where the keyword starts
    int length = 0;  ///< byte length of the first keyword
};

/// What the single-position statistic counts and how it writes its lines.
struct ColloqSpec {
    int position = 1;             ///< -5 ... 5
    bool sentenceFinal = false;   ///< no word beyond the keyword's sentence
    bool european = false;        ///< words compared byte by byte; otherwise ASCII case folded
    bool frequencyOrder = false;  ///< most frequent first instead of word order
    bool percent = false;         ///< each line also shows its share of all words
    bool tail = false;            ///< words ordered by their reversed bytes (by their endings)
    KeywordPlace keyword;
};

struct ColloqOutcome {
    long totalWords = 0;      ///< non-empty words counted
    long differentWords = 0;  ///< distinct words among them
    bool cancelled = false;   ///< a cancel request stopped the count; destination unchanged
};

/// Counts the word at one position around the keyword in every line of source that is not a
/// file separator and replaces destination (which may be source) with one line per distinct
/// word ("%15lu : word", or "%15lu(%6.3f%%) : word" with percent), in word order or, with
/// frequencyOrder, by descending count (equal counts in descending word order), followed by
/// the rule and the two summary lines. Pumps once per line read and written.
ColloqOutcome countWordsAtPosition(const CExStringList& source, const ColloqSpec& spec,
                                   CExStringList& destination, UserInterface& ui);

/// The words at the eleven positions around the keyword of a KWIC result, counted per
/// position and over all positions, words compared without regard to ASCII case.
class CollocationCounts {
public:
    /// Counts the words of every line of source that is not a file separator, without
    /// sentence limits. Pumps once per line; false when a cancel request stopped it (the
    /// counts then cover the lines read so far).
    bool count(const CExStringList& source, const KeywordPlace& keyword, UserInterface& ui);

    /// The counts of position -5 ... 5 (a position outside reads as the keyword's own).
    const CStringTree& at(int position) const;
    /// The counts over all eleven positions; its ascending order is the order of the rows.
    const CStringTree& all() const { return m_all; }
    /// Lines counted: the lines of the source that are not file separators.
    long lines() const { return m_lines; }

private:
    std::array<CStringTree, kColloqPositions> m_positions;
    CStringTree m_all;
    long m_lines = 0;
};

/// The ten positions of a table's columns, in their order: L5 ... L1, R1 ... R5.
inline constexpr std::array<int, 10> kTableColumnPositions = {-5, -4, -3, -2, -1, 1, 2, 3, 4, 5};

/// Replaces destination with the frequency table: the header, then for each word of all()
/// in ascending order the word, its total and its count at each column position, separated
/// by tabs ("0" where it never stands). A word is looked up without regard to ASCII case.
/// Pumps once per row; false when a cancel request stopped it (destination unchanged).
bool writeFrequencyTable(const CollocationCounts& counts, CExStringList& destination,
                         UserInterface& ui);

}  // namespace vellmora
