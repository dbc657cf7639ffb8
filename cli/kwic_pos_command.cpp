// pyxo-cli kwic-pos: the positioned KWIC search, its dialog confirmed as the command line fills
// it; the word positions are those the dialog opens with, from the settings file.

#include <memory>

#include "cli/search_command.h"
#include "engine/positioned_dialog_model.h"
#include "engine/positioned_search.h"

namespace vellmora {
namespace {

class KwicPosCommand : public WrappedDialogCommand<PositionedDialogModel> {
public:
    SearchOutcome run(const SearchOptions& options, Profile& profile, UserInterface& ui,
                      CPyxoDoc& document, SearchState& state,
                      const SearchRequest& request) override {
        return runPositionedSearch(options, profile, ui, document, state, request,
                                   m_dialog->positions());
    }
};

}  // namespace

int runKwicPos(const CliContext& context) {
    KwicPosCommand command;
    return runSearchCommand(context, "kwic-pos", command);
}

}  // namespace vellmora
