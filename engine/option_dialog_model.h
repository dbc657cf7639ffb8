#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vellmora {

class Profile;
class UserInterface;
struct SettingKey;

inline constexpr std::string_view kOptionDialogTitle = "Serch Option";

inline constexpr std::string_view kMinusIgnoredCharsMessage = "Do not enter minus value...";
inline constexpr std::string_view kTooManyIgnoredCharsMessage = "Too big number!!";
inline constexpr std::string_view kMinusMaxLineMessage =
    "Invalid value. Minus is impossible! Default value is set.";
inline constexpr std::string_view kTooBigMaxLineMessage =
    "Invalid value. Too big number. Default value is set.";
inline constexpr std::string_view kWidthRangeMessage = "Available range is 30-256!";
inline constexpr std::string_view kOffsetTooBigMessage = "Enter smaller number!";

/// The check boxes (and radio-like choices) of the options dialog, each standing for one
/// integer key of section "Options".
// clang-format off
enum class OptionCheck {
    KW1Both, KW1Mae, KW1Ato, KW1Alnum, KW1Hyph, KW1Apo,
    KW2Both, KW2Mae, KW2Ato, KW2Alnum, KW2Hyph, KW2Apo,
    IgnoreCase, LineNumber, Crlf, NoCrlf, Count, CountMatched, Beep,
    Separator, SepMatched, NoSeparator, TagAsIs, TagFName, TagForm,
    DelSpace1, DelSpace3, CtrlCode, NoDialog, OffsetLeft, OffsetRight,
    Subdir, Exclude, JisToSjis, EucToSjis, Utf8ToSjis, AutoCode, DeHtml, Grep, OneLine,
};
// clang-format on
inline constexpr int kOptionCheckCount = static_cast<int>(OptionCheck::OneLine) + 1;

/// The text fields of the options dialog, each a numeric option stored as text.
enum class OptionText { IgnoreKeta, Xsize, Offset, MaxLine };
inline constexpr int kOptionTextCount = static_cast<int>(OptionText::MaxLine) + 1;

/// The caption the dialog shows for a control, and the key it reads and writes.
std::string_view controlText(OptionCheck check);
std::string_view controlText(OptionText text);
const SettingKey& settingKeyOf(OptionCheck check);
const SettingKey& settingKeyOf(OptionText text);

/// The model of the KWIC options dialog (COptionDialog): every control of section "Options"
/// that it edits, the checks made while a field is edited and on OK, and the writes of OK.
///
/// Some controls are alternatives and setCheck() keeps them so: ticking one clears the
/// others of its group.
/// - one of the five file marks: "Output all" (Separator), "matched files only"
///   (SepMatched), "never output" (NoSeparator), "With directory" (TagAsIs), "Filename only"
///   (TagFName); the run reads them as one choice, so exactly one is on;
/// - one of "Leftward" and "Rightward"; exactly one is on;
/// - at most one word position per keyword ("@Both@", "@Head", "Tail@");
/// - "Default Setting" against the two delimiter exclusions (which may go together);
/// - at most one of "Express CR/LF by Space" and "Ignore CR/LF";
/// - at most one code conversion, "Auto" (each file's own) included: the conversions would
///   otherwise run one over the output of the other.
/// Clearing a member of a group that needs one on does nothing, as with radio buttons.
class OptionDialogModel {
public:
    OptionDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads every control with its catalogue default. Values a
    /// hand edit left inconsistent are shown as the run reads them (for two word positions,
    /// the one that wins in the run).
    void open();

    bool check(OptionCheck check) const { return m_checks[index(check)]; }
    /// Ticks or clears a control, keeping its group consistent.
    void setCheck(OptionCheck check, bool on);
    /// Whether the view lets the user change the control now:
    /// - the delimiter choices only with "@Both@" or "Tail@" (they concern the byte after the
    ///   keyword, which "@Head" and no position never look at);
    /// - "Matched files ONLY" only with "Count All Files";
    /// - the compiler-compatible tag format only with a tag format chosen.
    bool isEnabled(OptionCheck check) const;

    const std::string& text(OptionText field) const { return m_texts[index(field)]; }
    /// The user changed a text field: takes the text and makes the checks of a field being
    /// edited. Returns false when it showed a message; "Max Result Lines" is then back at
    /// "100000" at once, while a chars-ignored value stays for the user to correct.
    bool editText(OptionText field, std::string text);

    /// OK: the checks in order (width, offset, chars ignored, result lines); the first
    /// failure beeps unless silenced, shows its message and returns false with focus()
    /// naming the field, and nothing is stored. Otherwise empty or zero entries take their
    /// defaults, every control is written (the text fields as text), the file is flushed,
    /// the beep rule follows the new "Disable BEEP", and true is returned. The caller
    /// re-reads the options snapshot.
    bool ok();
    /// The field the last failed ok() wants focused.
    std::optional<OptionText> focus() const { return m_focus; }

private:
    static std::size_t index(OptionCheck check) { return static_cast<std::size_t>(check); }
    static std::size_t index(OptionText field) { return static_cast<std::size_t>(field); }

    void set(OptionCheck check, bool on) { m_checks[index(check)] = on; }
    /// The width the other fields are measured against: the Xsize entry, 80 when empty/zero.
    int effectiveWidth() const;
    bool refuse(std::string_view message, OptionText field);
    void clearUnusableDelimiters();

    Profile& m_profile;
    UserInterface& m_ui;
    std::array<bool, kOptionCheckCount> m_checks{};
    std::array<std::string, kOptionTextCount> m_texts;
    std::optional<OptionText> m_focus;
};

}  // namespace vellmora
