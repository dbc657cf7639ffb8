#pragma once

#include <string>
#include <string_view>

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kColumnSortDialogTitle = "Sort by Column";
inline constexpr std::string_view kColumnNegativeMessage = "It's impossible(-_-;)";
inline constexpr std::string_view kColumnTooBigMessage = "Even Einstein couldn't do it!(;_;)";
inline constexpr std::string_view kColumnMaxLineMinusMessage =
    "Invalid value. Minus is impossible! Default value is set.";
inline constexpr std::string_view kColumnMaxLineTooBigMessage =
    "Invalid value. Too big number. Default value is set.";

/// The model of the dialog "Sort by Column" (CKetaSortDlg): the column ("Sort by " ... "th
/// Column"), "Alphabetical order" or "Reverse", and the "Max Lines to be sorted" shared with
/// the sort dialog. Column and direction live in section "SortColumn", the line count in
/// "Sort".
class ColumnSortDialogModel {
public:
    /// offeredColumn is the keyword column of the result; maximum the width of the context
    /// part of its lines.
    ColumnSortDialogModel(Profile& profile, UserInterface& ui, int offeredColumn, int maximum);

    /// Takes the beep setting; offers column 40 when the offered one is not within 1 ...
    /// maximum; reads the direction and the line count (a count that is not 1 ... 100000
    /// shows "40000").
    void open();

    int minimum() const { return 1; }
    int maximum() const { return m_maximum; }
    int initialColumn() const { return m_initialColumn; }
    /// "Minimum : 1", "Maximum : %d", "Initial value : %d".
    std::string minimumLine() const;
    std::string maximumLine() const;
    std::string initialValueLine() const;

    const std::string& columnText() const { return m_columnText; }
    /// The user changed the column: full-width digits become ASCII digits; a negative number
    /// beeps (unless silenced) and shows "It's impossible(-_-;)", one above the maximum
    /// "Even Einstein couldn't do it!(;_;)"; both give "40". Returns the text to show.
    const std::string& editColumn(std::string text);

    bool alphabetical() const { return m_alphabetical; }
    bool reverse() const { return !m_alphabetical; }
    /// Exactly one of the two boxes is ticked: ticking one clears the other, clearing one
    /// ticks the other.
    void setAlphabetical(bool ticked) { m_alphabetical = ticked; }
    void setReverse(bool ticked) { m_alphabetical = !ticked; }

    const std::string& maxLineText() const { return m_maxLineText; }
    /// The user changed "Max Lines to be sorted": full-width digits become ASCII digits; a
    /// negative number or one above 100000 beeps (unless silenced), shows its message and
    /// gives "40000". Returns the text to show.
    const std::string& editMaxLine(std::string text);
    /// The small buttons: plus or minus 100; above 100000 gives 100000, below 0 "40000".
    const std::string& stepMaxLine(bool up);

    /// OK: writes "Column" and "Abc" of "SortColumn" and "MaxLine" of "Sort", then flushes.
    void ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    int m_offeredColumn;
    int m_maximum;
    int m_initialColumn = 0;
    std::string m_columnText;
    bool m_alphabetical = true;
    std::string m_maxLineText;
};

}  // namespace vellmora
