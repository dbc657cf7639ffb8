#pragma once

#include <string>
#include <string_view>

namespace vellmora {

class CExStringList;
class UserInterface;
struct ExtractionOptions;

/// Where the keyword of a KWIC result line stands: the keyword column L of the result's
/// layout and the byte length of the search's keyword 1 (for a word group, of its name).
struct KeywordAnchor {
    int column = 0;  ///< L: the keyword's first byte in a line's context
    int length = 0;  ///< K1
};

/// The text the extraction tests of a result line, into out: from the blank that ends the
/// line's first " | ", or the whole line after one blank when it has none, so that the
/// keyword stands at the anchor column either way; without the line end.
void lineContext(std::string_view line, std::string& out);

/// The keep decision of an extraction.
class ExtractionLineTest {
public:
    virtual ~ExtractionLineTest() = default;
    /// Whether the line whose context (lineContext) this is stays in the extracted result.
    virtual bool keeps(const std::string& context) = 0;
};

/// Which file separator lines an extraction copies.
struct SeparatorRule {
    bool outputAll = true;     ///< every one, where it stands
    bool matchedOnly = false;  ///< a file's separator just before its first kept line
};
SeparatorRule separatorRuleOf(const ExtractionOptions& options);

struct FilterOutcome {
    bool cancelled = false;
    int kept = 0;  ///< lines the test kept, separators not counted
};

/// Runs every line of source through the test and puts the kept lines and the separators the
/// rule asks for into destination, each ending with "\r\n"; what destination held is
/// replaced only when every line was seen, so source may be destination (an extracted result
/// extracted again) and a cancelled run changes nothing. Pumps the user interface once per
/// line and stops when a cancel is requested.
FilterOutcome filterLines(const CExStringList& source, CExStringList& destination,
                          ExtractionLineTest& test, SeparatorRule rule, UserInterface& ui);

}  // namespace vellmora
