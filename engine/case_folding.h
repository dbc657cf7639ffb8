#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "textlib/sjis.h"

namespace vellmora {

/// Copies src[0, length) to dst lower-casing ASCII letters, with exactly the result of the
/// library's mbstrlwr: double-byte characters pass untouched. Eight ASCII bytes at a time,
/// because a search that ignores case folds every line of the corpus.
inline void lowerCaseCopy(char* dst, const char* src, std::size_t length) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    constexpr std::uint64_t kToA = 0x3F3F3F3F3F3F3F3FULL;      // 0x80 - 'A' in every byte
    constexpr std::uint64_t kPastZ = 0x2525252525252525ULL;    // 0x80 - ('Z' + 1)
    std::size_t i = 0;
    while (i < length) {
        if (i + 8 <= length) {
            std::uint64_t word;
            std::memcpy(&word, src + i, 8);
            if ((word & kHighBits) == 0) {
                // A byte's high bit after the additions: at least 'A', and past 'Z'.
                std::uint64_t capitals = ((word + kToA) ^ (word + kPastZ)) & kHighBits;
                word |= capitals >> 2;  // 0x80 >> 2 is the 0x20 between the cases
                std::memcpy(dst + i, &word, 8);
                i += 8;
                continue;
            }
        }
        unsigned char c = static_cast<unsigned char>(src[i]);
        if (ximo::isLeadByte(c) && i + 1 < length) {
            dst[i] = src[i];
            dst[i + 1] = src[i + 1];
            i += 2;
        } else {
            dst[i] = static_cast<char>(ximo::toLower(c));
            ++i;
        }
    }
}

}  // namespace vellmora
