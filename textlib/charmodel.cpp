// The character model and the plain string operations.

#include <cstring>

#include "textlib/internal.h"
#include "textlib/ximo.h"

namespace ximo {

std::size_t walkLength(const char* s) {
    std::size_t i = 0;
    while (std::size_t step = charLength(s, i)) i += step;
    return i;
}

std::size_t copyWholeCharacters(char* out, const char* s, std::size_t limit) {
    std::size_t i = 0;
    while (std::size_t step = charLength(s, i)) {
        if (i + step > limit) break;
        i += step;
    }
    std::memcpy(out, s, i);
    out[i] = '\0';
    return i;
}

void reverseCharacters(char* s, std::size_t length) {
    // Swap the bytes of each double-byte character, then reverse all bytes:
    // every character comes out whole, in its own byte order.
    std::size_t i = 0;
    while (i < length) {
        std::size_t step = (isLeadByte(byteAt(s, i)) && i + 1 < length) ? 2 : 1;
        if (step == 2) {
            char lead = s[i];
            s[i] = s[i + 1];
            s[i + 1] = lead;
        }
        i += step;
    }
    for (std::size_t a = 0, b = length; a + 1 < b; ++a, --b) {
        char t = s[a];
        s[a] = s[b - 1];
        s[b - 1] = t;
    }
}

const char* findBytes(const char* hay, std::size_t hayLength, const char* needle,
                      std::size_t needleLength) {
    if (needleLength == 0) return hay;
    return static_cast<const char*>(memmem(hay, hayLength, needle, needleLength));
}

namespace {

/// Offset where the character walk of s reaches or passes n, or stops short
/// of it at the end of the text.
std::size_t walkTo(const char* s, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        std::size_t step = charLength(s, i);
        if (step == 0) break;
        i += step;
    }
    return i;
}

int classifyDoubleByte(unsigned lead, unsigned trail) {
    unsigned code = lead * 256 + trail;
    bool legal = isLeadByte(static_cast<unsigned char>(lead)) &&
                 isTrailByte(static_cast<unsigned char>(trail));
    if (legal && ((code >= 0x889F && code <= 0x9872) || (code >= 0x989F && code <= 0xEA9E)))
        return 5;
    if (code >= 0x829F && code <= 0x82F1) return 4;
    if (code == 0x815B || (code >= 0x8340 && code <= 0x8396 && code != 0x837F)) return 3;
    if (code >= 0x824F && code <= 0x8294) return 6;
    if (legal && code <= 0x889E) return 7;
    return 10;
}

int classifySingleByte(unsigned char c) {
    if (isPunct(c) || (c >= 0xA1 && c <= 0xA5)) return 1;
    if (isLetterOrDigit(c)) return 0;
    if (c >= 0xA6 && c <= 0xDF) return 2;
    return 9;
}

/// Whether the character c (1 or 2 bytes at text) is one of the delimiters.
bool isDelimiter(const char* c, std::size_t length, const char* delimiters) {
    for (std::size_t i = 0; std::size_t step = charLength(delimiters, i); i += step) {
        if (step == length && std::memcmp(delimiters + i, c, length) == 0) return true;
    }
    return false;
}

char* g_tokenContinuation = nullptr;

}  // namespace
}  // namespace ximo

using namespace ximo;

extern "C" {

int is_nth_kanji(int n, const char* s) {
    if (n < 0 || s == nullptr) return 1;
    std::size_t target = static_cast<std::size_t>(n);
    std::size_t i = walkTo(s, target);
    // A lead byte right before the terminator is no character (charLength 0).
    return (i == target && charLength(s, i) == 2) ? 0 : 1;
}

int is_nth_kanji2(int n, const char* s) {
    if (n < 0 || s == nullptr) return 1;
    std::size_t target = static_cast<std::size_t>(n);
    std::size_t i = 0;
    while (i < target) {
        std::size_t step = charLength(s, i);
        if (step == 0) return 1;
        if (step == 2 && i + 1 == target) return isTrailByte(byteAt(s, target)) ? 0 : 1;
        i += step;
    }
    return isTrailByte(byteAt(s, i)) ? 0 : 1;
}

int zdm_nthctype(int pos, const char* s) {
    if (s == nullptr || s[0] == '\0') return 11;
    if (pos < 0 || static_cast<std::size_t>(pos) >= std::strlen(s)) return 9;
    std::size_t p = static_cast<std::size_t>(pos);
    if (is_nth_kanji(pos, s) == 0) return classifyDoubleByte(byteAt(s, p), byteAt(s, p + 1));
    if (is_nth_kanji(pos - 1, s) == 0 && is_nth_kanji2(pos, s) == 0)
        return classifyDoubleByte(byteAt(s, p - 1), byteAt(s, p));
    return classifySingleByte(byteAt(s, p));
}

char* mbstrupr(char* s) {
    if (s == nullptr) return s;
    for (std::size_t i = 0; std::size_t step = charLength(s, i); i += step) {
        if (step == 1) s[i] = static_cast<char>(toUpper(byteAt(s, i)));
    }
    return s;
}

char* mbstrlwr(char* s) {
    if (s == nullptr) return s;
    for (std::size_t i = 0; std::size_t step = charLength(s, i); i += step) {
        if (step == 1) s[i] = static_cast<char>(toLower(byteAt(s, i)));
    }
    return s;
}

char* mbstrconv(char* s) { return s; }

char* mbstrrev(char* s) {
    if (s == nullptr) return s;
    std::size_t length = std::strlen(s);
    for (std::size_t a = 0, b = length; a + 1 < b; ++a, --b) {
        char t = s[a];
        s[a] = s[b - 1];
        s[b - 1] = t;
    }
    return s;
}

char* mbdelspace1(char* out, const char* in) {
    std::size_t i = 0;
    for (;;) {
        if (in[i] == ' ') {
            i += 1;
        } else if (byteAt(in, i) == 0x81 && byteAt(in, i + 1) == 0x40) {
            i += 2;
        } else {
            break;
        }
    }
    std::memmove(out, in + i, std::strlen(in + i) + 1);
    return out;
}

char* mbdelspace3(char* out, const char* in) {
    // Writing never overtakes reading, so out may be in.
    std::size_t w = 0;
    bool inSpaceRun = false;
    for (std::size_t r = 0; in[r] != '\0'; ++r) {
        bool space = isSpace(byteAt(in, r));
        if (!(space && inSpaceRun)) out[w++] = in[r];
        inSpaceRun = space;
    }
    out[w] = '\0';
    return out;
}

char* mbstrtok(char* s, const char* delimiters) {
    char* p = s != nullptr ? s : g_tokenContinuation;
    if (p == nullptr) return nullptr;
    std::size_t i = 0;
    for (;;) {
        std::size_t step = charLength(p, i);
        if (step == 0) return nullptr;
        if (!isDelimiter(p + i, step, delimiters)) break;
        i += step;
    }
    char* token = p + i;
    for (std::size_t j = 0; std::size_t step = charLength(token, j); j += step) {
        if (isDelimiter(token + j, step, delimiters)) {
            std::memset(token + j, 0, step);
            g_tokenContinuation = token + j + step;
            return token;
        }
    }
    // Text after the last delimiter is no token, and the position stays.
    return nullptr;
}

int mbstrcmp(const char* a, const char* b) {
    int d = std::strcmp(a, b);
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int mbstricmp(const char* a, const char* b) {
    for (std::size_t i = 0;; ++i) {
        int ca = toLower(byteAt(a, i));
        int cb = toLower(byteAt(b, i));
        if (ca != cb || ca == 0) return ca - cb;
    }
}

int mbstrncmp(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        int ca = byteAt(a, static_cast<std::size_t>(i));
        int cb = byteAt(b, static_cast<std::size_t>(i));
        if (ca != cb || ca == 0) return ca - cb;
    }
    return 0;
}

int mbstrnicmp(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        int ca = toLower(byteAt(a, static_cast<std::size_t>(i)));
        int cb = toLower(byteAt(b, static_cast<std::size_t>(i)));
        if (ca != cb || ca == 0) return ca - cb;
    }
    return 0;
}

int VmExType(void) { return 0; }

int GetExDllVersion(void) { return 6; }

char* GetLanguage(char* out) {
    out[0] = '\0';
    return out;
}

}  // extern "C"
