#pragma once

#include <memory>
#include <string_view>

#include "cli/cli_context.h"
#include "engine/search_run.h"

namespace vellmora {

class CPyxoDoc;
class Histories;
class Profile;
struct LastSearchValues;
struct SearchDialogFields;
class SearchDialogModel;
class UserInterface;

/// What sets kwic, kwic-pos and kwoc apart; everything else they do the same way.
class SearchCommand {
public:
    virtual ~SearchCommand() = default;
    /// Opens the command's dialog as the desktop program would; returns its request fields.
    virtual SearchDialogFields& openDialog(Profile& profile, UserInterface& ui,
                                           const Histories& histories) = 0;
    /// "Search!": the dialog's checks (their message on failure) and its own settings.
    virtual bool confirmDialog() = 0;
    /// The confirmed request into the application-wide last values.
    virtual void copyRequestTo(LastSearchValues& values) const = 0;
    virtual SearchOutcome run(const SearchOptions& options, Profile& profile, UserInterface& ui,
                              CPyxoDoc& document, SearchState& state,
                              const SearchRequest& request) = 0;
};

/// A search command confirmed by the KWIC search dialog.
class KwicDialogCommand : public SearchCommand {
public:
    KwicDialogCommand();
    ~KwicDialogCommand() override;
    SearchDialogFields& openDialog(Profile& profile, UserInterface& ui,
                                   const Histories& histories) override;
    bool confirmDialog() override;
    void copyRequestTo(LastSearchValues& values) const override;

private:
    std::unique_ptr<SearchDialogModel> m_dialog;
};

/// A search command whose dialog model carries the range dialog's request and adds its own
/// fields (the positioned and the KWOC search dialogs).
template <class DialogModel>
class WrappedDialogCommand : public SearchCommand {
public:
    SearchDialogFields& openDialog(Profile& profile, UserInterface& ui,
                                   const Histories& histories) override {
        m_dialog = std::make_unique<DialogModel>(profile, ui, histories);
        m_dialog->open();
        return m_dialog->request();
    }
    bool confirmDialog() override { return m_dialog->search(); }
    void copyRequestTo(LastSearchValues& values) const override {
        m_dialog->copyRequestTo(values);
    }

protected:
    std::unique_ptr<DialogModel> m_dialog;
};

/// The road of a search command: its arguments (-1 -2 --group1 --group2 -d -f -r) fill the
/// dialog as if typed, the dialog is confirmed (a refusal is exit 2), the request and the
/// histories are stored as the desktop program stores them, and the result lines stream to
/// standard output as they are found.
int runSearchCommand(const CliContext& context, std::string_view name, SearchCommand& command);

}  // namespace vellmora
