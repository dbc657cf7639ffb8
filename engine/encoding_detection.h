#pragma once

#include <cstddef>
#include <string_view>

namespace vellmora {

/// The encodings a corpus file may be read as. The search works in Shift-JIS: the others are
/// converted line by line.
enum class InputEncoding { ShiftJis, Utf8, EucJp, Iso2022Jp };

/// The most of a file's first bytes detectInputEncoding looks at.
inline constexpr std::size_t kDetectionPrefixBytes = 64 * 1024;

/// Tells a file's encoding from its first bytes (at most kDetectionPrefixBytes are looked at;
/// a character cut by the end of the prefix counts for nothing): a UTF-8 byte-order mark, an
/// ISO-2022-JP escape sequence, well-formed UTF-8 with several multi-byte characters, or
/// bytes that pair as EUC-JP and clearly not as Shift-JIS. Anything else, ASCII-only, short
/// and ambiguous text included, is Shift-JIS, which is what the file was read as before.
InputEncoding detectInputEncoding(std::string_view prefix);

/// "Shift-JIS", "UTF-8", "EUC-JP" or "ISO-2022-JP".
std::string_view inputEncodingName(InputEncoding encoding);

}  // namespace vellmora
