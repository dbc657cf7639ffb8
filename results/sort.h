#pragma once

#include <vector>

#include "results/sort_order.h"

namespace vellmora {

/// Word positions around the keyword: L6 ... L1 are -6 ... -1, KW (the word the keyword
/// stands in) is 0, R1 ... R5 are 1 ... 5.
inline constexpr int kFirstWordPosition = -6;
inline constexpr int kLastWordPosition = 5;

/// One key of a sort by words: the word at a position around the keyword.
struct WordSortKey {
    int position = 1;
    bool descending = false;
    bool byTail = false;  ///< the word is compared reversed byte by byte (by its ending)
};

/// Everything a sort by words needs to know.
struct WordSortSpec {
    std::vector<WordSortKey> keys;  ///< most significant first; at most three are used
    bool sentenceFinal = false;     ///< take words only from the keyword's sentence
    bool byteWise = false;          ///< European: byte order; otherwise ASCII case folded
    int keywordOffset = 0;          ///< K - 1: the byte of the context where the keyword starts
    int keywordLength = 0;
    int maxLines = 40000;  ///< most lines taken, header lines not counted
};

/// Sorts the result lines of source by the words around the keyword and replaces the content
/// of destination (which may be source itself) with them. Header lines are skipped; reading
/// stops after spec.maxLines lines, or at a cancel request (checked after the pump of each
/// line), and what was read is written. Words are cut out of each line's context with
/// gettoken; a line without a word at a key's position gets the empty key.
SortRunOutcome sortByWords(const CExStringList& source, const WordSortSpec& spec,
                           CExStringList& destination, UserInterface& ui);

}  // namespace vellmora
