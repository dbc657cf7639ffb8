#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

/// The byte strings one of which every match of a regular expression (the engine's Ruby
/// syntax, Shift-JIS) holds: the longest literal each top-level alternative requires. Empty
/// when no such set can be named — an alternative without a required literal, more than
/// maxAlternatives alternatives, or any construct the reading below does not understand
/// (inline options, look-arounds, numbered and property escapes, ...): the caller then
/// searches every line.
///
/// With ignoreCase only ASCII characters count as literal: which other characters the engine
/// folds is its own affair. unusableBytes never stand in a literal: bytes the searched line may
/// hold where the file does not (a blank that was a TAB, the line-end marker).
std::vector<std::string> requiredLiterals(std::string_view pattern, bool ignoreCase,
                                          std::string_view unusableBytes,
                                          std::size_t maxAlternatives = 8);

}  // namespace vellmora
