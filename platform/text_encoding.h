#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellmora {

/// Shift-JIS (code page 932) text as UTF-8, for the places a person reads it. Bytes that are
/// no code page 932 character come out as U+FFFD, so nothing is dropped silently.
std::string sjisToUtf8(std::string_view sjis);

/// UTF-8 text as Shift-JIS, for what a person typed; nullopt when the text is not valid
/// UTF-8 or holds a character code page 932 lacks.
std::optional<std::string> utf8ToSjisText(std::string_view utf8);

}  // namespace vellmora
