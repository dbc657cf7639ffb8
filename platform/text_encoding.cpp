#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

#include "textlib/sjis.h"

namespace vellmora {
namespace {

/// A conversion descriptor kept for the thread's later conversions: opening one costs more
/// than converting a result line, and pyxo-cli --utf8 converts millions of them.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    /// The descriptor in its initial state: a conversion that failed midway leaves none behind.
    iconv_t fresh() {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

/// One conversion with glibc's iconv. stopOnError: give up at the first byte that does not
/// convert; otherwise replace the character there by U+FFFD and go on.
std::optional<std::string> convert(Converter& converter, std::string_view input, bool stopOnError) {
    if (!converter.valid()) return std::nullopt;
    iconv_t cd = converter.fresh();
    std::string output;
    output.resize(input.size() * 3 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            std::size_t used = output.size() - outLeft;
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = output.size() - used;
            continue;
        }
        if (stopOnError) {
            ok = false;
            break;
        }
        // Skip the offending character whole: a lead byte takes its second byte with it.
        std::size_t skip = (inLeft >= 2 && ximo::isLeadByte(static_cast<unsigned char>(*in))) ? 2 : 1;
        in += skip;
        inLeft -= skip;
        static constexpr char kReplacement[] = "\xEF\xBF\xBD";
        if (outLeft < 3) {
            std::size_t used = output.size() - outLeft;
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = output.size() - used;
        }
        for (char c : std::string_view(kReplacement, 3)) *out++ = c;
        outLeft -= 3;
    }
    if (!ok) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

// ASCII is the same bytes in both encodings (code page 932 keeps 0x5C and 0x7E as they are).

std::string sjisToUtf8(std::string_view sjis) {
    if (isAscii(sjis)) return std::string(sjis);
    thread_local Converter converter("UTF-8", "CP932");
    std::optional<std::string> text = convert(converter, sjis, false);
    return text ? *text : std::string(sjis);
}

std::optional<std::string> utf8ToSjisText(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    thread_local Converter converter("CP932", "UTF-8");
    return convert(converter, utf8, true);
}

bool isUtf8BeyondAscii(std::string_view text) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        beyondAscii = true;
        const std::size_t length = c >= 0xC2 && c <= 0xDF ? 2
                                   : c >= 0xE0 && c <= 0xEF ? 3
                                   : c >= 0xF0 && c <= 0xF4 ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        // The second byte's range rules out overlong forms, surrogates and code points
        // beyond U+10FFFF.
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) ||
            (c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return beyondAscii;
}

std::string resultLineToUtf8(std::string_view line) {
    return isUtf8BeyondAscii(line) ? std::string(line) : sjisToUtf8(line);
}

}  // namespace vellmora
