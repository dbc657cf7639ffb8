#pragma once

#include <string>
#include <string_view>

#include "results/sort_order.h"

namespace vellmora {

class CExStringList;
class UserInterface;

/// Everything a sort by column needs to know.
struct ColumnSortSpec {
    int column = 1;  ///< 1-based byte column of the context; below 1 counts as 1
    bool descending = false;
    int maxLines = 100000;  ///< most lines taken, header and empty lines not counted
};

/// The key of a stored line: its context from the 1-based byte column to the end (without
/// the line end), starting one byte earlier when the column falls on the second byte of a
/// double-byte character; empty when the column lies past the end. Columns below 1 count
/// as 1.
std::string_view columnKey(const std::string& line, int column);

/// Sorts the result lines of source by their text from a column of the context and replaces
/// the content of destination (which may be source itself) with them. Header lines and empty
/// lines are skipped; keys compare with ASCII case folded, ties by the whole line; reading
/// stops after spec.maxLines lines or at a cancel request.
SortRunOutcome sortByColumn(const CExStringList& source, const ColumnSortSpec& spec,
                            CExStringList& destination, UserInterface& ui);

}  // namespace vellmora
