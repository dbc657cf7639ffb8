#pragma once

// The Shift-JIS byte classes as inline functions, for the library's sources and
// for any layer that walks Shift-JIS text without a call per byte.

#include <cstddef>

namespace ximo {

inline unsigned char byteAt(const char* s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

inline bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
inline bool isTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

inline bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool isUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
inline bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
inline bool isLetter(unsigned char c) { return isUpper(c) || isLower(c); }
inline bool isLetterOrDigit(unsigned char c) { return isLetter(c) || isDigit(c); }
inline bool isSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
inline bool isPunct(unsigned char c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}
/// A byte that ends a word: ASCII punctuation or white space.
inline bool isSeparator(unsigned char c) { return isPunct(c) || isSpace(c); }

inline unsigned char toLower(unsigned char c) { return isUpper(c) ? c + ('a' - 'A') : c; }
inline unsigned char toUpper(unsigned char c) { return isLower(c) ? c - ('a' - 'A') : c; }

/// Byte length of the character that starts at s[i]: 2 for a lead byte
/// followed by any byte but the terminator, else 1; 0 at the terminator and
/// for a lead byte right before it, which ends the string.
inline std::size_t charLength(const char* s, std::size_t i) {
    unsigned char c = byteAt(s, i);
    if (c == 0) return 0;
    if (isLeadByte(c)) return s[i + 1] != 0 ? 2 : 0;
    return 1;
}

}  // namespace ximo
