#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "document/result_document.h"
#include "results/result_source.h"
#include "results/sort.h"

namespace vellmora {

class Profile;
class SortDialogModel;
class UserInterface;
struct ApplicationSearchFlags;
struct SearchState;

inline constexpr std::string_view kSortAgainQuestion = "Sort again?(-_-;)";
inline constexpr std::string_view kSortBusyTitle = "<<Now Sorting...>>";

/// What the view knows of the result a sort reads.
struct SortInput {
    ResultKind source = ResultKind::Original;  ///< the kind the view shows last
    int keywordColumn = 1;  ///< K: the keyword's first byte is byte K - 1 of each context
    int keywordLength = 0;
};

/// How a sort command ended.
enum class SortCommandEnd {
    Refused,    ///< busy: the busy message was shown
    Declined,   ///< "No" to the question whether to sort the sorted result again
    Cancelled,  ///< the dialog was cancelled
    Done,
};

struct SortCommandResult {
    SortCommandEnd end = SortCommandEnd::Refused;
    SortRunOutcome run;  ///< valid when Done
};

/// Shows the opened sort dialog and returns true when the user confirmed it; the command then
/// stores the dialog's values itself.
using SortDialogStep = std::function<bool(SortDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmSortUnchanged(SortDialogModel& dialog);

/// The command "Sort...": refuses while busy, asks before sorting the sorted result again,
/// shows the dialog, then sorts the source list into the document's sorted list, makes that
/// the shown kind, keeps the keys and keyword in the document's sort fields and beeps
/// (unless silenced). The keys, directions, "By tail", sentence
/// limit, comparison and line limit are those the dialog stored.
SortCommandResult runSortCommand(const ResultCommandPlace& place, const SortInput& input,
                                 const SortDialogStep& showDialog = confirmSortUnchanged);

}  // namespace vellmora
