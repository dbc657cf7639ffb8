#include "engine/kwoc_search_dialog_model.h"

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

namespace {
constexpr const SettingKey& kOrder = settingKey("KWOCOptions", "KWOrder");
}  // namespace

KwocSearchDialogModel::KwocSearchDialogModel(Profile& profile, UserInterface& ui,
                                             const Histories& histories)
    : m_profile(profile), m_ui(ui), m_request(profile, ui, histories) {}

void KwocSearchDialogModel::open() {
    m_request.open();
    m_orderSensitive = readInt(m_profile, kOrder) == 1;
}

bool KwocSearchDialogModel::search() {
    if (!m_request.checkRequired() || !m_request.checkUsable()) return false;
    m_request.storeRequestChoices();
    writeInt(m_profile, kOrder, m_orderSensitive ? 1 : 0);
    // A failed flush keeps the writes pending in the profile, where the run still reads them.
    m_profile.flush();
    return true;
}

}  // namespace vellmora
