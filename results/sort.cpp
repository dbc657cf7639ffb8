#include "results/sort.h"

#include <algorithm>
#include <array>
#include <string>

#include "containers/ex_string_list.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::size_t kMaxKeys = 3;
// gettoken writes at most its 999-byte copy and a terminator.
constexpr std::size_t kTokenBufferSize = 1000;

/// The words at the key positions of a line's context.
class WordKeys : public LineKeys {
public:
    explicit WordKeys(const WordSortSpec& spec) : m_spec(spec) {
        m_keyCount = std::min(spec.keys.size(), kMaxKeys);
    }

    void keysOf(const std::string& line, std::vector<std::string>& keys) override {
        // gettoken wants a terminated text; the context ends before the line end.
        m_context.assign(lineContext(line));
        keys.resize(m_keyCount);
        for (std::size_t k = 0; k < m_keyCount; ++k) {
            const WordSortKey& key = m_spec.keys[k];
            gettoken(key.position, m_spec.sentenceFinal ? 1 : 0, m_spec.keywordOffset,
                     m_spec.keywordLength, m_context.c_str(), m_word.data());
            keys[k].assign(m_word.data());
            // Byte-wise like mbstrrev: sorting by endings wants the last byte first.
            if (key.byTail) std::reverse(keys[k].begin(), keys[k].end());
        }
    }

private:
    const WordSortSpec& m_spec;
    std::size_t m_keyCount = 0;
    std::string m_context;
    std::array<char, kTokenBufferSize> m_word{};
};

}  // namespace

SortRunOutcome sortByWords(const CExStringList& source, const WordSortSpec& spec,
                           CExStringList& destination, UserInterface& ui) {
    std::vector<SortDirection> directions;
    for (std::size_t k = 0; k < std::min(spec.keys.size(), kMaxKeys); ++k)
        directions.push_back(spec.keys[k].descending ? SortDirection::Descending
                                                     : SortDirection::Ascending);
    SortedLines lines(spec.byteWise ? TextComparison::ByteWise : TextComparison::FoldAsciiCase,
                      std::move(directions));
    WordKeys keys(spec);
    return sortLines(source, SortReading{spec.maxLines, false}, keys, lines, destination, ui);
}

}  // namespace vellmora
