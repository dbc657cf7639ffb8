#include "settings/word_group_dialog_model.h"

#include <algorithm>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"
#include "settings/word_groups.h"

namespace vellmora {
namespace {

template <typename T>
bool isRow(const std::vector<T>& list, int row) {
    return row >= 0 && static_cast<std::size_t>(row) < list.size();
}

}  // namespace

WordGroupDialogModel::WordGroupDialogModel(Profile& profile, UserInterface& ui, std::string group)
    : m_profile(profile), m_ui(ui), m_selected(normalizeGroupName(group)) {}

void WordGroupDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_names = readAllGroupNames(m_profile);
    m_words =
        m_selected.empty() ? std::vector<std::string>{} : readGroupWords(m_profile, m_selected);
}

bool WordGroupDialogModel::addWord() { return takeWordField(Feedback::Messages); }

bool WordGroupDialogModel::deleteWord(int row) {
    if (!isRow(m_words, row)) {
        m_ui.alert(kNoWordToDeleteMessage);
        return false;
    }
    m_words.erase(m_words.begin() + row);
    storeSelectedWords();
    return true;
}

bool WordGroupDialogModel::addGroup() {
    if (!takeNameField(Feedback::Messages)) return false;
    writeGroupNames(m_profile, m_names, NameChunkWrite::CompleteOnly);
    return true;
}

bool WordGroupDialogModel::deleteGroup(int row) {
    if (!isRow(m_names, row)) {
        m_ui.alert(kNoGroupToDeleteMessage);
        return false;
    }
    if (sameGroupName(m_names[row], m_selected)) m_selected.clear();
    m_names.erase(m_names.begin() + row);
    writeGroupNames(m_profile, m_names, NameChunkWrite::CompleteOnly);
    return true;
}

void WordGroupDialogModel::chooseGroup(int row) {
    if (!isRow(m_names, row)) return;
    if (!m_words.empty()) storeSelectedWords();
    m_selected = m_names[row];
    m_words = readGroupWords(m_profile, m_selected);
}

void WordGroupDialogModel::enter() {
    takeWordField(Feedback::Silent);
    takeNameField(Feedback::Silent);
    m_profile.flush();
}

void WordGroupDialogModel::ok() {
    writeGroupNames(m_profile, m_names, NameChunkWrite::All);
    storeSelectedWords();
    m_profile.flush();
}

void WordGroupDialogModel::cancel() {
    // The words and name chunks stored by the buttons are meant to stay, so they go to disk now
    // rather than whenever the profile is flushed next.
    m_profile.flush();
}

bool WordGroupDialogModel::takeWordField(Feedback feedback) {
    std::string word = withoutBrokenTail(m_wordField);
    if (word.empty()) {
        if (feedback == Feedback::Messages) {
            m_ui.alert(kNoWordMessage);
        } else {
            m_wordField.clear();
        }
        return false;
    }
    if (!isStorableWord(word)) {
        // Kept in the field, also on Enter, so that the user can mend it.
        m_ui.alert(kUnstorableWordMessage);
        return false;
    }
    m_wordField.clear();
    if (std::find(m_words.begin(), m_words.end(), word) != m_words.end()) {
        if (feedback == Feedback::Messages) m_ui.alert(kAlreadyRegisteredMessage);
        return false;
    }
    m_words.push_back(std::move(word));
    storeSelectedWords();
    return true;
}

bool WordGroupDialogModel::takeNameField(Feedback feedback) {
    std::string name = normalizeGroupName(m_nameField);
    if (name.empty()) {
        if (feedback == Feedback::Messages) {
            m_ui.alert(kNoGroupNameMessage);
        } else {
            m_nameField.clear();
        }
        return false;
    }
    if (!isStorableGroupName(name)) {
        m_ui.alert(kUnstorableGroupNameMessage);
        return false;
    }
    m_nameField.clear();
    if (isListedName(name)) {
        if (feedback == Feedback::Messages) m_ui.alert(kAlreadyRegisteredMessage);
        return false;
    }
    m_names.push_back(name);
    if (!m_words.empty()) {
        writeGroupWords(m_profile, name, m_words);
        m_words.clear();
        // The emptied list no longer shows the selected group's words: left selected, the next
        // word added, or OK, would overwrite that group with this empty list.
        m_selected.clear();
    }
    return true;
}

bool WordGroupDialogModel::isListedName(std::string_view name) const {
    // Names that differ only in ASCII case share one key of the settings file.
    return std::any_of(m_names.begin(), m_names.end(),
                       [&](const std::string& listed) { return sameGroupName(listed, name); });
}

void WordGroupDialogModel::storeSelectedWords() {
    if (!m_selected.empty()) writeGroupWords(m_profile, m_selected, m_words);
}

}  // namespace vellmora
