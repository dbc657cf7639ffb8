#pragma once

#include <string_view>

#include "textlib/sjis.h"

namespace vellmora {

/// True when a and b are equal once the single-byte ASCII letters A to Z are folded; every
/// byte of a double-byte character compares exactly. A byte-wise fold would treat a second
/// byte in 0x41-0x5A as a capital and merge different Japanese words (ア 0x83 0x41 and
/// ヂ 0x83 0x61).
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        // Equal lead bytes keep both strings on the same character boundaries.
        if (ximo::isLeadByte(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            i += 2;
            continue;
        }
        if (ximo::toLower(ca) != ximo::toLower(cb)) return false;
        ++i;
    }
    return true;
}

}  // namespace vellmora
