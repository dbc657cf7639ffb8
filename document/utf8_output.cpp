#include "document/utf8_output.h"

#include "platform/text_encoding.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::string utf8FromSjis(std::string_view sjis) {
    // The converter replaces a character it cannot map together with the byte after a first
    // byte; a first byte followed by no second byte is cut off here, so only whole pairs and
    // single bytes ever reach it.
    std::string utf8;
    utf8.reserve(sjis.size() + sjis.size() / 2);
    std::size_t runStart = 0;
    auto convertRun = [&](std::size_t end) {
        if (end > runStart) utf8 += sjisToUtf8(sjis.substr(runStart, end - runStart));
    };
    std::size_t i = 0;
    while (i < sjis.size()) {
        if (!ximo::isLeadByte(static_cast<unsigned char>(sjis[i]))) {
            ++i;
        } else if (i + 1 < sjis.size() &&
                   ximo::isTrailByte(static_cast<unsigned char>(sjis[i + 1]))) {
            i += 2;
        } else {
            convertRun(i);
            utf8 += kReplacement;
            runStart = ++i;
        }
    }
    convertRun(sjis.size());
    return utf8;
}

bool canWriteUtf8() {
    // Without the converter, the text comes back unchanged.
    static const bool available = sjisToUtf8("\x82\xA0") == "\xE3\x81\x82";
    return available;
}

}  // namespace vellmora
