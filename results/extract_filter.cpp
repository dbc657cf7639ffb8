#include "results/extract_filter.h"

#include <utility>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "results/extract_options.h"
#include "results/result_source.h"

namespace vellmora {
namespace {

constexpr std::string_view kPrefixEnd = " | ";

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

/// line with "\r\n" at its end, whatever end it came with (a line of a damaged file may
/// have none).
std::string withLineEnd(std::string_view line) {
    std::string stored;
    std::string_view text = withoutLineEnd(line);
    stored.reserve(text.size() + 2);
    stored.append(text);
    stored.append("\r\n");
    return stored;
}

}  // namespace

void lineContext(std::string_view line, std::string& out) {
    line = withoutLineEnd(line);
    const std::size_t bar = line.find(kPrefixEnd);
    if (bar != std::string_view::npos) {
        out.assign(line.substr(bar + 2));
    } else {
        out.assign(1, ' ');
        out.append(line);
    }
}

SeparatorRule separatorRuleOf(const ExtractionOptions& options) {
    return {options.sep, options.sepMatched};
}

FilterOutcome filterLines(const CExStringList& source, CExStringList& destination,
                          ExtractionLineTest& test, SeparatorRule rule, UserInterface& ui) {
    FilterOutcome outcome;
    CExStringList extracted;
    std::string context;
    std::string_view pending;  // the latest separator not copied yet; source outlives it
    bool separatorPending = false;

    for (const std::string& line : source) {
        ui.pump();
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            return outcome;
        }
        if (isSeparatorLine(line)) {
            if (rule.outputAll) {
                extracted.addTail(withLineEnd(line));
            } else {
                pending = line;
                separatorPending = true;
            }
            continue;
        }
        lineContext(line, context);
        if (!test.keeps(context)) continue;
        if (rule.matchedOnly && separatorPending) {
            extracted.addTail(withLineEnd(pending));
            separatorPending = false;
        }
        extracted.addTail(withLineEnd(line));
        ++outcome.kept;
    }
    destination = std::move(extracted);
    return outcome;
}

}  // namespace vellmora
