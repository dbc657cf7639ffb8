// pyxo-cli colloq, colloq-table and colloq-ext: the collocation statistics of a formatted
// file's result, their dialogs confirmed as they open. colloq-ext reads the corpus of the last
// search as the settings file holds it.

#include <optional>

#include "cli/result_command.h"
#include "engine/search_run.h"
#include "results/colloq_command.h"
#include "results/result_source.h"

namespace vellmora {
namespace {

/// The statistic a command runs, in a view of its own over the document; true when done.
using Statistic = bool (*)(const ResultCommandPlace& place);

class ColloqCommand : public ResultCommand {
public:
    explicit ColloqCommand(Statistic statistic) : m_statistic(statistic) {}
    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool&) override {
        ApplicationSearchFlags flags;
        SearchState view;
        ResultCommandPlace place{profile, ui, document, flags, view};
        if (!m_statistic(place)) return std::nullopt;
        return ResultKind::Collocation;
    }

private:
    Statistic m_statistic;
};

bool singlePosition(const ResultCommandPlace& place) {
    return runColloqCommand(place, colloqInputOf(place.document)).end == ColloqCommandEnd::Done;
}

bool table(const ResultCommandPlace& place) {
    return runColloqTableCommand(place, colloqInputOf(place.document)).end ==
           ColloqCommandEnd::Done;
}

bool extended(const ResultCommandPlace& place) {
    return runExColloqCommand(place, exColloqInputOf(place.document, place.profile)).end ==
           ColloqCommandEnd::Done;
}

}  // namespace

int runColloq(const CliContext& context) {
    ColloqCommand command(singlePosition);
    return runResultCommand(context, "colloq", command);
}

int runColloqTable(const CliContext& context) {
    ColloqCommand command(table);
    return runResultCommand(context, "colloq-table", command);
}

int runColloqExtended(const CliContext& context) {
    ColloqCommand command(extended);
    return runResultCommand(context, "colloq-ext", command);
}

}  // namespace vellmora
