#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_run.h"

namespace vellmora {

class CPyxoDoc;
class Histories;
class Profile;
class UserInterface;

inline constexpr std::string_view kCannotAddMoreMessage = "You cannot add more...";
inline constexpr std::string_view kClearBusyMessage = "I'm busy now. Please wait...";
inline constexpr std::string_view kCannotContinueMessage = "Sorry, you cannot continue ... X-<";
inline constexpr std::string_view kStillSearchingQuestion =
    "I'm searching. Do you want to continue?";
inline constexpr std::string_view kDropDialogTitle = "D&D KWIC Search";
/// Follows the path of a dropped formatted file of the older version.
inline constexpr std::string_view kOldFormattedFileMessage = " cannot be opened by this Vellmora";
/// The expression failures of the dropped-file search: one wording per keyword.
inline constexpr ExpressionMessages kDropExpressionMessages{
    regex_messages::kFailed1, regex_messages::kFailed1, regex_messages::kFailed2,
    regex_messages::kFailed2};
/// Shown when files are dropped on a view that holds a result not prepared for adding.
inline constexpr std::string_view kDropOnResultMessage =
    "This window holds a result. Prepare to add result, or clear it, first.";

/// "Prepare to add result": the view's next run appends to the lines it shows. Refused
/// with "You cannot add more..." when the result state is 2. False when refused.
bool prepareToAddResult(SearchState& state, UserInterface& ui, Profile& profile);

/// "Clear result": empties every list of the document, refreshes its views and resets the
/// view's result state, kind and counters. Refused while a run goes on anywhere or in this
/// view, and when the result state is 2. False when refused; the view then keeps its
/// scroll position, otherwise it scrolls to the top.
bool clearResult(const ApplicationSearchFlags& flags, SearchState& state, CPyxoDoc& document,
                 UserInterface& ui, Profile& profile);

/// The KWIC search commands (range, position, dropped files) are enabled: the view holds no
/// result, or one prepared for adding that is not a KWOC result.
bool kwicSearchEnabled(const SearchState& state);
/// The KWOC search command is enabled: the same, for a result that is not a KWIC one.
bool kwocSearchEnabled(const SearchState& state);

/// Runs a search in a view through run. A run that finds nothing sets the result kind to
/// 0; when it was appending to the lines of an earlier run, those lines are still there,
/// and their kind is kept so that a search of the other kind cannot be added to them.
SearchOutcome runKeepingRetainedKind(SearchState& state, const std::function<SearchOutcome()>& run);

/// What a document keeps of the view's search for its formatted file: the layout values, the
/// result kind and the keywords, so that a reopened result shows as it did.
void recordSearchInDocument(const SearchState& state, std::string_view keyword1,
                            std::string_view keyword2, CPyxoDoc& document);

enum class BreakResult { Saved, SaveFailed, SearchQuit };

/// "Break(Save to a Vellmora Formatted File)": while a search runs, asks whether to go on;
/// No quits the search and saves nothing. Otherwise stores the view's layout values, result
/// kind and the keywords in the document and saves it through save (the formatted file;
/// false when it failed) while the run goes on.
BreakResult breakAndSave(const ApplicationSearchFlags& flags, const SearchState& state,
                         CPyxoDoc& document, UserInterface& ui, Profile& profile,
                         std::string_view keyword1, std::string_view keyword2,
                         const std::function<bool(CPyxoDoc&)>& save);

/// The model of the "D&D KWIC Search" dialog: two keywords, each a word or a group.
class DropDialogModel {
public:
    DropDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Fills the keywords from the last request and the group choices from Setting/Group1
    /// and Group2; fileCount is what the caption reports.
    void open(int fileCount);

    /// "%d Files are dropped".
    const std::string& caption() const { return m_caption; }

    std::string keyword1;
    bool keyword1IsGroup = false;
    std::string keyword2;
    bool keyword2IsGroup = false;

    /// OK: refuses an empty keyword 1 ("キーワードが指定されてません！", beep unless
    /// silenced); otherwise writes Group1 and Group2, flushes and returns true.
    bool confirm();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    const Histories& m_histories;
    std::string m_caption;
};

/// What the window around a view does for a drop.
struct DropHandlers {
    /// Opens a formatted file as a document of its own.
    std::function<void(const std::string& path)> openFormatted;
    /// Shows the dialog; false on Cancel.
    std::function<bool(DropDialogModel& dialog)> showDialog;
    /// Runs the KWIC search of request over exactly files, in this view, with
    /// kDropExpressionMessages.
    std::function<SearchOutcome(const SearchRequest& request, const CExStringList& files)> run;
};

/// The search of files dropped on a view, as DropHandlers::run does it: the KWIC run over
/// exactly files, with the options read afresh and the dropped-file search's expression
/// messages; in a view that collects KWOC lines, the KWOC run over them instead.
SearchOutcome runDroppedFileSearch(SearchRequest request, const CExStringList& files,
                                   Profile& profile, UserInterface& ui, CPyxoDoc& document,
                                   SearchState& state, ApplicationSearchFlags* flags);

enum class DropResult { NothingToSearch, Refused, Cancelled, Searched };

/// Files dropped on a result view, in their order: formatted files (".vm2", any case) are
/// opened, the older ".vm1" are refused with their message, every other file becomes the
/// corpus of a KWIC search that the "D&D KWIC Search" dialog confirms. The search is
/// refused with the busy message while a run goes on anywhere or in this view (the running
/// search's corpus is left alone), and when the view holds a result not prepared for adding.
DropResult dropFiles(const std::vector<std::string>& paths, const ApplicationSearchFlags& flags,
                     SearchState& state, UserInterface& ui, Profile& profile, Histories& histories,
                     const DropHandlers& handlers);

}  // namespace vellmora
