#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellmora {

class Profile;
class UserInterface;

/// The model of the dialog "Display Options" (CDispOptionDialog): its one field, the unit of
/// the tab stops, read from "DispOption"/"TabStop" when the dialog opens and written on OK.
class DisplayOptionsModel {
public:
    static constexpr std::string_view kTitle = "Display Options";
    static constexpr std::string_view kTabStopLabel = "Define the unit of Tab-Stop";
    static constexpr std::string_view kRangeMessage = "Available range is 4-30.";
    static constexpr int kMinTabUnit = 4;
    static constexpr int kMaxTabUnit = 30;
    static constexpr int kDefaultTabUnit = 15;

    /// Fills the field from the settings.
    explicit DisplayOptionsModel(Profile& profile);

    const std::string& tabStopText() const { return m_tabStop; }
    void setTabStopText(std::string text) { m_tabStop = std::move(text); }

    /// OK: a field that holds a whole number from 4 to 30 is written, the file is flushed and
    /// the number returned as the tab unit now in effect. Anything else beeps (as
    /// "Options"/"Beep" allows), shows kRangeMessage and returns nullopt, writing nothing.
    std::optional<int> accept(UserInterface& ui);

private:
    Profile& m_profile;
    std::string m_tabStop;
};

/// The tab unit the program starts with: the stored "TabStop" when it is a whole number in
/// range, else the default of 15.
int storedTabUnit(Profile& profile);

/// A whole decimal number from 4 to 30, blanks around it allowed; nullopt otherwise.
std::optional<int> parseTabUnit(std::string_view text);

}  // namespace vellmora
