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

/// True when text is valid UTF-8 (no overlong forms, no surrogates) and holds a byte above
/// ASCII. Result lines are Shift-JIS, but the paths they name are this system's, mostly UTF-8;
/// Japanese Shift-JIS text is almost never valid UTF-8, since its kana and most kanji lead
/// bytes (0x81-0x9F) start no UTF-8 character.
bool isUtf8BeyondAscii(std::string_view text);

/// A result line as a person reads it, in UTF-8: a line that isUtf8BeyondAscii (a separator
/// or count line naming a UTF-8 path) as it is, any other converted from Shift-JIS.
std::string resultLineToUtf8(std::string_view line);

}  // namespace vellmora
