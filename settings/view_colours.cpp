#include "settings/view_colours.h"

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

Rgb Rgb::fromValue(int value) {
    const auto bits = static_cast<unsigned>(value);
    return Rgb{static_cast<std::uint8_t>(bits & 0xFF),
               static_cast<std::uint8_t>((bits >> 8) & 0xFF),
               static_cast<std::uint8_t>((bits >> 16) & 0xFF)};
}

ViewColours readViewColours(Profile& profile) {
    constexpr const SettingKey& kHighlightText = settingKey("Color", "HlTxtColor");
    constexpr const SettingKey& kHighlightBackground = settingKey("Color", "HlBkColor");
    const int background = readInt(profile, settingKey("Color", "BkColor"));
    const int text = readInt(profile, settingKey("Color", "TxtColor"));
    ViewColours colours;
    colours.background = Rgb::fromValue(background);
    colours.text = Rgb::fromValue(text);
    colours.highlightText =
        Rgb::fromValue(profile.readInt(kHighlightText.section, kHighlightText.key, background));
    colours.highlightBackground = Rgb::fromValue(
        profile.readInt(kHighlightBackground.section, kHighlightBackground.key, text));
    return colours;
}

bool writeTextColour(Profile& profile, Rgb colour) {
    writeInt(profile, settingKey("Color", "TxtColor"), colour.value());
    return profile.flush();
}

bool writeBackgroundColour(Profile& profile, Rgb colour) {
    writeInt(profile, settingKey("Color", "BkColor"), colour.value());
    return profile.flush();
}

}  // namespace vellmora
