#pragma once

#include <functional>
#include <string_view>

#include "results/column_sort.h"
#include "results/sort_command.h"

namespace vellmora {

class ColumnSortDialogModel;

inline constexpr std::string_view kColumnSortBusyMessage = "Please wait for some moment. m(__)m";
inline constexpr std::string_view kColumnSortAgainQuestion = "I did it. Try AGAIN?[-_-;)";
inline constexpr std::string_view kColumnSortBusyTitle = "Now Sorting by Column...";

/// What the view knows of the result a sort by column reads.
struct ColumnSortInput {
    ResultKind source = ResultKind::Original;  ///< the kind the view shows last
    int keywordColumn = 1;                     ///< K, the column the dialog offers
    int contextWidth = 0;  ///< bytes of the context part of the lines; 0 when unknown
};

struct ColumnSortCommandResult {
    SortCommandEnd end = SortCommandEnd::Refused;
    int column = 0;      ///< the column sorted by, when Done
    SortRunOutcome run;  ///< valid when Done
};

/// Shows the opened dialog and returns true when the user confirmed it; the command then
/// stores the dialog's values itself.
using ColumnSortDialogStep = std::function<bool(ColumnSortDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmColumnSortUnchanged(ColumnSortDialogModel& dialog);

/// The command "Sort by Column...": refuses while busy ("Please wait for some moment.
/// m(__)m"), asks before sorting the sorted result again, shows the dialog (the keyword
/// column offered, the context width as maximum, else "Xsize"), then sorts the source list by
/// the stored column, direction and line limit into the document's sorted list and makes that
/// the shown kind.
ColumnSortCommandResult runColumnSortCommand(
    const ResultCommandPlace& place, const ColumnSortInput& input,
    const ColumnSortDialogStep& showDialog = confirmColumnSortUnchanged);

}  // namespace vellmora
