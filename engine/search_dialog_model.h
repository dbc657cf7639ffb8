#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/option_dialog_model.h"
#include "engine/search_run.h"
#include "settings/corpus_sets.h"
#include "settings/excluded_types.h"
#include "settings/group_chooser_model.h"
#include "settings/word_group_dialog_model.h"

namespace vellmora {

class Histories;
class Profile;
class UserInterface;
struct LastSearchValues;

inline constexpr std::string_view kSearchDialogTitle = "Let's search in KWIC Format!(Range)";
inline constexpr std::string_view kNoKeywordMessage = "キーワードが指定されてません！";
inline constexpr std::string_view kNoTargetFileMessage = "検索対象ファイルが指定されてません！";
inline constexpr std::string_view kUnusableFileMessage = "そのファイルはここでは使えません";

/// "Way of Search", stored as Options/Method.
enum class SearchMethod { And = 0, Not = 1, Or = 2 };

/// The fields of a field-level check failure, for the view to put the focus on.
enum class SearchField { None, Keyword1, Keyword2, Filename, Directory, ResFile, ResFileDir };

/// What the KWIC search dialog holds while it is open.
struct SearchDialogFields {
    std::string keyword1;
    bool keyword1IsGroup = false;  ///< Setting/Word1 = 1
    std::string keyword2;          ///< empty: no second keyword
    bool keyword2IsGroup = false;  ///< Setting/Word2 = 1
    CorpusFields corpus;
    bool beforeKeyword1 = false;     ///< "Before KW1", Options/Mae
    bool recognizeSentence = false;  ///< "Recognize" sentence boundaries, Options/Bummatsu
    SearchMethod method = SearchMethod::And;
};

/// The model of the KWIC search dialog (CSearchDialog): one search request, its checks and
/// the settings it keeps. The search driver opens it, lets the user (or the command line)
/// change fields(), and calls search(); when that returns true the driver copies the request
/// back with copyRequestTo(), stores it with the histories and re-reads the options.
///
/// The model never writes the request itself (keywords and corpus fields): that belongs to
/// the driver, which also enters them into the histories.
class SearchDialogModel {
public:
    /// histories supplies the request the dialog opens with and its combo-box lists.
    SearchDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Takes the beep setting and fills every field, list and button caption.
    void open();

    SearchDialogFields& fields() { return m_fields; }
    const SearchDialogFields& fields() const { return m_fields; }

    /// The entries of a keyword combo box: the group names while its "Group" choice is on,
    /// otherwise that keyword's history.
    const std::vector<std::string>& keyword1Choices() const;
    const std::vector<std::string>& keyword2Choices() const;
    const std::vector<std::string>& filenameHistory() const { return m_filenames; }
    const std::vector<std::string>& directoryHistory() const { return m_directories; }
    const std::vector<std::string>& resFileHistory() const { return m_resFiles; }
    const std::vector<std::string>& resFileDirHistory() const { return m_resFileDirs; }
    /// The names the "Group" choices offer (key "Name" of "WordGroupNames" only).
    const std::vector<std::string>& groupNames() const { return m_groupNames; }
    /// Re-reads the group names, after the word-group dialog has closed.
    void reloadGroupNames();

    /// "Search!": runs the checks in order; on the first failure beeps (unless silenced),
    /// shows its message and returns false with focus() naming the field, storing nothing.
    /// On success ends non-empty directories with "/", writes Word1, Word2, Method, Mae and
    /// Bummatsu, flushes and returns true.
    bool search();
    /// The field the last failed search() wants focused; None after a successful one.
    SearchField focus() const { return m_focus; }

    /// The checks every search dialog shares, in two steps so that a dialog can put its own
    /// between them: keyword 1 and a file or response file are given; then no file field names
    /// an unusable file. Each beeps (unless silenced), shows its message, sets focus() and
    /// returns false on a failure.
    bool checkRequired();
    bool checkUsable();
    /// What every confirmed search dialog stores: non-empty directories end with "/"; Word1,
    /// Word2 and Method are written (not flushed).
    void storeRequestChoices();

    /// The request fields of the confirmed dialog into the application-wide request.
    void copyRequestTo(LastSearchValues& request) const;

    /// Caption of corpus-set button number (1 to 6).
    std::string corpusSetCaption(int number) const { return m_corpusSets.caption(number); }
    /// A click on corpus-set button number: a defined set fills the corpus fields
    /// (Loaded); an undefined one returns DefineRequested, and the view then shows
    /// fileSetDialog(number) and passes it to acceptFileSet() on its OK.
    CorpusSetButtons::Click clickCorpusSet(int number);
    /// The "File Set" dialog that defines set number from the current corpus fields.
    CFileSetDlg fileSetDialog(int number) const;
    /// "OK" of that dialog: writes the set, takes its fields and its button caption. False
    /// when the settings file could not be written (the fields are taken all the same).
    bool acceptFileSet(const CFileSetDlg& dialog);

    /// "Edit Group": the word-group dialog, on the group keyword 1 names when its "Group"
    /// choice is on, else keyword 2's, else none. Call reloadGroupNames() after it closes.
    WordGroupDialogModel wordGroupDialog() const;
    /// The group chooser, opening on group (empty: none).
    GroupChooserModel groupChooser(std::string group) const;
    /// "Option": the KWIC options dialog.
    OptionDialogModel optionDialog() const;

private:
    bool refuse(std::string_view message, SearchField field);

    Profile& m_profile;
    UserInterface& m_ui;
    const Histories& m_histories;
    SearchDialogFields m_fields;
    SearchField m_focus = SearchField::None;
    CorpusSetButtons m_corpusSets;
    std::vector<std::string> m_keyword1History;
    std::vector<std::string> m_keyword2History;
    std::vector<std::string> m_filenames;
    std::vector<std::string> m_directories;
    std::vector<std::string> m_resFiles;
    std::vector<std::string> m_resFileDirs;
    std::vector<std::string> m_groupNames;
};

/// The request a confirmed search dialog makes: its keywords and corpus fields.
SearchRequest searchRequestOf(const SearchDialogFields& fields);

/// True when a search dialog must refuse the file name: its extension is on the exclusion
/// lists (whatever Options/Exclude says) or is that of a formatted result file ("vm2",
/// "vm1"), ASCII case ignored.
bool isUnusableSearchFile(const CExcludeFile& excluded, std::string_view name);
/// The same test for a file-name field: true when any of its ";"-separated patterns is
/// unusable, so that no pattern can bring such files in behind a harmless one.
bool isUnusablePatternField(const CExcludeFile& excluded, std::string_view field);

}  // namespace vellmora
