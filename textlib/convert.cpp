// EUC-JP and ISO-2022-JP lines to Shift-JIS, in place.

#include <cstring>

#include "textlib/internal.h"
#include "textlib/ximo.h"

namespace ximo {
namespace {

// A character JIS X 0208 cannot give: the geta mark keeps the rest of the
// line intact and searchable.
constexpr unsigned char kGetaLead = 0x81;
constexpr unsigned char kGetaTrail = 0xAC;

bool isJisByte(unsigned c) { return c >= 0x21 && c <= 0x7E; }

/// Writes the Shift-JIS form of the JIS X 0208 code (j1, j2) at out[0..1].
void jisToSjis(unsigned j1, unsigned j2, char* out) {
    if (!isJisByte(j1) || !isJisByte(j2)) {
        out[0] = static_cast<char>(kGetaLead);
        out[1] = static_cast<char>(kGetaTrail);
        return;
    }
    unsigned trail;
    if (j1 % 2 == 1) {
        trail = j2 < 0x60 ? j2 + 0x1F : j2 + 0x20;
    } else {
        trail = j2 + 0x7E;
    }
    unsigned lead = (j1 - 1) / 2 + (j1 < 0x5F ? 0x71 : 0xB1);
    out[0] = static_cast<char>(lead);
    out[1] = static_cast<char>(trail);
}

bool startsEucUnit(unsigned char c) { return c >= 0x8E && c <= 0xFE && c != 0x8F && c != 0xA0; }

bool isEscape(const char* s, char second, char third) {
    return s[0] == '\x1B' && s[1] == second && s[2] == third;
}
bool startsDoubleByteRun(const char* s) { return isEscape(s, '$', '@') || isEscape(s, '$', 'B'); }
bool endsDoubleByteRun(const char* s) { return isEscape(s, '(', 'J') || isEscape(s, '(', 'B'); }

}  // namespace
}  // namespace ximo

using namespace ximo;

extern "C" {

char* euc2sjis(char* s) {
    std::size_t r = 0;
    std::size_t w = 0;
    while (s[r] != '\0') {
        unsigned char c = byteAt(s, r);
        unsigned char next = byteAt(s, r + 1);
        if (c == 0x8F && next >= 0xA1 && byteAt(s, r + 2) >= 0xA1) {
            // A JIS X 0212 character (three bytes) has no Shift-JIS form.
            s[w++] = static_cast<char>(kGetaLead);
            s[w++] = static_cast<char>(kGetaTrail);
            r += 3;
        } else if (!startsEucUnit(c) || next == 0) {
            s[w++] = s[r++];
        } else if (c == 0x8E) {
            s[w++] = static_cast<char>(next);  // half-width katakana
            r += 2;
        } else {
            jisToSjis(c - 0x80u, next - 0x80u, s + w);
            w += 2;
            r += 2;
        }
    }
    s[w] = '\0';
    return s;
}

char* jis2sjis(char* s) {
    std::size_t r = 0;
    std::size_t w = 0;
    bool inRun = false;
    while (s[r] != '\0') {
        if (startsDoubleByteRun(s + r)) {
            inRun = true;
            r += 3;
        } else if (inRun && endsDoubleByteRun(s + r)) {
            inRun = false;
            r += 3;
        } else if (inRun) {
            if (s[r + 1] == '\0') break;  // a lone byte before the end is dropped
            jisToSjis(byteAt(s, r), byteAt(s, r + 1), s + w);
            w += 2;
            r += 2;
        } else {
            s[w++] = s[r++];
        }
    }
    s[w] = '\0';
    return s;
}

}  // extern "C"
