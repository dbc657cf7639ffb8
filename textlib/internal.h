#pragma once

// Helpers shared by the library's sources; not exported.

#include <cstddef>

#include "textlib/sjis.h"

namespace ximo {

/// Length of s as the character walk sees it: a lead byte right before the
/// terminator is not part of the text.
std::size_t walkLength(const char* s);

/// Copies at most limit bytes of s to out, cut at a character boundary, and
/// terminates it; out must hold limit + 1 bytes. Returns the copied length.
std::size_t copyWholeCharacters(char* out, const char* s, std::size_t limit);

/// Reverses s[0, length) in place character by character: double-byte
/// characters keep their byte order.
void reverseCharacters(char* s, std::size_t length);

/// First occurrence of needle[0, needleLength) in hay[0, hayLength), byte-wise.
const char* findBytes(const char* hay, std::size_t hayLength, const char* needle,
                      std::size_t needleLength);

}  // namespace ximo
