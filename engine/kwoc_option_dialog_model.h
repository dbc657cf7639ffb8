#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kKwocContextRangeMessage = "Available range is 0-5.";
inline constexpr std::string_view kKwocNoContextQuestion = "Set options not to output context?";

/// The two line counts of the KWOC Option dialog, each stored as text in "KWOCOptions".
enum class KwocContextField { Before, After };

/// The caption of a control of the dialog.
std::string_view controlText(KwocContextField field);
inline constexpr std::string_view kKwocSeparatorControlText = "Out put Separator of files";

/// The model of the KWOC Option dialog: lines of context before and after each matched line
/// (ContextMae, ContextAto, 0 to 5) and "Out put Separator of files" (SepMatched), which only
/// makes sense without context lines.
class KwocOptionDialogModel {
public:
    KwocOptionDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads the three keys with their defaults.
    void open();

    const std::string& text(KwocContextField field) const { return m_texts[index(field)]; }
    /// The user changed a count: takes the text; a value outside 0-5 beeps (unless silenced),
    /// shows "Available range is 0-5." and returns false, the text staying for correction.
    bool editText(KwocContextField field, std::string text);

    bool separatorOfFiles() const { return m_separatorOfFiles; }
    /// Ticks or clears "Out put Separator of files". Ticking it while a count is not 0 asks
    /// "Set options not to output context?": OK sets both counts to "0" and keeps the tick,
    /// Cancel leaves the box clear. Returns whether the box is ticked afterwards.
    bool setSeparatorOfFiles(bool on);

    /// OK: both counts must lie in 0-5 (the first that does not beeps, shows the range
    /// message, is named by focus() and nothing is stored); an empty count becomes "0". Then
    /// the three keys are written and the file flushed.
    bool ok();
    std::optional<KwocContextField> focus() const { return m_focus; }

private:
    static std::size_t index(KwocContextField field) { return static_cast<std::size_t>(field); }
    bool hasContext() const;

    Profile& m_profile;
    UserInterface& m_ui;
    std::array<std::string, 2> m_texts;
    bool m_separatorOfFiles = false;
    std::optional<KwocContextField> m_focus;
};

}  // namespace vellmora
