// pyxo-cli kwoc: the KWOC search with the request the command line gives; the combination of
// keyword 2 comes from Options/Method and the context lines from KWOCOptions.

#include "cli/search_command.h"
#include "engine/kwoc_search.h"

namespace vellmora {
namespace {

class KwocCommand : public KwicDialogCommand {
public:
    SearchOutcome run(const SearchOptions& options, Profile& profile, UserInterface& ui,
                      CPyxoDoc& document, SearchState& state,
                      const SearchRequest& request) override {
        KwocOptions kwoc = readKwocOptions(profile);
        KwocSearchRun run(options, kwoc, profile, ui, document, state);
        return run.run(request);
    }
};

}  // namespace

int runKwoc(const CliContext& context) {
    KwocCommand command;
    return runSearchCommand(context, "kwoc", command);
}

}  // namespace vellmora
