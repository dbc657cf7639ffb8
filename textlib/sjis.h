#pragma once

// The Shift-JIS byte classes as inline functions, for the library's sources and
// for any layer that walks Shift-JIS text without a call per byte.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

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

/// Bytes of the character at i of s: 2 for a lead byte with a byte after it, else 1.
inline std::size_t characterLength(std::string_view s, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

/// Reverses s character by character: double-byte characters stay whole. A lead byte at the
/// very end has no second byte and moves as a byte of its own. Searching a reversed text for
/// a reversed word finds words leftward without splitting a character.
inline void reverseCharacters(std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t step = characterLength(s, i);
        if (step == 2) std::swap(s[i], s[i + 1]);
        i += step;
    }
    std::reverse(s.begin(), s.end());
}

inline std::string reversedCharacters(std::string_view s) {
    std::string reversed(s);
    reverseCharacters(reversed);
    return reversed;
}

}  // namespace ximo
