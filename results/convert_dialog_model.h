#pragma once

#include <string_view>

#include "results/convert.h"

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kConversionDialogTitle = "Conversion to TSV.CSV";
inline constexpr std::string_view kTagInfoLabel = "Output Filename and Line Number";

/// The caption of a layout's radio button, in dialog order.
std::string_view layoutLabel(SpreadsheetLayout layout);

/// The model of the dialog "Conversion to TSV.CSV" (CSpreadSheetDialog): the layout and
/// "Output Filename and Line Number", kept in section "SpreadSheet".
class SpreadsheetDialogModel {
public:
    SpreadsheetDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads "Mode" and "TagInfo"; a stored mode outside the
    /// seven layouts shows the first, a "TagInfo" other than 1 leaves the box clear.
    void open();

    SpreadsheetLayout layout() const { return m_layout; }
    void setLayout(SpreadsheetLayout layout) {
        m_layout = layoutFromValue(static_cast<int>(layout));
    }
    bool tagInfo() const { return m_tagInfo; }
    void setTagInfo(bool on) { m_tagInfo = on; }

    /// OK: writes "Mode" and "TagInfo" and flushes the settings file.
    void ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    SpreadsheetLayout m_layout = SpreadsheetLayout::Tsv1;
    bool m_tagInfo = false;
};

}  // namespace vellmora
