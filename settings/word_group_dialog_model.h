#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kNoWordMessage = "There's no string! X-<\nDo enter a word!";
inline constexpr std::string_view kAlreadyRegisteredMessage = "Already registered. :-D";
inline constexpr std::string_view kNoWordToDeleteMessage =
    "Please click the word you want to delete.";
inline constexpr std::string_view kNoGroupNameMessage =
    "There's no name of group! X-<\nEnter a name of group!";
inline constexpr std::string_view kNoGroupToDeleteMessage =
    "Click the name of group you want to delete.";
/// A "|" would split the word in two when the group is read back.
inline constexpr std::string_view kUnstorableWordMessage =
    "A word cannot hold \"|\" or a line break. X-<";
/// A group name is also a key of the settings file, where "=" and a leading "[" have a meaning.
inline constexpr std::string_view kUnstorableGroupNameMessage =
    "A name of group cannot hold \"|\", \"=\" or a line break,\nnor begin with \"[\". X-<";

/// The model of the word-group dialog "Select or Edit Word Group": the words of the selected
/// group, the group names, the two edit fields, and the settings writes each button makes.
/// Rows are list indices as a list widget reports them; -1 (or any row out of range) means
/// that nothing is selected.
class WordGroupDialogModel {
public:
    /// group is the group the caller selects; empty selects none.
    WordGroupDialogModel(Profile& profile, UserInterface& ui, std::string group = {});

    /// Takes the beep setting, lists every group name and the words of the selected group.
    void open();

    /// The words of the selected group (or the words typed while none is selected).
    const std::vector<std::string>& words() const { return m_words; }
    const std::vector<std::string>& groupNames() const { return m_names; }
    /// The group whose words words() shows; empty when none is selected.
    const std::string& selectedGroup() const { return m_selected; }

    const std::string& wordField() const { return m_wordField; }
    void setWordField(std::string text) { m_wordField = std::move(text); }
    const std::string& nameField() const { return m_nameField; }
    void setNameField(std::string text) { m_nameField = std::move(text); }

    /// "Add" beside the words: appends the word field's text; true when it was added.
    bool addWord();
    /// "Delete" beside the words; true when a word was removed.
    bool deleteWord(int row);
    /// "Add" beside the names: appends the name field's text as a group that takes the listed
    /// words; true when it was added.
    bool addGroup();
    /// "Delete" beside the names; the group's words stay stored. True when a name was removed.
    bool deleteGroup(int row);
    /// A double click on a name: saves the shown words, then selects that group and lists its
    /// words.
    void chooseGroup(int row);
    /// The Enter key: takes both fields as the two "Add" buttons would, without messages for an
    /// empty or listed entry, and flushes; the dialog stays open.
    void enter();
    /// OK: stores every name and the selected group's words and flushes; the dialog closes.
    void ok();
    /// Cancel: what the buttons stored stays stored; the dialog closes.
    void cancel();

private:
    enum class Feedback { Messages, Silent };

    bool takeWordField(Feedback feedback);
    bool takeNameField(Feedback feedback);
    bool isListedName(std::string_view name) const;
    void storeSelectedWords();

    Profile& m_profile;
    UserInterface& m_ui;
    std::vector<std::string> m_words;
    std::vector<std::string> m_names;
    std::string m_selected;
    std::string m_wordField;
    std::string m_nameField;
};

}  // namespace vellmora
