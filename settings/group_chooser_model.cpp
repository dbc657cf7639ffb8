#include "settings/group_chooser_model.h"

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"
#include "settings/word_groups.h"

namespace vellmora {

GroupChooserModel::GroupChooserModel(Profile& profile, UserInterface& ui, std::string group)
    : m_profile(profile), m_ui(ui), m_selected(normalizeGroupName(group)) {}

void GroupChooserModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_names = readFirstGroupNames(m_profile);
    m_words = readGroupWords(m_profile, m_selected);
}

void GroupChooserModel::select(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_names.size()) return;
    m_selected = m_names[row];
    m_words = readGroupWords(m_profile, m_selected);
}

bool GroupChooserModel::ok() {
    if (m_selected.empty()) {
        m_ui.alert(kNoGroupSelectedMessage);
        return false;
    }
    if (m_words.empty()) {
        m_ui.alert(kNoContentMessage);
        return false;
    }
    return true;
}

}  // namespace vellmora
