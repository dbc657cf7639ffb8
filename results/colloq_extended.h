#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellmora {

class CExStringList;
class CStringTree;
class CollocationCounts;
class UserInterface;

inline constexpr std::string_view kExtendedTableHeader =
    "Word\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n";

/// The cell formats of the extended table, in the order of the dialog's list.
enum class ExColloqFormat {
    Default = 0,          ///< observed share over reference share
    Ratio = 1,            ///< the two shares, "p/q"
    Frequency = 2,        ///< the two counts, "c/A"
    RatioExpectancy = 3,  ///< observed share over the expected count in as many words
};
inline constexpr int kExColloqFormats = 4;

/// The format a stored "Format" names; anything outside the list reads as Default.
ExColloqFormat exColloqFormatOf(int stored);

/// The cell of a word that never stands at the position: "-.----", "-.----/-.----" or
/// "----/----".
std::string_view neverOccursCell(ExColloqFormat format);

/// One cell: count is how often the word stands at the position in lines result lines,
/// referenceCount how often it occurs among the referenceTotal words of the corpus. A cell
/// without a count, or whose word the corpus does not hold, is the "never occurs" form, so
/// that no cell divides by zero.
std::string extendedCell(ExColloqFormat format, std::uint64_t count, long lines,
                         std::uint64_t referenceCount, std::uint64_t referenceTotal);

/// Replaces destination with the extended table: the header, then one row per word of
/// counts.all() in ascending order, the word and a cell for each of L5 ... L1, R1 ... R5,
/// separated by tabs. Words are looked up without regard to ASCII case. Pumps once per row;
/// false when a cancel request stopped it (destination unchanged).
bool writeExtendedTable(const CollocationCounts& counts, const CStringTree& reference,
                        ExColloqFormat format, CExStringList& destination, UserInterface& ui);

}  // namespace vellmora
