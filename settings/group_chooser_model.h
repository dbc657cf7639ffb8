#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kNoGroupSelectedMessage = "Any group is not selected! X-<";
inline constexpr std::string_view kNoContentMessage = "There's no CONTENT!";

/// The model of the group chooser "List of Word Group": the names of the first name chunk, the
/// selected name and its words. The caller takes selectedGroup() when ok() returns true.
class GroupChooserModel {
public:
    /// group is the group the caller passes in; it starts as the selection (empty: none).
    GroupChooserModel(Profile& profile, UserInterface& ui, std::string group = {});

    /// Takes the beep setting, lists the names and the words of the group passed in.
    void open();

    const std::vector<std::string>& groupNames() const { return m_names; }
    /// The words of the selected group, shown read-only.
    const std::vector<std::string>& words() const { return m_words; }
    const std::string& selectedGroup() const { return m_selected; }

    /// Selects the name in that row and lists its words; a row out of range is ignored.
    void select(int row);
    /// True when the dialog may close with selectedGroup(); otherwise the user was told why.
    bool ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    std::vector<std::string> m_names;
    std::vector<std::string> m_words;
    std::string m_selected;
};

}  // namespace vellmora
