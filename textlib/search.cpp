// Boyer-Moore search over the one shared skip table, and the
// character-aligned substring search.

#include <cstdint>
#include <cstring>

#include "textlib/internal.h"
#include "textlib/ximo.h"

namespace ximo {
namespace {

/// The one skip table of the library: it always belongs to the pattern of
/// the latest bminitialize call.
struct SkipTable {
    std::int32_t skip[256];
    std::size_t length;
    // The pattern itself when it is short enough to keep: a search for that
    // same pattern can then use the C library's search, which finds the same
    // first occurrence several times faster.
    char pattern[256];
    bool patternKept;
};

SkipTable g_table = {{}, 0, {}, false};

}  // namespace
}  // namespace ximo

using namespace ximo;

extern "C" {

void bminitialize(const char* pattern) {
    std::size_t m = std::strlen(pattern);
    g_table.length = m;
    for (std::int32_t& entry : g_table.skip) entry = static_cast<std::int32_t>(m);
    for (std::size_t i = 0; i < m; ++i)
        g_table.skip[byteAt(pattern, i)] = static_cast<std::int32_t>(m - 1 - i);
    g_table.patternKept = m < sizeof g_table.pattern;
    if (g_table.patternKept) std::memcpy(g_table.pattern, pattern, m + 1);
}

char* bmstrstr(const char* text, const char* pattern) {
    const std::size_t m = g_table.length;
    if (m == 0) return nullptr;
    // The table's length rules, not the argument's. A pattern argument that
    // ends within those m bytes can match no text (text bytes are never zero
    // before its end), and reading on would run past its terminator.
    if (strnlen(pattern, m) < m) return nullptr;
    if (g_table.patternKept && std::memcmp(pattern, g_table.pattern, m) == 0)
        return const_cast<char*>(std::strstr(text, g_table.pattern));
    const std::size_t n = std::strlen(text);
    std::size_t i = m - 1;
    if (i >= n) return nullptr;
    std::size_t j = m - 1;
    for (;;) {
        if (text[i] == pattern[j]) {
            if (j == 0) return const_cast<char*>(text + i);
            --i;
            --j;
            continue;
        }
        std::size_t byTable = static_cast<std::size_t>(g_table.skip[byteAt(text, i)]);
        std::size_t byPosition = m - j;
        i += byTable > byPosition ? byTable : byPosition;
        if (i >= n) return nullptr;
        j = m - 1;
    }
}

char* mbstrstr(const char* text, const char* sub) {
    const std::size_t subLength = walkLength(sub);
    if (subLength == 0) return const_cast<char*>(text);
    for (std::size_t t = 0; std::size_t step = charLength(text, t); t += step) {
        // Compare character by character; both walks stay on starts.
        std::size_t a = t;
        std::size_t b = 0;
        while (b < subLength) {
            std::size_t textStep = charLength(text, a);
            std::size_t subStep = charLength(sub, b);
            if (textStep != subStep || std::memcmp(text + a, sub + b, subStep) != 0) break;
            a += textStep;
            b += subStep;
        }
        if (b == subLength) return const_cast<char*>(text + t);
    }
    return nullptr;
}

}  // extern "C"
