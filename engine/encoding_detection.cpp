#include "engine/encoding_detection.h"

namespace vellmora {
namespace {

// Fewer multi-byte characters than this are too likely to be Shift-JIS that happens to be
// well-formed UTF-8 or to pair as EUC-JP (two double-byte characters do, now and then).
constexpr int kMinMultiByte = 3;

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool holdsIso2022Escape(std::string_view s) {
    for (std::size_t i = s.find('\x1B'); i != std::string_view::npos && i + 2 < s.size();
         i = s.find('\x1B', i + 1)) {
        const char a = s[i + 1];
        const char b = s[i + 2];
        if ((a == '$' && (b == 'B' || b == '@')) || (a == '(' && (b == 'B' || b == 'J')))
            return true;
    }
    return false;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

/// The multi-byte sequences of s when all of it is well-formed UTF-8 (a sequence cut by the
/// end of s is not counted and not held against it), else -1.
int utf8Sequences(std::string_view s) {
    int sequences = 0;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = byteAt(s, i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return -1;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= s.size()) return sequences;  // cut by the prefix's end
            const unsigned char next = byteAt(s, i + k);
            if (k == 1 ? (next < low || next > high) : !isContinuation(next)) return -1;
        }
        ++sequences;
        i += length;
    }
    return sequences;
}

bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

/// The characters of s read as EUC-JP, or -1 when some high byte does not pair as EUC-JP.
int eucCharacters(std::string_view s) {
    int characters = 0;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = byteAt(s, i);
        std::size_t length = 1;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (isEucByte(c)) {
            length = 2;
        } else if (c == 0x8E) {
            length = 2;  // half-width katakana: the second byte is 0xA1 to 0xDF
        } else if (c == 0x8F) {
            length = 3;  // JIS X 0212
        } else {
            return -1;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= s.size()) return characters;
            const unsigned char next = byteAt(s, i + k);
            if (!isEucByte(next) || (c == 0x8E && next > 0xDF)) return -1;
        }
        ++characters;
        i += length;
    }
    return characters;
}

/// s read as Shift-JIS: its double-byte characters and half-width katakana, or valid false
/// when some high byte fits neither.
struct SjisReading {
    bool valid = true;
    int doubleBytes = 0;
    int halfWidthKana = 0;
};

SjisReading readAsSjis(std::string_view s) {
    SjisReading reading;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = byteAt(s, i);
        if (c < 0x80) continue;
        if (c >= 0xA1 && c <= 0xDF) {
            ++reading.halfWidthKana;
            continue;
        }
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= s.size()) break;
            const unsigned char next = byteAt(s, ++i);
            if (next >= 0x40 && next <= 0xFC && next != 0x7F) {
                ++reading.doubleBytes;
                continue;
            }
        }
        reading.valid = false;
        return reading;
    }
    return reading;
}

}  // namespace

InputEncoding detectInputEncoding(std::string_view prefix) {
    prefix = prefix.substr(0, kDetectionPrefixBytes);
    if (prefix.starts_with("\xEF\xBB\xBF")) return InputEncoding::Utf8;
    if (holdsIso2022Escape(prefix)) return InputEncoding::Iso2022Jp;
    if (utf8Sequences(prefix) >= kMinMultiByte) return InputEncoding::Utf8;
    const int euc = eucCharacters(prefix);
    if (euc < kMinMultiByte) return InputEncoding::ShiftJis;
    // Nearly every EUC-JP byte is also Shift-JIS, mostly as half-width katakana, which real
    // Shift-JIS text holds few of. Shift-JIS hiragana and most kanji have lead bytes EUC-JP
    // lacks, so Shift-JIS text seldom passes as EUC-JP at all. Half-width katakana alone
    // read both ways: such text stays Shift-JIS.
    const SjisReading sjis = readAsSjis(prefix);
    if (!sjis.valid || (sjis.doubleBytes > 0 && sjis.halfWidthKana > 2 * sjis.doubleBytes))
        return InputEncoding::EucJp;
    return InputEncoding::ShiftJis;
}

std::string_view inputEncodingName(InputEncoding encoding) {
    switch (encoding) {
        case InputEncoding::Utf8: return "UTF-8";
        case InputEncoding::EucJp: return "EUC-JP";
        case InputEncoding::Iso2022Jp: return "ISO-2022-JP";
        case InputEncoding::ShiftJis: break;
    }
    return "Shift-JIS";
}

}  // namespace vellmora
