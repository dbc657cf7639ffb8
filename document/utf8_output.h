#pragma once

#include <string>
#include <string_view>

namespace vellmora {

/// The content-type line an HTML conversion opens with. It names no character set, so a
/// browser guesses Shift-JIS the way it always has; a page saved as UTF-8 must say so
/// instead, with kHtmlUtf8ContentTypeLine.
inline constexpr std::string_view kHtmlContentTypeLine =
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\r\n";
inline constexpr std::string_view kHtmlUtf8ContentTypeLine =
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n";

/// Shift-JIS text (code page 932) as it goes into a file saved as UTF-8. Every character the
/// code page has becomes the one iconv's CP932 maps it to, so converting the file back gives
/// the same bytes; line-end bytes and every other ASCII byte stay as they are. Each byte
/// that starts no character (a first byte without a valid second one, a pair the code page
/// leaves empty, a stray 0x80, 0xA0 or 0xFD to 0xFF) becomes one U+FFFD, and the bytes
/// after it are read afresh, so a broken character never swallows a line end.
std::string utf8FromSjis(std::string_view sjis);

/// False when this system has no code page 932 converter: a save to UTF-8 must then fail
/// rather than write Shift-JIS bytes under the UTF-8 name.
bool canWriteUtf8();

}  // namespace vellmora
