#include "engine/positioned_dialog_model.h"

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
PositionedDialogModel::PositionedDialogModel(Profile& profile, UserInterface& ui,
                                             const Histories& histories)
    : m_profile(profile), m_ui(ui), m_request(profile, ui, histories) {}

void PositionedDialogModel::open() {
    m_request.open();
    m_positions = readWordPositions(m_profile);
    m_focus = SearchField::None;
}

bool PositionedDialogModel::search() {
    m_focus = SearchField::None;
    const SearchDialogFields& fields = m_request.fields();
    bool passed = m_request.checkRequired();
    // With OR keyword 2 is one more keyword 1: no position of it is looked at.
    if (passed && !fields.keyword2.empty() && fields.method != SearchMethod::Or &&
        !m_positions.any()) {
        m_ui.alert(kNoPositionMessage);
        m_focus = SearchField::Keyword2;
        return false;
    }
    passed = passed && m_request.checkUsable();
    if (!passed) {
        m_focus = m_request.focus();
        return false;
    }
    m_request.storeRequestChoices();
    writeWordPositions(m_profile, m_positions);
    // A failed flush keeps the writes pending in the profile, where the run still reads them.
    m_profile.flush();
    return true;
}

}  // namespace vellmora
