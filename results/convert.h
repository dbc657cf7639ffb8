#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/utf8_output.h"

namespace vellmora {

class CExStringList;
class UserInterface;

/// The seven layouts of a conversion, numbered as "SpreadSheet"/"Mode" stores them.
enum class SpreadsheetLayout : int {
    Tsv1 = 0,  ///< "Tab Separated Value(1)": "word TAB
    Tsv2 = 1,  ///< "Tab Separated Value(2)": word TAB
    Tsv3 = 2,  ///< "Tab Separated Value(3)": 'word TAB
    Csv1 = 3,  ///< "Comma Separated Value(1)": "word ,
    Csv2 = 4,  ///< "Comma Separated Value(2)": word ,
    Csv3 = 5,  ///< "Comma Separated Value(3)": "word",
    Html = 6,  ///< "HTML Format": <TD>word</TD>
};

inline constexpr int kSpreadsheetLayouts = 7;

/// The layout a stored "Mode" names; a value outside 0 to 6 (a hand-edited file) names the
/// first one.
constexpr SpreadsheetLayout layoutFromValue(int value) {
    return value >= 0 && value < kSpreadsheetLayouts ? static_cast<SpreadsheetLayout>(value)
                                                     : SpreadsheetLayout::Tsv1;
}

/// The most bytes a cell holds; a longer word is cut at a character boundary.
inline constexpr std::size_t kMaxCellBytes = 49;
/// Word cells per row: L5 ... L1, the keyword's word, R1 ... R5.
inline constexpr int kWordCells = 11;

/// The lines of an HTML conversion before the first row and after the last.
inline constexpr std::string_view kHtmlHead[] = {
    "<HTML>\r\n",
    "<HEAD>\r\n",
    kHtmlContentTypeLine,
    "<META NAME=\"Generator\" CONTENT=\"Vellmora for Win32\">\r\n",
    "<TITLE>\r\n",
    "Result produced by Vellmora\r\n",
    "</TITLE>\r\n",
    "</HEAD>\r\n",
    "<BODY>\r\n",
    "<TABLE BORDER=3>\r\n",
};
inline constexpr std::string_view kHtmlTail[] = {"</TABLE>\r\n", "</BODY>\r\n", "</HTML>\r\n"};

/// What a conversion runs with: the dialog's choices and what the result's layout says of
/// its lines.
struct ConversionSpec {
    SpreadsheetLayout layout = SpreadsheetLayout::Tsv1;
    bool tagInfo = false;    ///< "Output Filename and Line Number"
    int keywordColumn = 1;   ///< K: the keyword's first byte in a line's context
    int keywordLength = 0;   ///< K1 of the search
    int formatSelector = 0;  ///< the prefix format of the lines: 0, 1, 10, 11 or 20
};

/// The file name and line number a hit line's prefix carries.
struct LineTag {
    std::string name;
    std::optional<std::string> number;  ///< digits only; none for a prefix without one
};

/// Reads the tag of a hit line from its prefix (the text before its first " | ") by the
/// result's prefix format; currentFile is the name of the latest separator line, which
/// lines with a number only belong to. The right-aligned name field loses its leading
/// blanks, the number its padding. None for format 1 (its lines have no prefix) and for a
/// selector the layout never writes.
std::optional<LineTag> tagOfPrefix(std::string_view prefix, int formatSelector,
                                   std::string_view currentFile);

/// The name a file separator line "-----[ name ]-----" carries, line end or not.
std::string_view separatorName(std::string_view line);

/// word cut to at most kMaxCellBytes bytes without splitting a double-byte character.
std::string_view cellWord(std::string_view word);

/// text with "&", "<" and ">" written as character references, so that a word never opens a
/// tag in the HTML table. Both bytes of a double-byte character are left alone.
std::string htmlEscaped(std::string_view text);

/// The row of one hit line: the tag cell (when given) and the eleven word cells in layout,
/// with the row end.
std::string spreadsheetRow(SpreadsheetLayout layout, const LineTag* tag,
                           const std::vector<std::string>& words);

/// What the dialog shows beside a layout's radio button: three words as that layout writes
/// them, without the row end.
std::string layoutExample(SpreadsheetLayout layout);

struct ConversionOutcome {
    bool cancelled = false;  ///< stopped on request: destination is as it was
    int rows = 0;            ///< rows written, one per line that is not a separator
};

/// Converts every line of source into destination (which may be source): a file separator
/// gives no row but names the file of the lines after it; every other line gives one row.
/// The HTML layout puts the document frame around the rows. Pumps once per line; on a
/// cancel request it stops and leaves destination as it was.
ConversionOutcome convertToSpreadsheet(const CExStringList& source, const ConversionSpec& spec,
                                       CExStringList& destination, UserInterface& ui);

}  // namespace vellmora
