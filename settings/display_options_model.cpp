#include "settings/display_options_model.h"

#include <string>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

DisplayOptionsModel::DisplayOptionsModel(Profile& profile)
    : m_profile(profile), m_tabStop(readString(profile, settingKey("DispOption", "TabStop"))) {}

std::optional<int> DisplayOptionsModel::accept(UserInterface& ui) {
    const std::optional<int> unit = parseTabUnit(m_tabStop);
    if (!unit) {
        ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
        ui.alert(kRangeMessage);
        return std::nullopt;
    }
    writeString(m_profile, settingKey("DispOption", "TabStop"), std::to_string(*unit));
    m_profile.flush();
    return unit;
}

int storedTabUnit(Profile& profile) {
    return parseTabUnit(readString(profile, settingKey("DispOption", "TabStop")))
        .value_or(DisplayOptionsModel::kDefaultTabUnit);
}

std::optional<int> parseTabUnit(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < DisplayOptionsModel::kMinTabUnit || value > DisplayOptionsModel::kMaxTabUnit) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vellmora
