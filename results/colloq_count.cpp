#include "results/colloq_count.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "results/result_source.h"
#include "results/sort_order.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

// gettoken writes at most its 999-byte copy and a terminator.
constexpr std::size_t kWordBufferSize = 1000;

/// Cuts the word at a position around the keyword out of result lines, reusing its buffers
/// from line to line.
class WordCutter {
public:
    explicit WordCutter(const KeywordPlace& keyword) : m_keyword(keyword) {}

    /// Takes the context of line; wordAt() then reads it.
    void take(const std::string& line) {
        // gettoken wants a terminated text; the context ends before the line end.
        m_context.assign(lineContext(line));
    }

    /// The word at position in the context taken last, empty when there is none. The buffer
    /// is the cutter's own and may be changed until the next call.
    char* wordAt(int position, bool bySentence) {
        return gettoken(position, bySentence ? 1 : 0, m_keyword.offset, m_keyword.length,
                        m_context.c_str(), m_word.data());
    }

private:
    KeywordPlace m_keyword;
    std::string m_context;
    std::array<char, kWordBufferSize> m_word{};
};

CStringTree::Form lineFormOf(const ColloqSpec& spec) {
    if (spec.percent)
        return spec.tail ? CStringTree::Form::CountsWithShareReversed
                         : CStringTree::Form::CountsWithShare;
    return spec.tail ? CStringTree::Form::CountsReversed : CStringTree::Form::Counts;
}

std::string summaryLine(long count, const char* label) {
    char line[64];
    std::snprintf(line, sizeof line, "%10ld : %s\r\n", count, label);
    return line;
}

std::size_t positionIndex(int position) {
    if (position < kFirstColloqPosition || position > kLastColloqPosition) position = 0;
    return static_cast<std::size_t>(position - kFirstColloqPosition);
}

}  // namespace

ColloqOutcome countWordsAtPosition(const CExStringList& source, const ColloqSpec& spec,
                                   CExStringList& destination, UserInterface& ui) {
    ColloqOutcome outcome;
    CStringTree tree;
    WordCutter cutter(spec.keyword);
    for (const std::string& line : source) {
        if (isSeparatorLine(line)) continue;
        ui.pump();
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            return outcome;
        }
        cutter.take(line);
        char* word = cutter.wordAt(spec.position, spec.sentenceFinal);
        if (word[0] == '\0') continue;
        ++outcome.totalWords;
        // Byte-wise, so that words with a common ending meet; turned back when written.
        if (spec.tail) mbstrrev(word);
        if (spec.european)
            tree.addExact(word);
        else
            tree.addNoCase(word);
    }
    outcome.differentWords = static_cast<long>(tree.distinct());

    CExStringList lines;
    tree.writeSortedLines(lines, lineFormOf(spec), ui);
    tree.clear();
    if (spec.frequencyOrder) lines.digitSort(CStringTree::kDefaultWidth, false, ui);
    if (ui.cancelRequested()) {
        outcome.cancelled = true;
        return outcome;
    }
    lines.addTail(kColloqRule);
    lines.addTail(summaryLine(outcome.totalWords, "Total Words"));
    lines.addTail(summaryLine(outcome.differentWords, "Different Words"));
    destination = std::move(lines);
    return outcome;
}

bool CollocationCounts::count(const CExStringList& source, const KeywordPlace& keyword,
                              UserInterface& ui) {
    WordCutter cutter(keyword);
    for (const std::string& line : source) {
        if (isSeparatorLine(line)) continue;
        ui.pump();
        if (ui.cancelRequested()) return false;
        ++m_lines;
        cutter.take(line);
        for (int position = kFirstColloqPosition; position <= kLastColloqPosition; ++position) {
            const char* word = cutter.wordAt(position, false);
            if (word[0] == '\0') continue;
            m_positions[positionIndex(position)].addNoCase(word);
            m_all.addNoCase(word);
        }
    }
    return true;
}

const CStringTree& CollocationCounts::at(int position) const {
    return m_positions[positionIndex(position)];
}

bool writeFrequencyTable(const CollocationCounts& counts, CExStringList& destination,
                         UserInterface& ui) {
    CExStringList rows;
    rows.addTail(kFrequencyTableHeader);
    bool stopped = false;
    std::string row;
    counts.all().forEach([&](const CStringTree::Entry& entry) {
        if (stopped) return;
        row.assign(entry.text).append("\t").append(std::to_string(entry.count));
        for (int position : kTableColumnPositions)
            row.append("\t").append(std::to_string(counts.at(position).countOf(entry.text)));
        row.append("\r\n");
        rows.addTail(row);
        ui.pump();
        stopped = ui.cancelRequested();
    });
    if (stopped) return false;
    destination = std::move(rows);
    return true;
}

}  // namespace vellmora
