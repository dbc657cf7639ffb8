#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "results/colloq_count.h"

namespace vellmora {

class CExStringList;
class CStringTree;
class UserInterface;

inline constexpr std::string_view kStrengthTableHeader =
    "Word\tFreq\tExpected\tCorpus\tMI\tMI3\tt-score\tlog-likelihood\tlogDice\r\n";

/// The association measures of the strength table, in the order of its columns and of the
/// dialog's list.
enum class StrengthMeasure { MI = 0, MI3 = 1, TScore = 2, LogLikelihood = 3, LogDice = 4 };
inline constexpr int kStrengthMeasures = 5;

/// The measure a stored "Measure" names; anything outside the list reads as MI.
StrengthMeasure strengthMeasureOf(int stored);

/// A contiguous run of word positions around the keyword, first to last inclusive. The
/// keyword's own position 0 is never counted, also when the span crosses it.
struct ColloqSpan {
    int first = kFirstColloqPosition;
    int last = kLastColloqPosition;

    bool holds(int position) const {
        return position != 0 && first <= position && position <= last;
    }
    bool operator==(const ColloqSpan&) const = default;
};

/// True when both ends lie in -5 ... 5 and the span holds at least one position besides 0.
bool isValidSpan(const ColloqSpan& span);

/// Reads "L5..R5", "L3..L1", "R2" (one position) and the like, letters in either case; L0
/// and R0 name the keyword's place, so "L2..R0" is L2..L1. Nothing when the text is not of
/// that form or names a position beyond 5. The order of the ends is not checked here:
/// "R3..L1" parses, and isValidSpan() refuses it.
std::optional<ColloqSpan> parseColloqSpan(std::string_view text);

/// The counts of one collocate that its measures are computed from.
struct CooccurrenceCounts {
    std::uint64_t observed = 0;            ///< O: the collocate's occurrences in the span
    std::uint64_t windowTokens = 0;        ///< R1: every word counted in the span
    std::uint64_t keywordFrequency = 0;    ///< f(n): the result lines counted
    std::uint64_t collocateFrequency = 0;  ///< f(c): the collocate's count in the corpus
    std::uint64_t corpusSize = 0;          ///< N: the words of the corpus
};

/// The measures of one collocate. A measure that has no finite value (nothing observed, an
/// empty table) is NaN; cells show it as "-.----".
struct StrengthScores {
    double expected = 0;                   ///< E11
    std::uint64_t collocateFrequency = 0;  ///< f(c), as the corpus list holds it
    std::array<double, kStrengthMeasures> values{};

    double of(StrengthMeasure measure) const { return values[static_cast<std::size_t>(measure)]; }
};

/// Computes the five measures from the 2x2 contingency table of counts. A collocate the
/// corpus list holds fewer times than O has none (NaN, E11 too). Otherwise counts that cannot
/// all hold (the corpus changed after the search) are raised first: R1 to at least O, N to at
/// least R1 + f(c) - O, so that no cell of the table is negative.
StrengthScores strengthScores(const CooccurrenceCounts& counts);

/// "%.4f" in the C locale's form whatever the user's locale; "-.----" when value is not
/// finite. Never "-0.0000".
std::string strengthCell(double value);

/// What the strength table lists and how it orders its rows.
struct StrengthSpec {
    StrengthMeasure measure = StrengthMeasure::MI;
    ColloqSpan span;
    std::uint64_t minFrequency = 3;  ///< O at least this; 0 and 1 list every word seen
};

/// Replaces destination with the strength table: the header, then one row per word that
/// stands at least spec.minFrequency times at the span's positions: the word, O, E11 and
/// f(c), then the five measures, separated by tabs. Rows run by the chosen measure
/// descending, equal values by O descending, then in the word order of counts.all().
/// Corpus counts come from reference, words looked up without regard to ASCII case. Pumps
/// once per word; false when a cancel request stopped it (destination unchanged).
bool writeStrengthTable(const CollocationCounts& counts, const CStringTree& reference,
                        const StrengthSpec& spec, CExStringList& destination, UserInterface& ui);

}  // namespace vellmora
