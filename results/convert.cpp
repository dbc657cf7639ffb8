#include "results/convert.h"

#include <algorithm>
#include <array>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "results/extract_filter.h"
#include "results/result_source.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::string_view kPrefixEnd = " | ";
constexpr std::string_view kSeparatorStart = "-----[ ";
constexpr std::string_view kSeparatorEnd = " ]-----";
// gettoken writes at most its 999-byte copy and a terminator.
constexpr std::size_t kTokenBufferSize = 1000;
constexpr int kNoPrefixSelector = 1;

/// The marks one layout puts around its cells.
struct LayoutMarks {
    std::string_view rowStart;
    std::string_view open;      ///< before every word
    std::string_view close;     ///< after every word but the last
    std::string_view rowEnd;    ///< after the last word
    std::string_view tagOpen;   ///< before the tag cell
    std::string_view tagClose;  ///< after it, with the separator that follows it
};

constexpr std::array<LayoutMarks, kSpreadsheetLayouts> kMarks = {{
    {"", "\"", "\t", "\r\n", "\"", "\t"},
    {"", "", "\t", "\r\n", "", "\t"},
    {"", "'", "\t", "\r\n", "\"", "\"\t"},
    {"", "\"", ",", "\r\n", "\"", ","},
    {"", "", ",", "\r\n", "", ","},
    {"", "\"", "\",", "\"\r\n", "\"", "\","},
    {"<TR>", "<TD>", "</TD>", "</TD></TR>\r\n", "<TH>", "</TH>"},
}};

std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with("\r\n")) return line.substr(0, line.size() - 2);
    if (line.ends_with('\n')) return line.substr(0, line.size() - 1);
    return line;
}

/// layout as one of the seven, whatever value it was cast from.
SpreadsheetLayout checked(SpreadsheetLayout layout) {
    return layoutFromValue(static_cast<int>(layout));
}

const LayoutMarks& marksOf(SpreadsheetLayout layout) {
    return kMarks[static_cast<std::size_t>(checked(layout))];
}

/// The number of a tag, none when the prefix holds only blanks there.
std::optional<std::string> tagNumber(std::string_view field) {
    const std::string_view digits = withoutLeadingBlanks(field);
    if (digits.empty()) return std::nullopt;
    return std::string(digits);
}

/// Writes the rows of one conversion; the file name of the latest separator carries over
/// from line to line.
class RowMaker {
public:
    explicit RowMaker(const ConversionSpec& spec) : m_spec(spec), m_words(kWordCells) {}

    /// The row of line, or none for a file separator (which names the file instead).
    std::optional<std::string> rowOf(std::string_view line) {
        line = withoutLineEnd(line);
        if (isSeparatorLine(line)) {
            m_currentFile.assign(separatorName(line));
            return std::nullopt;
        }
        std::optional<LineTag> tag;
        const std::size_t bar = line.find(kPrefixEnd);
        if (m_spec.tagInfo && bar != std::string_view::npos)
            tag = tagOfPrefix(line.substr(0, bar), m_spec.formatSelector, m_currentFile);
        readWords(line);
        return spreadsheetRow(m_spec.layout, tag ? &*tag : nullptr, m_words);
    }

private:
    void readWords(std::string_view line) {
        // Lines of the format without prefix may quote " | " in their text: it is not where
        // their context starts.
        if (m_spec.formatSelector == kNoPrefixSelector) {
            m_context.assign(1, ' ');
            m_context.append(line);
        } else {
            lineContext(line, m_context);
        }
        for (int n = -5; n <= 5; ++n) {
            gettoken(n, 0, m_spec.keywordColumn, m_spec.keywordLength, m_context.c_str(),
                     m_token.data());
            m_words[static_cast<std::size_t>(n + 5)].assign(m_token.data());
        }
    }

    const ConversionSpec& m_spec;
    std::string m_currentFile;
    std::string m_context;
    std::vector<std::string> m_words;
    std::array<char, kTokenBufferSize> m_token{};
};

}  // namespace

std::optional<LineTag> tagOfPrefix(std::string_view prefix, int formatSelector,
                                   std::string_view currentFile) {
    LineTag tag;
    switch (formatSelector) {
        case 0:  // "%7ld | %s"
            tag.name.assign(currentFile);
            tag.number = tagNumber(prefix);
            return tag;
        case 10: {  // "%*s:%7ld | %s"; a number of eight digits or more widens its field
            const std::size_t colon = prefix.rfind(':');
            if (colon == std::string_view::npos) break;
            tag.name.assign(withoutLeadingBlanks(prefix.substr(0, colon)));
            tag.number = tagNumber(prefix.substr(colon + 1));
            return tag;
        }
        case 11:  // "%*s | %s"
            break;
        case 20: {  // "%*s(%6ld) | %s"
            const std::size_t open = prefix.rfind('(');
            if (!prefix.ends_with(')') || open == std::string_view::npos) break;
            tag.name.assign(withoutLeadingBlanks(prefix.substr(0, open)));
            tag.number = tagNumber(prefix.substr(open + 1, prefix.size() - open - 2));
            return tag;
        }
        default:
            return std::nullopt;
    }
    // A name without a number, or a prefix whose number part is damaged: the whole of it.
    tag.name.assign(withoutLeadingBlanks(prefix));
    return tag;
}

std::string_view separatorName(std::string_view line) {
    line = withoutLineEnd(line);
    if (!line.starts_with(kSeparatorStart)) return {};
    std::string_view name = line.substr(kSeparatorStart.size());
    if (name.ends_with(kSeparatorEnd)) name.remove_suffix(kSeparatorEnd.size());
    return name;
}

std::string_view cellWord(std::string_view word) {
    std::size_t end = 0;
    while (end < word.size()) {
        const std::size_t next = end + ximo::characterLength(word, end);
        if (next > kMaxCellBytes) break;
        end = next;
    }
    return word.substr(0, end);
}

std::string htmlEscaped(std::string_view text) {
    // None of the three bytes can be the second byte of a double-byte character (those are
    // 0x40 and above), so a byte-wise walk never touches one.
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string spreadsheetRow(SpreadsheetLayout layout, const LineTag* tag,
                           const std::vector<std::string>& words) {
    const LayoutMarks& marks = marksOf(layout);
    const bool html = checked(layout) == SpreadsheetLayout::Html;
    std::string row(marks.rowStart);
    if (tag != nullptr) {
        std::string text = tag->name;
        if (tag->number) text += ":" + *tag->number;
        row += marks.tagOpen;
        row += html ? htmlEscaped(text) : text;
        row += marks.tagClose;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = cellWord(words[i]);
        row += marks.open;
        row += html ? htmlEscaped(word) : std::string(word);
        row += i + 1 < words.size() ? marks.close : marks.rowEnd;
    }
    return row;
}

std::string layoutExample(SpreadsheetLayout layout) {
    std::string row = spreadsheetRow(layout, nullptr, {"one", "two", "three"});
    return std::string(withoutLineEnd(row));
}

ConversionOutcome convertToSpreadsheet(const CExStringList& source, const ConversionSpec& spec,
                                       CExStringList& destination, UserInterface& ui) {
    ConversionOutcome outcome;
    CExStringList converted;
    const bool html = checked(spec.layout) == SpreadsheetLayout::Html;
    if (html)
        for (std::string_view line : kHtmlHead) converted.addTail(line);

    RowMaker rows(spec);
    for (const std::string& line : source) {
        ui.pump();
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            outcome.rows = 0;
            return outcome;
        }
        std::optional<std::string> row = rows.rowOf(line);
        if (!row) continue;
        converted.addTail(std::move(*row));
        ++outcome.rows;
    }

    if (html)
        for (std::string_view line : kHtmlTail) converted.addTail(line);
    destination = std::move(converted);
    return outcome;
}

}  // namespace vellmora
