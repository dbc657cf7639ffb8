#include "engine/result_layout.h"

#include <algorithm>
#include <charconv>

#include "containers/ex_string_list.h"
#include "engine/search_options.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

// Line widths the options dialog accepts. A hand-edited settings file can hold anything;
// the run keeps to this range so that no width, padding or line can grow without bound.
constexpr int kDefaultLineWidth = 80;
constexpr int kMinLineWidth = 30;
constexpr int kMaxLineWidth = 256;

// The narrowest context the dialog can set up without a name column (30 - 10 - 1). Long
// paths under TagAsIs would otherwise leave no room at all, or a negative width; the line
// then grows past X instead of losing its context.
constexpr int kMinTextWidth = 19;

// A name column wider than this is not a real path; it only keeps the widths in int.
constexpr long long kMaxNameWidth = 1 << 20;

// What a context can hold in the usual case: the size of the search's work buffers.
constexpr std::size_t kContextReserve = 16385;

constexpr int kLineNumberWidth = 10;

std::string_view fileNamePart(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

/// True when byte n of text is the first byte of a double-byte character as a walk from
/// byte 0 sees it. A lead byte with nothing after it starts no character.
bool startsDoubleByte(std::string_view text, std::size_t n) {
    // Only a lead byte can start one: most cuts fall on other bytes and need no walk.
    if (n + 1 >= text.size() || !ximo::isLeadByte(static_cast<unsigned char>(text[n]))) return false;
    std::size_t i = 0;
    while (i < n && i < text.size()) {
        bool pair = ximo::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += pair ? 2 : 1;
    }
    return i == n && n + 1 < text.size() && ximo::isLeadByte(static_cast<unsigned char>(text[n]));
}

std::string_view slotText(const LineWindow& window, int slot) {
    const char* text = window.text[slot];
    return text == nullptr ? std::string_view() : std::string_view(text, window.length[slot]);
}

void appendRightAligned(std::string& out, std::string_view text, int width) {
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - text.size(), ' ');
    }
    out.append(text);
}

template <typename Integer>
void appendNumber(std::string& out, Integer value, int width) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    appendRightAligned(out, std::string_view(digits, static_cast<std::size_t>(end - digits)),
                       width);
}

}  // namespace

void ResultLayout::start(const SearchOptions& options, const CExStringList& files,
                         int keyword1Length) {
    LayoutValues v;
    v.x = options.xsize <= 0 ? kDefaultLineWidth
                             : std::clamp(options.xsize, kMinLineWidth, kMaxLineWidth);
    v.n = options.noLineNumber ? 0 : kLineNumberWidth;

    // The column holds the names the run prints, so TagFName wins over TagAsIs, as it does
    // for the display name.
    long long nameWidth = 0;
    if (options.tagFName || options.tagAsIs) {
        for (const std::string& path : files) {
            std::string_view name = options.tagFName ? fileNamePart(path) : std::string_view(path);
            nameWidth = std::max(nameWidth, static_cast<long long>(name.size()));
        }
    }
    nameWidth = std::min(nameWidth, kMaxNameWidth);
    v.f = static_cast<int>(nameWidth) + (options.noLineNumber ? 3 : 1);
    v.w = std::max(v.x - v.n - v.f, kMinTextWidth);

    // 64-bit: a hand-edited offset may be near INT_MAX.
    const long long k1 = std::max(keyword1Length, 0);
    long long l = (v.w - k1 - 1) / 2 + options.offset + 1;  // truncates toward zero
    if (l < 1) {
        l = 1;
    } else if (l + k1 > v.x) {
        // Against X, not W: a long keyword may still run past the printed text.
        l = v.x - k1;
    }
    // A keyword longer than the line would put the column before the buffer.
    v.l = static_cast<int>(std::max(l, 1LL));
    v.offset = options.offset;

    v.selector = options.noLineNumber ? 1 : 0;
    if (options.tagAsIs || options.tagFName) v.selector += 10;
    if (v.selector == 10 && options.tagForm) v.selector = 20;

    m_values = v;
    m_context.reserve(kContextReserve);
    m_line.reserve(static_cast<std::size_t>(v.f) + kLineNumberWidth + kContextReserve);
}

std::string_view ResultLayout::windowContext(const LineWindow& window, std::size_t hitOffset) {
    const std::size_t hit = std::min(hitOffset, slotText(window, LineWindow::kCurrent).size());
    long long need = static_cast<long long>(m_values.l) - static_cast<long long>(hit);
    int start = LineWindow::kCurrent;
    while (need > 0 && start > 0) {
        --start;
        need -= static_cast<long long>(slotText(window, start).size());
    }

    m_context.clear();
    std::size_t cut = 0;
    if (need > 0) {
        m_context.append(static_cast<std::size_t>(need), ' ');
    } else {
        cut = static_cast<std::size_t>(-need);
    }
    std::string_view startLine = slotText(window, start);
    m_context.append(startLine.substr(cut));
    // The keyword's own line always goes in whole, so that the boundary and keyword-2 tests
    // find the keyword at L even when the column lies past W.
    const std::size_t width = static_cast<std::size_t>(m_values.w);
    for (int slot = start + 1; slot < LineWindow::kSlots; ++slot) {
        if (slot > LineWindow::kCurrent && m_context.size() >= width) break;
        m_context.append(slotText(window, slot));
    }
    if (need <= 0) blankHalfCharacter(startLine, cut);
    return m_context;
}

std::string_view ResultLayout::lineContext(std::string_view line, std::size_t hitOffset) {
    const std::size_t hit = std::min(hitOffset, line.size());
    const std::size_t l = static_cast<std::size_t>(m_values.l);
    m_context.clear();
    if (hit < l) {
        m_context.append(l - hit, ' ');
        m_context.append(line);
    } else {
        m_context.append(line.substr(hit - l));
        blankHalfCharacter(line, hit - l);
    }
    return m_context;
}

void ResultLayout::blankHalfCharacter(std::string_view startLine, std::size_t cut) {
    // Byte 0 is never printed: when it is the first half of a character, the second half
    // would stand alone at the head of the printed text. A cut at offset 0 counts too.
    if (startsDoubleByteAt(startLine, cut)) m_context[1] = ' ';
}

bool ResultLayout::startsDoubleByteAt(std::string_view line, std::size_t n) {
    if (n + 1 >= line.size() || !ximo::isLeadByte(static_cast<unsigned char>(line[n]))) return false;
    // Hits in one line come in increasing order: the walk goes on from where the previous
    // one stopped, so a line full of hits costs one walk, not one per hit.
    if (line.data() != m_walkLine.data() || line.size() != m_walkLine.size() || n < m_walkPos) {
        m_walkLine = line;
        m_walkPos = 0;
    }
    std::size_t i = m_walkPos;
    while (i < n && i < line.size()) {
        bool pair = ximo::isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size();
        std::size_t next = i + (pair ? 2 : 1);
        if (next > n) break;
        i = next;
    }
    m_walkPos = i;
    return i == n && n + 1 < line.size() && ximo::isLeadByte(static_cast<unsigned char>(line[n]));
}

std::string_view ResultLayout::printedText(std::string_view context) const {
    if (context.size() <= 1) return {};
    const std::size_t width = static_cast<std::size_t>(m_values.w);
    std::string_view text = context.substr(1);
    if (context.size() <= width) return text;
    // Walk from byte 1, which always starts a character; byte 0 may be a second half.
    std::size_t length = width - 1;
    if (startsDoubleByte(text, length - 1)) --length;
    return text.substr(0, length);
}

std::string_view ResultLayout::hitLine(std::string_view displayName, unsigned long lineNumber,
                                       std::string_view printed) {
    m_line.clear();
    switch (m_values.selector) {
        case 1:
            break;
        case 10:
            appendRightAligned(m_line, displayName, m_values.f - 1);
            m_line += ':';
            appendNumber(m_line, lineNumber, 7);
            m_line += " | ";
            break;
        case 11:
            appendRightAligned(m_line, displayName, m_values.f - 3);
            m_line += " | ";
            break;
        case 20:
            appendRightAligned(m_line, displayName, m_values.f - 1);
            m_line += '(';
            appendNumber(m_line, lineNumber, 6);
            m_line += ") | ";
            break;
        default:
            appendNumber(m_line, lineNumber, 7);
            m_line += " | ";
            break;
    }
    m_line.append(printed);
    return m_line;
}

std::string ResultLayout::separatorLine(std::string_view displayName) {
    std::string line = "-----[ ";
    line.append(displayName);
    line += " ]-----";
    return line;
}

std::string ResultLayout::countLine(std::string_view displayName, long count) {
    std::string line(displayName);
    line += " : ";
    appendNumber(line, count, 0);
    return line;
}

std::string ResultLayout::totalLine(long total) {
    std::string line = "Total : ";
    appendNumber(line, total, 0);
    return line;
}

}  // namespace vellmora
