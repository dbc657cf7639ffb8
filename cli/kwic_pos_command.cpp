// pyxo-cli kwic-pos: the positioned KWIC search, its dialog confirmed as the command line fills
// it; the word positions are those the dialog opens with, from the settings file.

#include <memory>

#include "cli/search_command.h"
#include "engine/positioned_dialog_model.h"
#include "engine/positioned_search.h"

namespace vellmora {
namespace {

class KwicPosCommand : public SearchCommand {
public:
    SearchDialogFields& openDialog(Profile& profile, UserInterface& ui,
                                   const Histories& histories) override {
        m_dialog = std::make_unique<PositionedDialogModel>(profile, ui, histories);
        m_dialog->open();
        return m_dialog->request();
    }
    bool confirmDialog() override { return m_dialog->search(); }
    void copyRequestTo(LastSearchValues& values) const override {
        m_dialog->copyRequestTo(values);
    }
    SearchOutcome run(const SearchOptions& options, Profile& profile, UserInterface& ui,
                      CPyxoDoc& document, SearchState& state,
                      const SearchRequest& request) override {
        return runPositionedSearch(options, profile, ui, document, state, request,
                                   m_dialog->positions());
    }

private:
    std::unique_ptr<PositionedDialogModel> m_dialog;
};

}  // namespace

int runKwicPos(const CliContext& context) {
    KwicPosCommand command;
    return runSearchCommand(context, "kwic-pos", command);
}

}  // namespace vellmora
