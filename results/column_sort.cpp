#include "results/column_sort.h"

#include <vector>

#include "containers/ex_string_list.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

class ColumnKeys : public LineKeys {
public:
    explicit ColumnKeys(int column) : m_column(column) {}

    void keysOf(const std::string& line, std::vector<std::string>& keys) override {
        keys.resize(1);
        keys[0].assign(columnKey(line, m_column));
    }

private:
    int m_column;
};

}  // namespace

std::string_view columnKey(const std::string& line, int column) {
    const std::string_view context = lineContext(line);
    const std::size_t start = column > 1 ? static_cast<std::size_t>(column) - 1 : 0;
    if (start >= context.size()) return {};
    // The byte before must begin a double-byte character: the second-byte range alone
    // holds every ASCII letter. The context is a tail of the terminated line, so the
    // library may walk it from there.
    const char* text = line.c_str() + (context.data() - line.data());
    const bool secondByte = start > 0 && is_nth_kanji(static_cast<int>(start) - 1, text) == 0;
    return context.substr(secondByte ? start - 1 : start);
}

SortRunOutcome sortByColumn(const CExStringList& source, const ColumnSortSpec& spec,
                            CExStringList& destination, UserInterface& ui) {
    SortedLines lines(TextComparison::FoldAsciiCase,
                      {spec.descending ? SortDirection::Descending : SortDirection::Ascending});
    ColumnKeys keys(spec.column);
    return sortLines(source, SortReading{spec.maxLines, true}, keys, lines, destination, ui);
}

}  // namespace vellmora
