#include "results/colloq_extended.h"

#include <cstdio>

#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "platform/user_interface.h"
#include "results/colloq_count.h"

namespace vellmora {

ExColloqFormat exColloqFormatOf(int stored) {
    return stored >= 0 && stored < kExColloqFormats ? static_cast<ExColloqFormat>(stored)
                                                    : ExColloqFormat::Default;
}

std::string_view neverOccursCell(ExColloqFormat format) {
    switch (format) {
        case ExColloqFormat::Ratio:
            return "-.----/-.----";
        case ExColloqFormat::Frequency:
            return "----/----";
        case ExColloqFormat::Default:
        case ExColloqFormat::RatioExpectancy:
            break;
    }
    return "-.----";
}

std::string extendedCell(ExColloqFormat format, std::uint64_t count, long lines,
                         std::uint64_t referenceCount, std::uint64_t referenceTotal) {
    // A word counted in the result but absent from the corpus (the files changed after the
    // search) has no reference share to divide by.
    if (count == 0 || lines <= 0 || referenceCount == 0 || referenceTotal == 0)
        return std::string(neverOccursCell(format));
    const double observed = static_cast<double>(count) / static_cast<double>(lines);
    const double expected =
        static_cast<double>(referenceCount) / static_cast<double>(referenceTotal);
    char cell[128];
    switch (format) {
        case ExColloqFormat::Default:
            std::snprintf(cell, sizeof cell, "%2.4lf", observed / expected);
            break;
        case ExColloqFormat::Ratio:
            std::snprintf(cell, sizeof cell, "%2.4lf/%2.4lf", observed, expected);
            break;
        case ExColloqFormat::Frequency:
            std::snprintf(cell, sizeof cell, "%llu/%llu", static_cast<unsigned long long>(count),
                          static_cast<unsigned long long>(referenceCount));
            break;
        case ExColloqFormat::RatioExpectancy:
            std::snprintf(cell, sizeof cell, "%2.4lf",
                          observed / (expected * static_cast<double>(lines)));
            break;
    }
    return cell;
}

bool writeExtendedTable(const CollocationCounts& counts, const CStringTree& reference,
                        ExColloqFormat format, CExStringList& destination, UserInterface& ui) {
    CExStringList rows;
    rows.addTail(kExtendedTableHeader);
    bool stopped = false;
    std::string row;
    counts.all().forEach([&](const CStringTree::Entry& entry) {
        if (stopped) return;
        const CStringTree::Count referenceCount = reference.countOf(entry.text);
        row.assign(entry.text);
        for (int position : kTableColumnPositions) {
            row.append("\t").append(extendedCell(format, counts.at(position).countOf(entry.text),
                                                 counts.lines(), referenceCount,
                                                 reference.total()));
        }
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
