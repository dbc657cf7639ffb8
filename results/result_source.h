#pragma once

#include "document/result_document.h"

namespace vellmora {

/// The list a result command (sort, extraction, statistics) reads: the kind the window shows
/// last, the first entry of the display history. A history entry outside the five kinds (a
/// damaged formatted file) reads the search result.
ResultKind sourceKindOf(const DisplaySnapshot& snapshot);

}  // namespace vellmora
