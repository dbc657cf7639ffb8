#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/result_document.h"
#include "results/colloq_count.h"
#include "results/colloq_reference.h"
#include "results/result_source.h"

namespace vellmora {

class ColloqDialogModel;
class ColloqStrengthDialogModel;
class ExColloqDialogModel;
class Profile;

inline constexpr std::string_view kColloqBusyTitle = "<<Now Counting...>>";
inline constexpr std::string_view kColloqTableBusyTitle = "<<Counting...>>";

/// What the view knows of the result a collocation command reads.
struct ColloqInput {
    /// The kind the view shows last: "Collocation Statistics..." reads it; the tables always
    /// read the search result.
    ResultKind source = ResultKind::Original;
    int keywordColumn = 1;  ///< K: the keyword's first byte is byte K - 1 of each context
    int keywordLength = 0;  ///< byte length of the first keyword
};

/// The input as a document read from a formatted file gives it: the kind it shows last, its
/// keyword column and the length of its first keyword.
ColloqInput colloqInputOf(const CPyxoDoc& document);

/// How a collocation command ended.
enum class ColloqCommandEnd {
    Refused,    ///< busy: the busy message was shown
    Cancelled,  ///< the dialog was cancelled
    Rejected,   ///< the dialog was confirmed with values it refuses: its message was shown
    Stopped,    ///< a cancel request stopped the count; the collocation list is as it was
    Done,
};

struct ColloqCommandResult {
    ColloqCommandEnd end = ColloqCommandEnd::Refused;
    ColloqOutcome run;  ///< the counts (when Done)
};

/// Shows the opened dialog and returns true when the user confirmed it; the command then
/// stores the dialog's values itself.
using ColloqDialogStep = std::function<bool(ColloqDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmColloqUnchanged(ColloqDialogModel& dialog);

/// "Collocation Statistics...": refuses while busy, shows the dialog and stores it, then,
/// with "<<Now Counting...>>" in the title and the wait cursor, counts the word at the chosen
/// position in the list the view shows (nothing when that is the collocation list itself) and
/// writes the statistic into the collocation list, makes it the shown kind, pushes it onto the
/// display history, beeps (unless silenced) and redisplays.
ColloqCommandResult runColloqCommand(const ResultCommandPlace& place, const ColloqInput& input,
                                     const ColloqDialogStep& showDialog = confirmColloqUnchanged);

struct ColloqTableResult {
    ColloqCommandEnd end = ColloqCommandEnd::Refused;
    long lines = 0;  ///< result lines counted (file separators not counted)
    /// Widest byte length of each tab-separated column of the table (when Done); the view
    /// raises its collocation column widths to these.
    std::vector<std::int64_t> columnWidths;
    ReferenceOutcome reference;  ///< how the extended table had its reference
};

/// "Collocation Statistics(2)...": refuses while busy; otherwise, with "<<Counting...>>" in
/// the title and the wait cursor, counts the words at the eleven positions around the keyword
/// in the search result and writes the frequency table into the collocation list, makes it
/// the shown kind, pushes it onto the display history, beeps (unless silenced) and
/// redisplays. No dialog, no "Colloq" setting.
ColloqTableResult runColloqTableCommand(const ResultCommandPlace& place, const ColloqInput& input);

/// What the extended statistics need beyond the view: the corpus the search read and where
/// the word-list files are kept.
struct ExColloqInput {
    ColloqInput view;
    ReferenceFileSet files;      ///< lastSearchFileSet() for the last search
    std::string wordListFolder;  ///< defaultWordListFolder(); empty: no cache
};

/// The input as the batch front end has it: colloqInputOf(document), the file set of the
/// last search as the settings file holds it, and the data directory's word-list folder.
ExColloqInput exColloqInputOf(const CPyxoDoc& document, Profile& profile);

using ExColloqDialogStep = std::function<bool(ExColloqDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmExColloqUnchanged(ExColloqDialogModel& dialog);

/// "Extended Collocation Statistics..." of the Data menu: refuses while busy; shows the dialog
/// unless "Disable this dialog" was stored (a cancelled dialog ends the command) and stores
/// it; then, with "<<Counting...>>" in the title and the wait cursor, counts the search result
/// as the frequency table does, gets the corpus word counts (from the word-list cache while it
/// is current), writes the extended table in the stored format into the collocation list,
/// makes it the shown kind, pushes it onto the display history, beeps (unless silenced) and
/// redisplays.
ColloqTableResult runExColloqCommand(
    const ResultCommandPlace& place, const ExColloqInput& input,
    const ExColloqDialogStep& showDialog = confirmExColloqUnchanged);

using ColloqStrengthDialogStep = std::function<bool(ColloqStrengthDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmColloqStrengthUnchanged(ColloqStrengthDialogModel& dialog);

/// "Collocation Strength...": refuses while busy; shows the dialog (a cancelled dialog ends
/// the command; values it refuses show its message and end it, nothing stored) and stores
/// it; then, with "<<Counting...>>" in the title and the wait cursor, counts the search result
/// as the frequency table does, gets the corpus word counts as the extended statistics do
/// (their word-list cache included), writes the strength table into the collocation list,
/// makes it the shown kind, pushes it onto the display history, beeps (unless silenced) and
/// redisplays.
ColloqTableResult runColloqStrengthCommand(
    const ResultCommandPlace& place, const ExColloqInput& input,
    const ColloqStrengthDialogStep& showDialog = confirmColloqStrengthUnchanged);

/// "Extended Collocation Statistics..." of the Options menu: shows the dialog whatever
/// "Disable this dialog" says and stores it on OK. False when it was cancelled.
bool runExColloqOptions(Profile& profile, const ExColloqDialogStep& showDialog);

}  // namespace vellmora
