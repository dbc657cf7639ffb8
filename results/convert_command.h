#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "document/result_document.h"
#include "results/convert.h"
#include "results/result_source.h"

namespace vellmora {

class SpreadsheetDialogModel;

inline constexpr std::string_view kConvertBusyTitle = "<< Now Converting...>>";
/// The line width a view takes after a conversion in the first layout.
inline constexpr int kTsvLineWidth = 195;

/// What the view knows of the result a conversion reads.
struct ConversionInput {
    ResultKind source = ResultKind::Original;  ///< the kind the view shows last
    int keywordColumn = 1;                     ///< K of the result's layout
    int keywordLength = 0;                     ///< K1 of its search
    int formatSelector = 0;                    ///< the prefix format of its lines
};

/// How a conversion command ended.
enum class ConversionCommandEnd {
    Refused,    ///< busy: the busy message was shown
    Cancelled,  ///< the dialog was cancelled
    Stopped,    ///< a cancel request stopped the run; no list changed
    Done,
};

struct ConversionCommandResult {
    ConversionCommandEnd end = ConversionCommandEnd::Refused;
    ConversionOutcome run;
    /// Widest byte length of each tab-separated column of the converted list (when Done).
    std::vector<std::int64_t> columnWidths;
    /// The view's new line width: kTsvLineWidth after the first layout, else none.
    std::optional<int> lineWidth;
};

/// Shows the opened dialog; true when the user confirmed it. The command stores its values.
using ConversionDialogStep = std::function<bool(SpreadsheetDialogModel&)>;

/// The step of the batch front end: the dialog confirmed as it opened.
bool confirmConversionUnchanged(SpreadsheetDialogModel& dialog);

/// The command "Convert to TSV,CSV...": refuses while busy, shows the dialog and stores it,
/// then, with "<< Now Converting...>>" in the title and the wait cursor, converts the source
/// list into the document's TSV/CSV list, makes that the shown kind and pushes it onto the
/// display history, and redisplays.
ConversionCommandResult runConvertCommand(
    const ResultCommandPlace& place, const ConversionInput& input,
    const ConversionDialogStep& showDialog = confirmConversionUnchanged);

}  // namespace vellmora
