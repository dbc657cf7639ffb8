#include "results/sort_order.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "results/result_source.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

constexpr std::string_view kContextMark = " | ";
constexpr std::string_view kLineEnd = "\r\n";

// Comparisons are far cheaper than a pump, even a nearly free one.
constexpr unsigned kComparisonsPerPump = 4096;

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with(kLineEnd)) line.remove_suffix(kLineEnd.size());
    return line;
}

/// The first eight bytes of text as a big-endian number, short texts padded with zero bytes:
/// two prefixes that differ order their texts as the texts' bytes do.
std::uint64_t prefixOf(std::string_view text) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const unsigned char byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        prefix = (prefix << 8) | byte;
    }
    return prefix;
}

// Composites are kept in blocks of this size (or one of their own when larger), so that
// growing never copies them.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

/// Makes the next push_back unable to throw, growing by doubling as push_back would.
template <typename T>
void roomForOneMore(std::vector<T>& items) {
    if (items.size() == items.capacity())
        items.reserve(std::max<std::size_t>(64, 2 * items.size()));
}

/// Bytes an encoded text takes at most: every byte escaped, plus the terminator.
std::size_t encodedBound(std::string_view text) { return 2 * text.size() + 2; }

}  // namespace

std::string_view lineContext(std::string_view line) {
    line = withoutLineEnd(line);
    const std::size_t mark = line.find(kContextMark);
    if (mark == std::string_view::npos) return line;
    return line.substr(mark + kContextMark.size());
}

SortedLines::SortedLines(TextComparison comparison, std::vector<SortDirection> keyDirections)
    : m_comparison(comparison), m_directions(std::move(keyDirections)) {}

void SortedLines::reserveComposite(std::size_t size) {
    if (!m_blocks.empty() && m_blocks.back().capacity - m_blocks.back().size >= size) return;
    const std::size_t capacity = std::max(kBlockSize, size);
    m_blocks.push_back({std::make_unique_for_overwrite<char[]>(capacity), 0, capacity});
}

void SortedLines::appendEncoded(std::string_view text, SortDirection direction) {
    // A zero byte becomes 0x00 0x01 and the text ends with 0x00 0x00: a text then sorts
    // before every longer text it begins, and no encoded text begins another. Complementing
    // every byte reverses the order of such texts.
    const bool fold = m_comparison == TextComparison::FoldAsciiCase;
    const unsigned char flip = direction == SortDirection::Descending ? 0xFF : 0x00;
    Block& block = m_blocks.back();
    char* out = block.bytes.get() + block.size;
    for (const char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (fold) byte = ximo::toLower(byte);
        *out++ = static_cast<char>(byte ^ flip);
        if (byte == 0) *out++ = static_cast<char>(1 ^ flip);
    }
    *out++ = static_cast<char>(flip);
    *out++ = static_cast<char>(flip);
    block.size = static_cast<std::size_t>(out - block.bytes.get());
}

void SortedLines::add(const std::string& line, const std::vector<std::string>& keys) {
    if (m_lines.size() >= UINT32_MAX) throw std::bad_alloc();
    const std::string_view text = withoutLineEnd(line);
    const std::string_view noKey;
    std::size_t bound = encodedBound(text);
    for (std::size_t k = 0; k < keyCount(); ++k)
        bound += encodedBound(k < keys.size() ? std::string_view(keys[k]) : noKey);
    // Everything that can fail comes first: once the bytes are in, nothing throws.
    reserveComposite(bound);
    roomForOneMore(m_lines);
    roomForOneMore(m_composites);
    roomForOneMore(m_items);

    const Block& block = m_blocks.back();
    const std::size_t start = block.size;
    for (std::size_t k = 0; k < keyCount(); ++k)
        appendEncoded(k < keys.size() ? std::string_view(keys[k]) : noKey, m_directions[k]);
    appendEncoded(text, keyCount() > 0 ? m_directions[0] : SortDirection::Ascending);
    const std::string_view composite(block.bytes.get() + start, block.size - start);
    m_items.push_back({prefixOf(composite), static_cast<std::uint32_t>(m_lines.size())});
    m_composites.push_back(composite);
    m_lines.push_back(line);
}

std::size_t SortedLines::writeTo(CExStringList& destination, UserInterface& ui) {
    const bool descending = keyCount() > 0 && m_directions[0] == SortDirection::Descending;
    unsigned comparisons = 0;
    std::sort(m_items.begin(), m_items.end(), [&](const Item& a, const Item& b) {
        if (++comparisons % kComparisonsPerPump == 0) ui.pump();
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (const int order = m_composites[a.line].compare(m_composites[b.line]); order != 0)
            return order < 0;
        // Equal but for letter case: both lines stay, in byte order.
        const int exact = m_lines[a.line].compare(m_lines[b.line]);
        return descending ? exact > 0 : exact < 0;
    });

    std::size_t written = 0;
    std::string_view previous;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const std::string_view line = m_lines[m_items[i].line];
        // Identical lines have identical keys, so the sort puts them side by side.
        if (i > 0 && line == previous) continue;
        ui.pump();
        destination.addTail(line);
        previous = line;
        ++written;
    }
    return written;
}

SortRunOutcome sortLines(const CExStringList& source, const SortReading& reading, LineKeys& keys,
                         SortedLines& lines, CExStringList& destination, UserInterface& ui) {
    SortRunOutcome outcome;
    std::vector<std::string> lineKeys;
    for (const std::string& line : source) {
        if (outcome.linesTaken >= reading.maxLines) break;
        if (isSeparatorLine(line)) continue;
        if (reading.skipEmptyLines && withoutLineEnd(line).empty()) continue;
        ui.pump();
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            break;
        }
        try {
            keys.keysOf(line, lineKeys);
            lines.add(line, lineKeys);
        } catch (const std::bad_alloc&) {
            outcome.outOfMemory = true;
            break;
        }
        ++outcome.linesTaken;
    }
    // The destination may be the source, whose lines the sorted set still views.
    CExStringList sorted;
    outcome.linesWritten = static_cast<long>(lines.writeTo(sorted, ui));
    destination = std::move(sorted);
    return outcome;
}

}  // namespace vellmora
