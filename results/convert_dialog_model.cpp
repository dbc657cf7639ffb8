#include "results/convert_dialog_model.h"

#include <array>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kMode = settingKey("SpreadSheet", "Mode");
constexpr const SettingKey& kTagInfo = settingKey("SpreadSheet", "TagInfo");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");

constexpr std::array<std::string_view, kSpreadsheetLayouts> kLabels = {
    "Tab Separated Value(1)",
    "Tab Separated Value(2)",
    "Tab Separated Value(3)",
    "Comma Separated Value(1)",
    "Comma Separated Value(2)",
    "Comma Separated Value(3)",
    "HTML Format",
};

}  // namespace

std::string_view layoutLabel(SpreadsheetLayout layout) {
    return kLabels[static_cast<std::size_t>(layoutFromValue(static_cast<int>(layout)))];
}

SpreadsheetDialogModel::SpreadsheetDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void SpreadsheetDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    m_layout = layoutFromValue(readInt(m_profile, kMode));
    m_tagInfo = readInt(m_profile, kTagInfo) == 1;
}

void SpreadsheetDialogModel::ok() {
    writeInt(m_profile, kMode, static_cast<int>(m_layout));
    writeInt(m_profile, kTagInfo, m_tagInfo ? 1 : 0);
    m_profile.flush();
}

}  // namespace vellmora
