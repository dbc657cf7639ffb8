// pyxo-cli kwoc: the KWOC search, its dialog confirmed as the command line fills it; the
// combination of keyword 2 comes from Options/Method, "Order sensitive search" and the context
// lines from KWOCOptions.

#include <memory>

#include "cli/search_command.h"
#include "engine/kwoc_search.h"
#include "engine/kwoc_search_dialog_model.h"

namespace vellmora {
namespace {

class KwocCommand : public WrappedDialogCommand<KwocSearchDialogModel> {
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
