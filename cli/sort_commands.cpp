// pyxo-cli sort and sort-column: the sorts of a formatted file's shown list, their dialogs
// confirmed as they open.

#include <optional>

#include "cli/result_command.h"
#include "engine/search_run.h"
#include "results/column_sort_command.h"
#include "results/result_source.h"
#include "results/sort_command.h"

namespace vellmora {
namespace {

/// Runs one sort command in a view of its own over the document.
class SortCommand : public ResultCommand {
public:
    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool&) override {
        ApplicationSearchFlags flags;
        SearchState view;
        ResultCommandPlace place{profile, ui, document, flags, view};
        if (!sort(place, sourceKindOf(document.snapshot()))) return std::nullopt;
        return ResultKind::Sorted;
    }

protected:
    /// True when the sort ran to its end.
    virtual bool sort(const ResultCommandPlace& place, ResultKind source) = 0;
};

class SortByWordsCommand : public SortCommand {
    bool sort(const ResultCommandPlace& place, ResultKind source) override {
        const DisplaySnapshot& shown = place.document.snapshot();
        SortInput input{source, shown.keywordColumn, static_cast<int>(shown.keyword1.size())};
        SortCommandResult result = runSortCommand(place, input);
        return result.end == SortCommandEnd::Done && !result.run.cancelled;
    }
};

class SortByColumnCommand : public SortCommand {
    bool sort(const ResultCommandPlace& place, ResultKind source) override {
        const DisplaySnapshot& shown = place.document.snapshot();
        ColumnSortInput input{source, shown.keywordColumn, shown.usableWidth};
        ColumnSortCommandResult result = runColumnSortCommand(place, input);
        return result.end == SortCommandEnd::Done && !result.run.cancelled;
    }
};

}  // namespace

int runSort(const CliContext& context) {
    SortByWordsCommand command;
    return runResultCommand(context, "sort", command);
}

int runSortColumn(const CliContext& context) {
    SortByColumnCommand command;
    return runResultCommand(context, "sort-column", command);
}

}  // namespace vellmora
