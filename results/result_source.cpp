#include "results/result_source.h"

#include <algorithm>

#include "engine/search_run.h"

namespace vellmora {

ResultKind sourceKindOf(const DisplaySnapshot& snapshot) {
    return kindFromValue(snapshot.history[0]);
}

std::vector<std::int64_t> tabColumnWidths(const CExStringList& list) {
    std::vector<std::int64_t> widths;
    for (const std::string& stored : list) {
        std::string_view line = stored;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        // No second byte of a double-byte character is a tab: a byte-wise cut is safe.
        for (std::size_t column = 0;; ++column) {
            const std::size_t tab = line.find('\t');
            const auto width = static_cast<std::int64_t>(std::min(tab, line.size()));
            if (widths.size() <= column) widths.resize(column + 1, 0);
            widths[column] = std::max(widths[column], width);
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
    }
    return widths;
}

BusyScope::BusyScope(const ResultCommandPlace& place) : m_place(place) {
    m_place.flags.running = true;
    m_place.view.busy = true;
}

BusyScope::~BusyScope() {
    m_place.flags.running = false;
    m_place.view.busy = false;
}

}  // namespace vellmora
