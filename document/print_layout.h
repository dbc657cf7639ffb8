#pragma once

// The page layout of a printed result, kept apart from painting so that it can be checked
// without a printer: which lines go on which page, where the block stands. Lengths are in a
// hundredth of an inch; line counts are text lines after wrapping.

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;
class UserInterface;

/// Section "Print", read at the start of each job and each page; what does not convert as a
/// decimal number counts as 0.
struct PrintSettings {
    int linesPerPage = 50;  ///< "Line"
    int columns = 70;       ///< "Column": the block's width in average character widths
    int offset = 0;         ///< "Offset": its left edge, in average character widths
    int maxPage = 10;       ///< "MaxPage"
    bool pageNumber = false;  ///< "PageNum": the "Page : %d" header is printed
    int top = 0;   ///< "Top": moves the output to the right
    int left = 0;  ///< "Left": moves the header down

    static PrintSettings read(Profile& profile);
};

/// The pages of a list of lines. textLines(i) tells how many text lines line i takes when it
/// is wrapped to the block's width.
class PrintLayout {
public:
    using TextLines = std::function<int(std::size_t line)>;

    PrintLayout(const PrintSettings& settings, std::size_t lineCount, TextLines textLines);

    /// The pages the list needs, at most MaxPage (and at least one: an empty list prints its
    /// header alone).
    int pageCount() const { return static_cast<int>(m_pageStarts.size()); }
    /// The lines of page n (1 = the first), as [first, end).
    std::pair<std::size_t, std::size_t> linesOf(int page) const;

    /// Where the block stands on the page, in a hundredth of an inch, for an average
    /// character width of averageWidth.
    static int blockLeft(const PrintSettings& settings, int averageWidth) {
        return clampedToInt(settings.top + static_cast<long long>(settings.offset) * averageWidth);
    }
    static int blockWidth(const PrintSettings& settings, int averageWidth) {
        return clampedToInt(static_cast<long long>(settings.columns) * averageWidth);
    }
    /// "Page : %d"
    static std::string header(int page) { return "Page : " + std::to_string(page); }

private:
    /// Hand-edited settings may be near the limits of int: their products stay on the page's
    /// side of them instead of wrapping round.
    static int clampedToInt(long long value) {
        return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    }

    std::vector<std::size_t> m_pageStarts;
    std::vector<std::size_t> m_pageEnds;
};

inline constexpr std::string_view kInvalidPrintValueMessage = "Invalid value.(-_-X)";
inline constexpr std::string_view kPrintOffsetMessage =
    "Invalid Value. Offset should be GREATER than 0 and Less than 20.";

/// The fields of the dialog "Print Option" (CPrintOptionDialog), in the order it shows them.
enum class PrintOptionField { Offset, Columns, Lines, MaxPage };

/// The model of "Print Option": the four numbers as typed, checked as the user leaves each,
/// and "Output page number".
class PrintOptionDialogModel {
public:
    PrintOptionDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads the section.
    void open();

    const std::string& text(PrintOptionField field) const;
    /// Takes a field as it stands, unchecked (OK checks the offset itself).
    void setText(PrintOptionField field, std::string text);
    bool pageNumber() const { return m_pageNumber; }
    void setPageNumber(bool on) { m_pageNumber = on; }

    /// The user left a field: a value out of range beeps (unless silenced), shows its
    /// message and resets the field ("30" lines, "10" pages, "70" columns, "0" offset);
    /// false then.
    bool leaveField(PrintOptionField field, std::string text);

    /// OK: an offset outside 0 to 20 shows its message, keeps the dialog (focus on the
    /// offset) and returns false; otherwise writes the five keys and flushes.
    bool ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    std::string m_texts[4];
    bool m_pageNumber = false;
};

}  // namespace vellmora
