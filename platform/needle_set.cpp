#include "platform/needle_set.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>

#include "textlib/sjis.h"

namespace vellmora {

void NeedleSet::assign(const std::vector<std::string>& needles, bool ignoreCase) {
    m_needles.clear();
    m_ignoreCase = ignoreCase;
    m_rareChosen = false;
    for (const std::string& bytes : needles) {
        if (bytes.empty()) continue;
        Needle needle;
        needle.bytes = bytes;
        if (ignoreCase) {
            for (char& c : needle.bytes)
                c = static_cast<char>(ximo::toLower(static_cast<unsigned char>(c)));
        }
        m_needles.push_back(std::move(needle));
    }
}

void NeedleSet::forget() {
    for (Needle& needle : m_needles) needle.next = kUnknown;
}

std::size_t NeedleSet::next(const char* base, std::size_t from, std::size_t end) {
    if (!m_rareChosen) chooseRareBytes(base + from, end - from);
    std::size_t first = end;
    // Each needle keeps where it was found last, so that a rare one is not looked for again
    // after every hit of a frequent one.
    for (Needle& needle : m_needles) {
        if (needle.next == kUnknown || needle.next < from) {
            const char* found = find(needle, base + from, base + end);
            needle.next = found != nullptr ? static_cast<std::size_t>(found - base) : end;
        }
        first = std::min(first, needle.next);
    }
    return first;
}

void NeedleSet::chooseRareBytes(const char* text, std::size_t length) {
    // The rarest byte is the one the first buffer of the run holds least often.
    std::size_t counts[256] = {};
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        ++counts[m_ignoreCase ? ximo::toLower(c) : c];
    }
    if (m_ignoreCase) {
        for (int c = 'a'; c <= 'z'; ++c) counts[c] += counts[c - 'a' + 'A'];
    }
    for (Needle& needle : m_needles) {
        auto count = [&](std::size_t i) { return counts[static_cast<unsigned char>(needle.bytes[i])]; };
        needle.rareOffset = 0;
        for (std::size_t i = 1; i < needle.bytes.size(); ++i) {
            if (count(i) < count(needle.rareOffset)) needle.rareOffset = i;
        }
    }
    m_rareChosen = true;
}

const char* NeedleSet::find(const Needle& needle, const char* text, const char* end) const {
    // memchr for the rarest byte runs at memory speed, the C library's memmem does not; each
    // hit of that byte is then compared whole.
    const std::size_t size = needle.bytes.size();
    if (static_cast<std::size_t>(end - text) < size) return nullptr;
    const unsigned char rare = static_cast<unsigned char>(needle.bytes[needle.rareOffset]);
    for (const char* p = text + needle.rareOffset; p < end;) {
        p = scanFor(rare, p, end);
        if (p == nullptr) return nullptr;
        const char* start = p - needle.rareOffset;
        if (start + size <= end && sameAs(needle, start)) return start;
        ++p;
    }
    return nullptr;
}

const char* NeedleSet::scanFor(unsigned char rare, const char* from, const char* end) const {
    if (!m_ignoreCase || !ximo::isLower(rare))
        return static_cast<const char*>(std::memchr(from, rare, end - from));
    // A letter in either case: the two cases differ only in bit 0x20.
    const char* p = from;
#if defined(__SSE2__)
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(rare));
    for (; end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(block, caseBit), wanted));
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p < end; ++p) {
        if ((static_cast<unsigned char>(*p) | 0x20) == rare) return p;
    }
    return nullptr;
}

bool NeedleSet::sameAs(const Needle& needle, const char* text) const {
    const std::string& bytes = needle.bytes;
    if (!m_ignoreCase) return std::memcmp(text, bytes.data(), bytes.size()) == 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (ximo::toLower(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(bytes[i]))
            return false;
    }
    return true;
}

}  // namespace vellmora
