// Words, sentence ends, tokens and the boundary tests.

#include <algorithm>
#include <cstring>

#include "textlib/internal.h"
#include "textlib/ximo.h"

namespace ximo {
namespace {

constexpr std::size_t kTokenCopyLimit = 999;
constexpr std::size_t kRekkcCopyLimit = 259;

char* g_wordContinuation = nullptr;

/// A separator that stays inside a word: an apostrophe between two letters,
/// or any separator between two digits. before/after may be the terminator.
bool staysInWord(unsigned char before, unsigned char c, unsigned char after) {
    if (c == '\'' && isLetter(before) && isLetter(after)) return true;
    return isDigit(before) && isDigit(after);
}

/// The earliest sentence-final mark of s, or its terminator.
const char* findSentenceFinal(int mode, const char* s) {
    const char* best = s + std::strlen(s);
    auto consider = [&best](const char* candidate) {
        if (candidate != nullptr && candidate < best) best = candidate;
    };
    if (mode == 1) consider(std::strstr(s, " | "));
    for (const char* p = s; *p != '\0'; ++p) {
        if (*p == ',' && ((p > s && p[-1] == '"') || p[1] == '"')) {
            consider(p);
            break;
        }
    }
    const char* question = std::strchr(s, '?');
    consider(question != nullptr ? question : std::strchr(s, '!'));
    for (const char* p = s; *p != '\0'; ++p) {
        if (*p != '.') continue;
        bool counts = mode == 0 ? p[1] == '"' : mode == 1 && (p - s < 2 || p[-2] != '.');
        if (counts) {
            consider(p);
            break;
        }
    }
    return best;
}

bool isWordByteForToken(const char* s, std::size_t i) {
    unsigned char c = byteAt(s, i);
    return isLetterOrDigit(c) || (c == '\'' && isLetter(byteAt(s, i + 1)));
}

/// Marks the second byte of every double-byte character of s[0, length).
void markTrailBytes(const char* s, std::size_t length, bool* trail) {
    std::memset(trail, 0, length + 1);
    for (std::size_t i = 0; i < length;) {
        std::size_t step = charLength(s, i);
        if (step == 0) break;
        if (step == 2) trail[i + 1] = true;
        i += step;
    }
}

/// Calls strword on start once and then |count| - 1 more times; null when
/// the words run out first.
char* nthWord(char* start, int count) {
    if (*start == '\0') return nullptr;  // strword would continue an old scan
    char* word = strword(start);
    for (int i = 1; i < count && word != nullptr; ++i) word = strword(nullptr);
    return word;
}

void copyWord(const char* word, const char* limit, char* out) {
    if (word != nullptr && word <= limit) {
        std::strcpy(out, word);
    } else {
        out[0] = '\0';
    }
}

int wordcheckBytes(int mode, unsigned char before, unsigned char after) {
    bool beforeAttached = isLetterOrDigit(before);
    bool afterAttached = isLetterOrDigit(after);
    switch (mode) {
        case 0:
            return 0;
        case 1:
            return beforeAttached || afterAttached;
        case 2:
            return beforeAttached;
        case 3:
            return afterAttached;
        case 11:
            return beforeAttached || afterAttached || after == '\'';
        case 13:
            return afterAttached || after == '\'';
        case 21:
            return beforeAttached || afterAttached || after == '-';
        case 23:
            return afterAttached || after == '-';
        case 31:
            return beforeAttached || afterAttached || after == '\'' || after == '-';
        case 33:
            return afterAttached || after == '\'' || after == '-';
        default:
            return 1;
    }
}

bool isRightwardType(int type) { return type == 1 || type == 11 || type == 0 || type == -9; }
bool isLeftwardType(int type) { return type == 2 || type == 12 || type == -1 || type == -10; }
bool isSentenceType(int type) {
    return type == 11 || type == -9 || type == 12 || type == -10;
}

/// Replaces full-width capitals (0x8260-0x8279) by their small letters.
void foldFullWidthCapitals(char* s) {
    for (std::size_t i = 0; std::size_t step = charLength(s, i); i += step) {
        if (step == 2 && byteAt(s, i) == 0x82 && byteAt(s, i + 1) >= 0x60 &&
            byteAt(s, i + 1) <= 0x79) {
            s[i + 1] = static_cast<char>(byteAt(s, i + 1) + 0x21);
        }
    }
}

}  // namespace
}  // namespace ximo

using namespace ximo;

extern "C" {

char* strword(char* s) {
    char* p = s;
    if (p == nullptr || *p == '\0') {
        p = g_wordContinuation;
        if (p == nullptr || *p == '\0') {
            g_wordContinuation = nullptr;
            return nullptr;
        }
    }
    while (*p != '\0' && isSeparator(static_cast<unsigned char>(*p))) ++p;
    if (*p == '\0') {
        g_wordContinuation = nullptr;
        return nullptr;
    }
    char* word = p;
    for (;;) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == 0) {
            g_wordContinuation = nullptr;
            return word;
        }
        if (isLeadByte(c) && p[1] != '\0') {
            p += 2;
            continue;
        }
        // p > word here: the word began with a byte that is no separator.
        if (isSeparator(c) && !staysInWord(static_cast<unsigned char>(p[-1]), c,
                                           static_cast<unsigned char>(p[1]))) {
            *p = '\0';
            g_wordContinuation = p + 1;
            return word;
        }
        ++p;
    }
}

char* getSF(int mode, const char* s) { return const_cast<char*>(findSentenceFinal(mode, s)); }

char* gettoken(int n, int bySentence, int pos, int /*ignored*/, const char* text, char* out) {
    static char copy[kTokenCopyLimit + 1];
    static bool trail[kTokenCopyLimit + 1];
    out[0] = '\0';
    std::size_t length = copyWholeCharacters(copy, text, kTokenCopyLimit);
    if (pos < 0 || static_cast<std::size_t>(pos) >= length) return out;
    markTrailBytes(copy, length, trail);
    std::size_t at = static_cast<std::size_t>(pos);
    if (trail[at]) --at;  // the character that covers pos
    // The copy holds fewer words than bytes: larger counts all find nothing.
    constexpr int kMaxWords = static_cast<int>(kTokenCopyLimit);
    const int wordCount = n >= 0 ? std::min(n, kMaxWords - 1) + 1 : (n < -kMaxWords ? kMaxWords : -n);

    // Step left to the byte before the word at pos. Second bytes are never
    // stepped over, so no word begins inside a double-byte character.
    std::size_t p = at;
    while (p > 0 && !trail[p] && isWordByteForToken(copy, p)) --p;
    bool wordStartsText = p == 0 && isWordByteForToken(copy, 0);

    if (n >= 0) {
        const char* limit = bySentence == 1 ? findSentenceFinal(0, copy + at) : copy + length - 1;
        std::size_t start = trail[p] ? p + 1 : p;
        copyWord(nthWord(copy + start, wordCount), limit, out);
        return out;
    }

    if (wordStartsText) return out;  // nothing stands left of the word
    // Keep the text up to and including the byte at p, whole characters only;
    // reverse it character by character so that Japanese words stay readable.
    std::size_t cut = p + charLength(copy, p);
    if (trail[p]) cut = p + 1;
    // When pos is on no letter or digit (a Japanese keyword), p is the keyword's own first
    // character: it is no part of the words to its left.
    if (p == at && !isWordByteForToken(copy, at)) cut = at;
    if (cut == 0) return out;
    copy[cut] = '\0';
    reverseCharacters(copy, cut);
    const char* limit = bySentence == 1 ? findSentenceFinal(1, copy) : copy + cut - 1;
    copyWord(nthWord(copy, wordCount), limit, out);
    reverseCharacters(out, std::strlen(out));
    return out;
}

int wordcheck(int mode, const char* s, int pos, int len) {
    std::size_t length = std::strlen(s);
    long long before = static_cast<long long>(pos) - 1;
    long long after = static_cast<long long>(pos) + len;
    unsigned char b = (before >= 0 && before < static_cast<long long>(length))
                          ? byteAt(s, static_cast<std::size_t>(before))
                          : 0;
    unsigned char a = (after >= 0 && after < static_cast<long long>(length))
                          ? byteAt(s, static_cast<std::size_t>(after))
                          : 0;
    return wordcheckBytes(mode, b, a);
}

int Rekkc(int type, int ignoreCase, int mode, int anchorPos, int anchorLen, const char* line,
          const char* keyword) {
    static char copy[kRekkcCopyLimit + 1];
    const int found = type > 0 ? 0 : 1;
    const int missing = 1 - found;
    if (!isRightwardType(type) && !isLeftwardType(type)) return missing;

    std::size_t length = copyWholeCharacters(copy, line, kRekkcCopyLimit);
    if (ignoreCase == 1) foldFullWidthCapitals(copy);
    std::size_t keywordLength = std::strlen(keyword);
    if (anchorPos < 0 || anchorLen < 0) return missing;

    if (isRightwardType(type)) {
        long long startAt = static_cast<long long>(anchorPos) + anchorLen - 1;
        if (startAt < 0 || startAt >= static_cast<long long>(length)) return missing;
        const char* start = copy + startAt;
        const char* end = copy + length;
        const char* limit = isSentenceType(type) ? findSentenceFinal(0, start) : end;
        for (const char* hit = findBytes(start, end - start, keyword, keywordLength);
             hit != nullptr && hit < limit;
             hit = findBytes(hit + 1, end - hit - 1, keyword, keywordLength)) {
            int offset = static_cast<int>(hit - start);
            if (wordcheck(mode, start, offset, static_cast<int>(keywordLength)) == 0) return found;
            if (hit + 1 > end) break;
        }
        return missing;
    }

    if (static_cast<std::size_t>(anchorPos) >= length) return missing;
    reverseCharacters(copy, length);
    const char* start = copy + (length - anchorPos - 1);
    const char* end = copy + length;
    const char* limit = isSentenceType(type) ? findSentenceFinal(1, start) : end;
    for (const char* hit = findBytes(start, end - start, keyword, keywordLength);
         hit != nullptr && hit < limit;
         hit = findBytes(hit + 1, end - hit - 1, keyword, keywordLength)) {
        long long forward = static_cast<long long>(end - hit) - keywordLength;
        if (wordcheck(mode, line, static_cast<int>(forward), static_cast<int>(keywordLength)) == 0)
            return found;
        if (hit + 1 > end) break;
    }
    return missing;
}

}  // extern "C"
