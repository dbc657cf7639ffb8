// pyxo-cli kwic: the KWIC search of the search dialog, confirmed as the command line fills it.

#include "cli/search_command.h"

namespace vellmora {
namespace {

class KwicCommand : public KwicDialogCommand {
public:
    SearchOutcome run(const SearchOptions& options, Profile& profile, UserInterface& ui,
                      CPyxoDoc& document, SearchState& state,
                      const SearchRequest& request) override {
        KwicSearchRun run(options, profile, ui, document, state);
        return run.run(request);
    }
};

}  // namespace

int runKwic(const CliContext& context) {
    KwicCommand command;
    return runSearchCommand(context, "kwic", command);
}

}  // namespace vellmora
