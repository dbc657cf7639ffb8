// The search commands of the main window: the three search dialogs and their runs in the
// active result window, files dropped on a view, the word groups.

#include "app/main_frame.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <map>

#include "app/result_view.h"
#include "app/result_window.h"
#include "app/search_dialog.h"
#include "app/word_group_dialog.h"
#include "engine/encoding_detection.h"
#include "engine/kwoc_search.h"
#include "engine/positioned_search.h"
#include "engine/result_accumulation.h"
#include "engine/search_dialog_model.h"
#include "engine/search_options.h"
#include "settings/catalogue.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

/// What Auto read the files as: the result lines never say it, so the separator lines' tooltips
/// and the status bar do ("Read as: 2 Shift-JIS, 1 UTF-8"). A run without Auto clears both.
void showReadAs(ResultWindow& window, const SearchOutcome& outcome, QStatusBar& statusBar) {
    std::map<std::string, std::string> byName;
    std::map<InputEncoding, int> counts;
    for (const FileReadAs& file : outcome.readAs) {
        byName[file.displayName] = std::string(inputEncodingName(file.encoding));
        ++counts[file.encoding];
    }
    window.view().setReadAs(std::move(byName));
    if (outcome.readAs.empty()) return;
    QStringList parts;
    for (const auto& [encoding, count] : counts)
        parts << QString("%1 %2").arg(count).arg(QString::fromUtf8(inputEncodingName(encoding)));
    statusBar.showMessage("Read as: " + parts.join(", "));
}

}  // namespace

ResultWindow* CMainFrame::windowForSearch(bool kwoc) {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return nullptr;
    SearchState& state = window->searchState();
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    if (refuseWhileBusy(m_flags, state, m_ui)) return nullptr;
    // KWIC and KWOC lines never share a window.
    return (kwoc ? kwocSearchEnabled(state) : kwicSearchEnabled(state)) ? window : nullptr;
}

void CMainFrame::runSearch(ResultWindow& window, const SearchDialogFields& fields,
                           const std::function<void(LastSearchValues&)>& copyRequest,
                           const SearchRunner& run) {
    // The request and its histories are stored before any file opens.
    copyRequest(m_histories.lastValues());
    m_histories.saveLastValues(m_profile, !fields.keyword2.empty());
    SearchOptions options = readSearchOptions(m_profile);
    options.jobs = defaultSearchJobs();
    const SearchRequest request = searchRequestOf(fields);
    SearchOutcome outcome;
    {
        const SearchingBox box = showSearchingBox(options.noDialog);
        outcome = runKeepingRetainedKind(window.searchState(),
                                         [&] { return run(options, request); });
    }
    afterSearch(window, request.keyword1.text, request.keyword2.text);
    window.noteSearchEnd(outcome, options.maxLine);
    showReadAs(window, outcome, *statusBar());
    if (options.grep)
        window.view().setExpressionSearch(request.keyword1, request.keyword2, options.method,
                                          options.ignoreCase);
    else
        window.view().clearExpressionSearch();
    updateCommandStates();
}

void CMainFrame::kwicSearch() {
    ResultWindow* window = windowForSearch(false);
    if (window == nullptr) return;
    SearchDialogModel model(m_profile, m_ui, m_histories);
    model.open();
    if (CSearchDialog(model, this).exec() != QDialog::Accepted) return;
    runSearch(*window, model.fields(),
              [&](LastSearchValues& values) { model.copyRequestTo(values); },
              [&](const SearchOptions& options, const SearchRequest& request) {
                  KwicSearchRun run(options, m_profile, m_ui, window->document(),
                                    window->searchState());
                  return run.run(request, &m_flags);
              });
}

void CMainFrame::positionedSearch() {
    ResultWindow* window = windowForSearch(false);
    if (window == nullptr) return;
    PositionedDialogModel model(m_profile, m_ui, m_histories);
    model.open();
    if (CPositionedDialog(model, this).exec() != QDialog::Accepted) return;
    runSearch(*window, model.request(),
              [&](LastSearchValues& values) { model.copyRequestTo(values); },
              [&](const SearchOptions& options, const SearchRequest& request) {
                  return runPositionedSearch(options, m_profile, m_ui, window->document(),
                                             window->searchState(), request, model.positions(),
                                             &m_flags);
              });
}

void CMainFrame::kwocSearch() {
    ResultWindow* window = windowForSearch(true);
    if (window == nullptr) return;
    KwocSearchDialogModel model(m_profile, m_ui, m_histories);
    model.open();
    if (CKwocSearchDialog(model, this).exec() != QDialog::Accepted) return;
    runSearch(*window, model.request(),
              [&](LastSearchValues& values) { model.copyRequestTo(values); },
              [&](const SearchOptions& options, const SearchRequest& request) {
                  KwocSearchRun run(options, readKwocOptions(m_profile), m_profile, m_ui,
                                    window->document(), window->searchState());
                  return run.run(request, &m_flags);
              });
}

void CMainFrame::kwocOptions() {
    KwocOptionDialogModel model(m_profile, m_ui);
    model.open();
    CKwocOptionDialog(model, this).exec();
}

CMainFrame::SearchingBox CMainFrame::showSearchingBox(bool noDialog) {
    updateCommandStates();
    if (noDialog) return nullptr;
    // Modeless, so that the window and its commands stay usable while the run pumps events;
    // its "Quit Search" stops the run at its next line.
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, windowTitle(),
                                             "I'm searching ...", QMessageBox::NoButton, this);
    QPushButton* quit = box->addButton("Quit Search", QMessageBox::RejectRole);
    connect(quit, &QPushButton::clicked, this, [this] { quitSearch(); });
    box->setModal(false);
    box->show();
    return box;
}

void CMainFrame::quitSearch() {
    if (!m_flags.running) return;
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_ui.alertBeep();
    m_ui.requestCancel();
}

void CMainFrame::afterSearch(ResultWindow& window, std::string_view keyword1,
                             std::string_view keyword2) {
    recordSearchInDocument(window.searchState(), keyword1, keyword2, window.document());
    m_histories.save(m_profile);
    refreshTableWidths(window);
    updateCommandStates();
}

void CMainFrame::dropOnView(ResultWindow& window, const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(path.toStdString());
    SearchRequest searched;
    SearchOutcome outcome;
    DropHandlers handlers;
    handlers.openFormatted = [this](const std::string& path) {
        openFormattedFile(QString::fromStdString(path));
    };
    handlers.showDialog = [this](DropDialogModel& model) {
        return DropSearchDialog(model, this).exec() == QDialog::Accepted;
    };
    handlers.run = [&](const SearchRequest& request, const CExStringList& corpus) {
        searched = request;
        const SearchingBox box = showSearchingBox(readSearchOptions(m_profile).noDialog);
        outcome = runDroppedFileSearch(request, corpus, m_profile, m_ui, window.document(),
                                       window.searchState(), &m_flags);
        return outcome;
    };
    if (dropFiles(files, m_flags, window.searchState(), m_ui, m_profile, m_histories, handlers) ==
        DropResult::Searched) {
        afterSearch(window, searched.keyword1.text, searched.keyword2.text);
        window.noteSearchEnd(outcome, readSearchOptions(m_profile).maxLine);
        showReadAs(window, outcome, *statusBar());
        updateCommandStates();
    }
}

void CMainFrame::editWordGroups() {
    WordGroupDialogModel model(m_profile, m_ui);
    model.open();
    CWordGroupDialog(model, this).exec();
}

}  // namespace vellmora
