#pragma once

#include <array>
#include <string_view>

#include "document/text_save.h"

namespace vellmora {

class Profile;

/// The boxes of "Save Options", in the dialog's order.
enum class SaveOptionBox {
    DispOnly,      ///< "Displayed Result Only"
    SaveAll,       ///< "Save All" (group "Selected only" from here on)
    Disp,          ///< "Displayed Result"
    SearchResult,  ///< "Result of Search"
    Sorted,        ///< "Sorted Result"
    Extracted,     ///< "Extracted Result"
    Colloq,        ///< "Collocation Statistics"
    Spreadsheet,   ///< "TSV,CSV"
};

inline constexpr int kSaveOptionBoxes = 8;
inline constexpr std::string_view kSaveOptionsTitle = "Save Options";
inline constexpr std::string_view kSelectedOnlyGroup = "Selected only";
/// The box beside the eight: how the text is written, not what, so no rule ties it to them.
inline constexpr std::string_view kSaveAsUtf8Label = "Save as UTF-8";

/// The model of the dialog "Save Options" (CSaveOptionDialog): eight check boxes bound to
/// section "SaveOptions", kept consistent as the user checks them, and "Save as UTF-8".
class SaveOptionsDialogModel {
public:
    explicit SaveOptionsDialogModel(Profile& profile);

    static std::string_view label(SaveOptionBox box);
    /// The settings key of box in section "SaveOptions".
    static std::string_view key(SaveOptionBox box);

    /// Reads the nine keys: a box is checked when its key is 1.
    void open();
    bool checked(SaveOptionBox box) const { return m_checked[index(box)]; }
    bool utf8() const { return m_utf8; }
    void setUtf8(bool on) { m_utf8 = on; }
    /// The user checks or clears box. "Save All" clears every other box; "Displayed Result
    /// Only" clears "Save All"; a single result clears "Save All" and "Displayed Result
    /// Only"; with no box left checked, "Displayed Result Only" is checked again.
    void setChecked(SaveOptionBox box, bool on);
    /// OK: writes the nine keys ("UTF8" last) and flushes the file; false when the file could
    /// not be written.
    bool confirm();

    /// What a save to text would write with the boxes as they stand.
    TextSaveOptions options() const;

private:
    static int index(SaveOptionBox box) { return static_cast<int>(box); }

    Profile& m_profile;
    std::array<bool, kSaveOptionBoxes> m_checked{true};
    bool m_utf8 = false;
};

}  // namespace vellmora
