#include "engine/preprocessor.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "settings/catalogue.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

// Stands for a character Shift-JIS lacks, so that the rest of the line stays intact and
// searchable.
constexpr unsigned char kGetaLead = 0x81;
constexpr unsigned char kGetaTrail = 0xAC;

/// Code page 932 bytes of every BMP code point: 0 where the code page lacks it, a value below
/// 0x100 for a single byte, else lead * 0x100 + trail.
struct Cp932Map {
    std::array<std::uint16_t, 0x10000> code{};
    bool fromSystem = false;
};

bool isSafeSingleByte(unsigned b) { return (b >= 0x01 && b <= 0x7F) || (b >= 0xA1 && b <= 0xDF); }

/// Asks iconv for each code point once. Only answers that keep the output well-formed
/// Shift-JIS are taken: a lone lead byte or a stray 0x80 would swallow the next character.
std::unique_ptr<Cp932Map> buildCp932Map() {
    auto map = std::make_unique<Cp932Map>();
    // Half-width katakana do not need the system: they are the single bytes 0xA1 to 0xDF.
    for (unsigned cp = 0xFF61; cp <= 0xFF9F; ++cp) {
        map->code[cp] = static_cast<std::uint16_t>(cp - 0xFF61 + 0xA1);
    }

    iconv_t cd = iconv_open("CP932", "UTF-32LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return map;
    map->fromSystem = true;
    for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8), 0, 0};
        unsigned char out[8];
        char* inPtr = in;
        std::size_t inLeft = sizeof in;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        std::size_t produced = sizeof out - outLeft;
        if (produced == 1 && isSafeSingleByte(out[0])) {
            map->code[cp] = out[0];
        } else if (produced == 2 && ximo::isLeadByte(out[0]) && ximo::isTrailByte(out[1])) {
            map->code[cp] = static_cast<std::uint16_t>(out[0] << 8 | out[1]);
        }
    }
    iconv_close(cd);
    return map;
}

const Cp932Map& cp932Map() {
    static const std::unique_ptr<Cp932Map> map = buildCp932Map();
    return *map;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

/// Length of the well-formed UTF-8 sequence at s (2 to 4) with its code point in cp, or 0.
/// Overlong forms, surrogates and code points above U+10FFFF are not well-formed. Stops at the
/// first byte that does not fit, so it never reads past the terminator.
std::size_t decodeUtf8(const unsigned char* s, char32_t& cp) {
    unsigned char c = s[0];
    if (c >= 0xC2 && c <= 0xDF) {
        if (!isContinuation(s[1])) return 0;
        cp = (c & 0x1Fu) << 6 | (s[1] & 0x3Fu);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        unsigned char low = c == 0xE0 ? 0xA0 : 0x80;
        unsigned char high = c == 0xED ? 0x9F : 0xBF;
        if (s[1] < low || s[1] > high || !isContinuation(s[2])) return 0;
        cp = (c & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        unsigned char low = c == 0xF0 ? 0x90 : 0x80;
        unsigned char high = c == 0xF4 ? 0x8F : 0xBF;
        if (s[1] < low || s[1] > high || !isContinuation(s[2]) || !isContinuation(s[3])) return 0;
        cp = (c & 0x07u) << 18 | (s[1] & 0x3Fu) << 12 | (s[2] & 0x3Fu) << 6 | (s[3] & 0x3Fu);
        return 4;
    }
    return 0;
}

bool isOn(Profile& profile, const SettingKey& key) { return readInt(profile, key) == 1; }

}  // namespace

PreprocessOptions readPreprocessOptions(Profile& profile) {
    PreprocessOptions options;
    options.utf8ToSjis = isOn(profile, settingKey("Options", "UTF8toSJIS"));
    options.eucToSjis = isOn(profile, settingKey("Options", "EUCtoSJIS"));
    options.jisToSjis = isOn(profile, settingKey("Options", "JIStoSJIS"));
    options.ctrlCode = isOn(profile, settingKey("Options", "CtrlCode"));
    options.delSpace1 = isOn(profile, settingKey("Options", "DelSpace1"));
    options.delSpace3 = isOn(profile, settingKey("Options", "DelSpace3"));
    options.deHtml = isOn(profile, settingKey("Options", "DeHTML"));
    return options;
}

bool haveCp932Table() { return cp932Map().fromSystem; }

void utf8ToSjis(char* text, bool dropByteOrderMark) {
    const Cp932Map& map = cp932Map();
    auto* s = reinterpret_cast<unsigned char*>(text);
    std::size_t r = 0;
    if (dropByteOrderMark && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) r = 3;
    // The write position never passes the read position: ASCII and stray bytes are copied
    // one for one, and every multi-byte sequence (2 to 4 bytes) yields 1 or 2 bytes.
    std::size_t w = 0;
    while (s[r] != 0) {
        char32_t cp = 0;
        std::size_t length = s[r] < 0x80 ? 0 : decodeUtf8(s + r, cp);
        if (length == 0) {
            s[w++] = s[r++];
            continue;
        }
        r += length;
        std::uint16_t code = cp <= 0xFFFF ? map.code[cp] : 0;
        if (code == 0) {
            s[w++] = kGetaLead;
            s[w++] = kGetaTrail;
        } else if (code < 0x100) {
            s[w++] = static_cast<unsigned char>(code);
        } else {
            s[w++] = static_cast<unsigned char>(code >> 8);
            s[w++] = static_cast<unsigned char>(code & 0xFF);
        }
    }
    s[w] = 0;
}

void foldFullWidthDigits(char* text) {
    auto* s = reinterpret_cast<unsigned char*>(text);
    std::size_t w = 0;
    for (std::size_t r = 0; s[r] != 0;) {
        // Walking by character keeps a trail byte 0x82 and the next character from being read
        // as a digit, which would split both characters.
        if (s[r] == 0x82 && s[r + 1] >= 0x4F && s[r + 1] <= 0x58) {
            s[w++] = static_cast<unsigned char>(s[r + 1] - 0x1F);
            r += 2;
        } else if (ximo::isLeadByte(s[r]) && s[r + 1] != 0) {
            s[w++] = s[r++];
            s[w++] = s[r++];
        } else {
            s[w++] = s[r++];
        }
    }
    s[w] = 0;
}

LinePreprocessor::LinePreprocessor() : m_scratch(kLineBufferSize) {}

void LinePreprocessor::startRun(const PreprocessOptions& options) {
    m_runOptions = options;
    m_options = options;
    m_tagOpen = false;
    m_commentOpen = false;
    m_atFileStart = true;
    // Built here rather than on the first line, so the first file's reading does not pause.
    if (options.utf8ToSjis) cp932Map();
}

void LinePreprocessor::startFile(InputEncoding encoding) {
    startFile();
    m_options.utf8ToSjis = encoding == InputEncoding::Utf8;
    m_options.eucToSjis = encoding == InputEncoding::EucJp;
    m_options.jisToSjis = encoding == InputEncoding::Iso2022Jp;
    if (m_options.utf8ToSjis) cp932Map();
}

void LinePreprocessor::process(char* line) {
    bool firstLineOfFile = std::exchange(m_atFileStart, false);
    if (m_options.utf8ToSjis) utf8ToSjis(line, firstLineOfFile);
    if (m_options.eucToSjis) euc2sjis(line);
    if (m_options.jisToSjis) jis2sjis(line);
    if (m_options.ctrlCode) {
        // None of these bytes can be a trail byte, so a byte-wise scan is safe.
        for (char* p = line; *p != '\0'; ++p) {
            if (*p == '\t' || *p == '\x1B' || *p == '\x0B' || *p == '\x0C' || *p == '\x7F') {
                *p = ' ';
            }
        }
    }
    if (m_options.delSpace1 || m_options.delSpace3) {
        // The library promises nothing about writing over its input.
        std::size_t size = std::strlen(line) + 1;
        if (m_scratch.size() < size) m_scratch.resize(size);
        if (m_options.delSpace1) {
            mbdelspace1(m_scratch.data(), line);
            std::memcpy(line, m_scratch.data(), std::strlen(m_scratch.data()) + 1);
        }
        if (m_options.delSpace3) {
            mbdelspace3(m_scratch.data(), line);
            std::memcpy(line, m_scratch.data(), std::strlen(m_scratch.data()) + 1);
        }
    }
    if (m_options.deHtml) removeTags(line);
}

// Every byte the scan looks for ("<", ">", "-", "!") is below 0x40 and so never a trail byte:
// the scan can go byte by byte. The output is written over the line behind the scan.
void LinePreprocessor::removeTags(char* line) {
    const char* pos = line;
    if (m_tagOpen) {
        const char* end = m_commentOpen ? std::strstr(line, "->") : std::strchr(line, '>');
        if (end == nullptr) {
            line[0] = '\0';
            return;
        }
        pos = end + (m_commentOpen ? 2 : 1);
        m_tagOpen = false;
        m_commentOpen = false;
    }
    char* out = line;
    for (;;) {
        const char* open = std::strchr(pos, '<');
        if (open == nullptr) {
            std::memmove(out, pos, std::strlen(pos) + 1);
            return;
        }
        std::size_t textLength = static_cast<std::size_t>(open - pos);
        std::memmove(out, pos, textLength);
        out += textLength;
        // A tag has a name only when a ">" follows on this line, and only a name starting
        // "<!-" makes a comment: an opener whose ">" is on a later line is an ordinary tag.
        bool comment = open[1] == '!' && open[2] == '-' && std::strchr(open, '>') != nullptr;
        const char* end = comment ? std::strstr(open + 1, "->") : std::strchr(open + 1, '>');
        if (end == nullptr) {
            m_tagOpen = true;
            m_commentOpen = comment;
            *out = '\0';
            return;
        }
        pos = end + (comment ? 2 : 1);
    }
}

}  // namespace vellmora
