#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/dispersion_window.h"
#include "app/result_dialogs.h"
#include "app/result_view.h"
#include "app/option_dialog.h"
#include "app/result_window.h"
#include "app/shell_dialogs.h"
#include "app/startup.h"
#include "app/window_arrangement.h"
#include "document/formatted_file.h"
#include "document/launcher.h"
#include "document/result_navigation.h"
#include "engine/result_accumulation.h"
#include "engine/search_dialog_model.h"
#include "engine/search_options.h"
#include "results/colloq_command.h"
#include "results/result_source.h"
#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/font_record.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

using C = CommandId;


// Never enabled: the program has nothing to undo, cut or paste.
constexpr CommandId kAlwaysDisabled[] = {C::Undo, C::Cut, C::Paste};

bool isFormattedPath(const QString& path) {
    const std::string name = path.toStdString();
    std::string_view extension = fileExtension(name);
    return equalsIgnoringAsciiCase(extension, "vm2") || equalsIgnoringAsciiCase(extension, "vm1");
}

/// A command whose shortcut is also the Alt mnemonic of a menu on the bar ("KWIC Options"
/// Alt+O and "&Options") would be ambiguous to Qt, and neither would happen. The command wins,
/// as a shortcut table wins over menu mnemonics elsewhere: its key is taken before the
/// shortcut map sees it, while the main window itself is active.
class CommandKeysFirst : public QObject {
public:
    CommandKeysFirst(QWidget* window, std::vector<QAction*> commands)
        : QObject(window), m_window(window), m_commands(std::move(commands)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        if (QApplication::activeWindow() != m_window) return false;
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* command : m_commands) {
            if (!command->shortcuts().contains(key)) continue;
            event->accept();
            if (event->type() == QEvent::KeyPress && command->isEnabled()) command->trigger();
            return true;
        }
        return false;
    }

private:
    QWidget* m_window;
    std::vector<QAction*> m_commands;
};

}  // namespace

CMainFrame::CMainFrame(Profile& profile, Histories& histories, QWidget* parent)
    : QMainWindow(parent), m_profile(profile), m_histories(histories), m_ui(this) {
    setWindowTitle("Vellmora");
    setAcceptDrops(true);
    m_area = new QMdiArea(this);
    setCentralWidget(m_area);
    m_ui.setDocumentHooks({
        [this](DocumentId id, std::string_view progress) {
            if (ResultWindow* window = windowOf(id)) window->showBusyTitle(displayText(progress));
            // A run's loop has begun: its window now holds a search (Break may save it).
            updateCommandStates();
        },
        [this](DocumentId id) {
            if (ResultWindow* window = windowOf(id)) window->updateTitle();
        },
        [this](DocumentId id) {
            if (ResultWindow* window = windowOf(id)) window->view().updateFromDocument();
        },
    });
    createActions();
    buildMenus();
    buildContextMenu();
    buildToolbars();
    connectCommands();
    refreshSlotTips();
    statusBar()->setVisible(readInt(m_profile, settingKey("Display", "StatusBar")) != 0);
    // What the active window holds, and whether it is whole; menu hints do not cover it.
    m_resultStatus = new QLabel(this);
    m_resultStatus->setObjectName("resultStatus");
    statusBar()->addPermanentWidget(m_resultStatus);
    for (auto [id, shown] : {std::pair{C::Toolbar, !m_standardBar->isHidden()},
                             std::pair{C::Statusbar, !statusBar()->isHidden()}}) {
        action(id)->setCheckable(true);
        action(id)->setChecked(shown);
        // A menu draws an entry's icon in place of its check mark.
        action(id)->setIconVisibleInMenu(false);
    }
    connect(m_area, &QMdiArea::subWindowActivated, this, [this] {
        // A message such as "Read as: ..." told of the window that was active.
        statusBar()->clearMessage();
        updateCommandStates();
    });
    showMenuBarFor(false);
    preferCommandKeysToMnemonics();
    updateCommandStates();
}

void CMainFrame::preferCommandKeysToMnemonics() {
    QList<QKeySequence> mnemonics;
    for (QAction* entry : m_fullBar) mnemonics << QKeySequence::mnemonic(entry->text());
    std::vector<QAction*> clashing;
    for (const auto& [id, command] : m_actions)
        for (const QKeySequence& key : command->shortcuts())
            if (mnemonics.contains(key)) clashing.push_back(command);
    qApp->installEventFilter(new CommandKeysFirst(this, std::move(clashing)));
}

void CMainFrame::showAsPlaced() {
    const std::optional<WindowPlacement> placement = WindowPlacement::read(m_profile);
    if (!placement) {
        // Most of the screen, centred: a concordance needs room for its lines and windows.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size(screen.width() * 17 / 20, screen.height() * 17 / 20);
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen));
        show();
        return;
    }
    setGeometry(placement->left, placement->top, placement->right - placement->left,
                placement->bottom - placement->top);
    if (placement->showCmd == 3) showMaximized();
    else if (placement->showCmd == 2) showMinimized();
    else show();
}

void CMainFrame::savePlacement() {
    WindowPlacement placement;
    const QRect normal = normalGeometry();
    placement.showCmd = isMaximized() ? 3 : isMinimized() ? 2 : 1;
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    placement.write(m_profile);
}

CMainFrame::~CMainFrame() {
    // The result windows go with the MDI area, after this object's own members: nothing they
    // signal on their way out may reach the commands, which are gone by then.
    m_destroying = true;
    m_area->disconnect(this);
}

void CMainFrame::toggleToolbars() {
    // The stored choice of bars belongs to the extra options; this one lasts for the session.
    const bool shown = !m_standardBar->isHidden() || !m_secondBar->isHidden();
    m_standardBar->setVisible(!shown);
    m_secondBar->setVisible(!shown && readInt(m_profile, settingKey("Display", "ToolBar2")) == 1);
    action(C::Toolbar)->setChecked(!shown);
}

void CMainFrame::toggleStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
    action(C::Statusbar)->setChecked(!statusBar()->isHidden());
}

void CMainFrame::connectCommands() {
    auto on = [this](CommandId id, auto handler) {
        connect(action(id), &QAction::triggered, this, handler);
    };
    auto inView = [this](CommandId id, void (ResultView::*slot)()) {
        connect(action(id), &QAction::triggered, this, [this, slot] {
            if (ResultWindow* window = activeResultWindow()) (window->view().*slot)();
        });
    };
    on(C::New, [this] { newResultWindow(); });
    on(C::CreateNewWindow, [this] { newResultWindow(); });
    on(C::Open, [this] { open(); });
    on(C::Close, [this] {
        if (ResultWindow* window = activeResultWindow()) window->parentWidget()->close();
    });
    on(C::CloseAll, [this] { closeAll(true); });
    on(C::CloseAllWindows, [this] { closeAll(true); });
    on(C::SaveAllText, [this] { saveAll(); });
    on(C::SaveAllTextAndClose, [this] { closeAll(true); });
    on(C::SaveText, [this] {
        if (ResultWindow* window = activeResultWindow()) saveToText(*window, false);
    });
    on(C::SaveTextAs, [this] {
        if (ResultWindow* window = activeResultWindow()) saveToText(*window, true);
    });
    on(C::Break, [this] { breakAndSaveFormatted(); });
    on(C::Exit, [this] { close(); });
    on(C::ShowOriginal, [this] { showKind(ResultKind::Original); });
    on(C::ShowExtracted, [this] { showKind(ResultKind::Extracted); });
    on(C::ShowSorted, [this] { showKind(ResultKind::Sorted); });
    on(C::ShowCollocation, [this] { showKind(ResultKind::Collocation); });
    on(C::ShowSpreadsheet, [this] { showKind(ResultKind::Spreadsheet); });
    on(C::PreviousResult, [this] { previousResult(); });
    on(C::ResultCounts, [this] { showResultCounts(); });
    on(C::DispersionPlot, [this] {
        ResultWindow* window = activeResultWindow();
        if (window != nullptr && !refuseWhileSearching(*window))
            showDispersionWindow(*window, m_profile);
    });
    on(C::Cascade, [this] { arrangeWindows(Arrangement::Cascade); });
    on(C::TileHorizontal, [this] { arrangeWindows(Arrangement::Rows); });
    on(C::TileVertical, [this] { arrangeWindows(Arrangement::Columns); });
    on(C::ArrangeIcons, [this] { arrangeMinimizedWindows(); });
    on(C::NextWindow, [this] { activateNeighbourWindow(1); });
    on(C::PreviousWindow, [this] { activateNeighbourWindow(-1); });
    on(C::HelpContents, [this] { showHelp(); });
    on(C::About, [this] { showAbout(); });
    on(C::Toolbar, [this] { toggleToolbars(); });
    on(C::Statusbar, [this] { toggleStatusBar(); });
    on(C::NoSupportOptions, [this] { showNoSupportOptions(); });
    on(C::SaveOption, [this] { showSaveOptions(); });
    inView(C::Copy, &ResultView::copyToClipboard);
    inView(C::TextColor, &ResultView::chooseTextColor);
    inView(C::BackgroundColor, &ResultView::chooseBackgroundColor);
    inView(C::Display, &ResultView::displayOptions);
    on(C::Font, [this] { chooseFont(); });
    on(C::KwicRange, [this] { kwicSearch(); });
    on(C::KwicPosition, [this] { positionedSearch(); });
    on(C::KwocSearch, [this] { kwocSearch(); });
    on(C::KwocOption, [this] { kwocOptions(); });
    on(C::ExtractRange, [this] { extract(false); });
    on(C::ExtractPosition, [this] { extract(true); });
    on(C::Sort, [this] { sort(false); });
    on(C::SortByColumn, [this] { sort(true); });
    on(C::Collocation, [this] { collocation(CollocationForm::Positions); });
    on(C::CollocationTable, [this] { collocation(CollocationForm::Table); });
    on(C::ExtendedCollocation, [this] { collocation(CollocationForm::Extended); });
    on(C::CollocationStrength, [this] { collocation(CollocationForm::Strength); });
    on(C::ExtendedCollocationOptions, [this] {
        runExColloqOptions(m_profile, [this](ExColloqDialogModel& dialog) {
            return showExColloqDialog(dialog, this);
        });
    });
    on(C::Convert, [this] { convert(); });
    on(C::AverageWordLength, [this] { averageWordLength(); });
    on(C::SetTextEditor, [this] { setTextEditor(); });
    on(C::LauncherMenu, [this] { launcherMenu(); });
    for (int slot = 1; slot <= kQuickStartSlots; ++slot)
        on(slotCommand(slot), [this, slot] { quickStart(slot); });
    on(C::Print, [this] { printResult(); });
    on(C::Preview, [this] { previewResult(); });
    on(C::PrinterSetting, [this] { printerSetting(); });
    on(C::PrintOptions, [this] { printOptions(); });
    on(C::MakeFileList, [this] { makeFileList(); });
    on(C::EditWordGroup, [this] { editWordGroups(); });
    on(C::KwicOptions, [this] {
        OptionDialogModel options(m_profile, m_ui);
        options.open();
        COptionDialog(options, this).exec();
    });
    on(C::QuitSearch, [this] { quitSearch(); });
    on(C::PrepareToAdd, [this] {
        ResultWindow* window = activeResultWindow();
        if (window == nullptr || refuseWhileSearching(*window)) return;
        prepareToAddResult(window->searchState(), m_ui, m_profile);
        updateCommandStates();
    });
    on(C::ClearResult, [this] {
        ResultWindow* window = activeResultWindow();
        if (window == nullptr) return;
        if (clearResult(m_flags, window->searchState(), window->document(), m_ui, m_profile)) {
            window->view().scrollToLine(0);
            refreshTableWidths(*window);
            window->clearNotes();
        }
        updateCommandStates();
    });
    for (CommandId id : kAlwaysDisabled) action(id)->setEnabled(false);
}

void CMainFrame::showMenuBarFor(bool full) {
    // Only the shown bar's entries are on it: hidden entries would still claim their Alt
    // mnemonics and make every one of them ambiguous.
    menuBar()->clear();
    for (QAction* entry : full ? m_fullBar : m_shortBar) menuBar()->addAction(entry);
}

bool CMainFrame::fullMenuBarShown() const {
    return menuBar()->actions().contains(m_fullBar.front());
}

void CMainFrame::chooseFont() {
    if (ResultWindow* window = activeResultWindow()) {
        window->view().chooseFont();
        return;
    }
    // With no window open the choice is kept for the next one.
    FontSetting setting = readFontSetting(m_profile);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(
        &chosen, ResultView::fontFromRecord(setting.record, setting.face), this);
    if (!chosen) return;
    setting.record = ResultView::recordFromFont(font, setting.record);
    setting.face = font.family().toStdString();
    writeFontSetting(m_profile, setting);
}

namespace {

std::vector<int> columnWidthsOf(const CExStringList& list) {
    std::vector<int> widths;
    for (std::int64_t width : tabColumnWidths(list))
        widths.push_back(static_cast<int>(std::min<std::int64_t>(width, 4096)));
    return widths;
}

}  // namespace

void CMainFrame::refreshTableWidths(ResultWindow& window) {
    CPyxoDoc& document = window.document();
    window.view().setTsvColumnWidths(columnWidthsOf(document.list(ResultKind::Spreadsheet)));
    window.view().setCollocationColumnWidths(
        columnWidthsOf(document.list(ResultKind::Collocation)));
    window.view().updateFromDocument();
}

ResultWindow* CMainFrame::addResultWindow(ResultWindow* window) {
    ResultView& view = window->view();
    refreshTableWidths(*window);
    view.setContextMenu(m_contextMenu);
    connect(&view, &ResultView::filesDropped, this,
            [this, window](const QStringList& paths) { dropOnView(*window, paths); });
    connect(&view, &ResultView::lineActivated, this,
            [this, window](long index) { jumpToEditor(*window, index); });
    connect(&view, &ResultView::clipboardEditorRequested, this,
            [this] { startClipboardEditor(); });
    connect(&view, &ResultView::copied, this, [this, window](long lines, long total) {
        window->noteCopy(lines, total);
        updateCommandStates();
    });
    window->setCanClose([this](ResultWindow& closing) { return canClose(closing); });
    QMdiSubWindow* sub = m_area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setGeometry(newWindowPlace(m_area->viewport()->size(),
                                    static_cast<int>(m_area->subWindowList().size()) - 1,
                                    cascadeStep()));
    connect(window, &QObject::destroyed, this, [this] {
        if (m_destroying) return;
        // Looked at once the MDI area has let go of the closed window.
        QTimer::singleShot(0, this, [this] {
            showMenuBarFor(!m_area->subWindowList().isEmpty());
            updateCommandStates();
        });
    });
    sub->show();
    showMenuBarFor(true);
    updateCommandStates();
    return window;
}

ResultWindow* CMainFrame::newResultWindow() {
    auto document = std::make_unique<CPyxoDoc>("PYXO" + std::to_string(m_nextNumber++));
    return addResultWindow(new ResultWindow(std::move(document), m_profile, m_ui));
}

ResultWindow* CMainFrame::openFormattedFile(const QString& path) {
    auto document = std::make_unique<CPyxoDoc>(QFileInfo(path).fileName().toStdString());
    if (!readFormattedFile(path.toStdString(), *document, m_ui, m_profile)) return nullptr;
    addRecentFile(path);
    return addResultWindow(new ResultWindow(std::move(document), m_profile, m_ui));
}

ResultWindow* CMainFrame::activeResultWindow() const {
    // The area can be left without an active window (while the program does not have the
    // focus, or between two activations): the window the user activated last is the one every
    // command acts on, never simply the newest.
    QMdiSubWindow* sub = m_area->activeSubWindow();
    if (sub == nullptr) {
        const QList<QMdiSubWindow*> byActivation =
            m_area->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!byActivation.isEmpty()) sub = byActivation.last();
    }
    return sub != nullptr ? qobject_cast<ResultWindow*>(sub->widget()) : nullptr;
}

std::vector<ResultWindow*> CMainFrame::resultWindows() const {
    std::vector<ResultWindow*> windows;
    for (QMdiSubWindow* sub : m_area->subWindowList())
        if (auto* window = qobject_cast<ResultWindow*>(sub->widget())) windows.push_back(window);
    return windows;
}

ResultWindow* CMainFrame::windowOf(DocumentId id) const {
    for (ResultWindow* window : resultWindows())
        if (window->document().id() == id) return window;
    return nullptr;
}

void CMainFrame::updateCommandStatesLater() {
    QTimer::singleShot(0, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::updateCommandStates() {
    if (m_destroying) return;
    ResultWindow* window = activeResultWindow();
    const CPyxoDoc* document = window != nullptr ? &window->document() : nullptr;
    const std::pair<CommandId, ResultKind> kinds[] = {
        {C::ShowOriginal, ResultKind::Original}, {C::ShowExtracted, ResultKind::Extracted},
        {C::ShowSorted, ResultKind::Sorted}, {C::ShowCollocation, ResultKind::Collocation},
        {C::ShowSpreadsheet, ResultKind::Spreadsheet}};
    for (const auto& [id, kind] : kinds)
        action(id)->setEnabled(document != nullptr && kindEnabled(*document, kind));
    const bool hasSearchResult =
        document != nullptr && document->list(ResultKind::Original).count() > 0;
    action(C::SaveText)->setEnabled(hasSearchResult);
    const bool shownLines =
        document != nullptr && document->list(document->displayedKind()).count() > 0;
    action(C::Print)->setEnabled(shownLines);
    action(C::Preview)->setEnabled(shownLines);
    action(C::SaveTextAs)->setEnabled(hasSearchResult);
    action(C::Break)->setEnabled(window != nullptr && (window->searchState().resultKind != 0 ||
                                                       document->snapshot().searchKind != 0));
    // Left enabled while another window searches, so that the command can say it is busy.
    const bool kwicAllowed = window != nullptr && kwicSearchEnabled(window->searchState());
    action(C::KwicRange)->setEnabled(kwicAllowed);
    action(C::KwicPosition)->setEnabled(kwicAllowed);
    action(C::KwocSearch)->setEnabled(window != nullptr &&
                                      kwocSearchEnabled(window->searchState()));
    action(C::QuitSearch)->setEnabled(m_flags.running);
    action(C::PreviousResult)->setEnabled(document != nullptr &&
                                          previousResultEnabled(*document, m_flags.running));
    action(C::DispersionPlot)->setEnabled(document != nullptr && dispersionOffered(*document));
    for (ResultWindow* each : resultWindows()) {
        if (each->searchState().busy) continue;
        each->updateTitle();
        followDispersionWindow(*each);
    }
    m_resultStatus->setText(window != nullptr ? window->statusText() : QString());
    for (CommandId id : {C::PrepareToAdd, C::ClearResult, C::Close, C::CloseAll, C::SaveAllText, C::SaveAllTextAndClose, C::Copy,
                         C::ResultCounts, C::Display, C::TextColor, C::BackgroundColor,
                         C::ExtractRange, C::ExtractPosition, C::Sort, C::SortByColumn,
                         C::Collocation, C::CollocationTable, C::ExtendedCollocation,
                         C::CollocationStrength, C::Convert,
                         C::Cascade, C::TileHorizontal, C::TileVertical, C::ArrangeIcons,
                         C::CloseAllWindows})
        action(id)->setEnabled(window != nullptr);
}

bool CMainFrame::refuseWhileSearching(ResultWindow& window) {
    if (!m_flags.running && !window.searchState().busy) return false;
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_ui.alert(kClearBusyMessage);  // "I'm busy now. Please wait..."
    return true;
}

void CMainFrame::showKind(ResultKind kind) {
    if (ResultWindow* window = activeResultWindow()) {
        // While a search writes into a window its content is not to be changed.
        if (refuseWhileSearching(*window)) return;
        vellmora::showKind(window->document(), kind, m_ui);
        refreshTableWidths(*window);
        updateCommandStates();
    }
}

void CMainFrame::previousResult() {
    if (ResultWindow* window = activeResultWindow()) {
        vellmora::previousResult(window->document(), m_flags.running || window->searchState().busy,
                                 m_ui, m_profile);
        window->view().updateFromDocument();
        updateCommandStates();
    }
}

void CMainFrame::showResultCounts() {
    if (ResultWindow* window = activeResultWindow())
        ResultCountsDialog(window->document(), this).exec();
}

void CMainFrame::showAbout() { AboutDialog(this).exec(); }

void CMainFrame::showHelp() {
    if (m_help == nullptr) m_help = new HelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void CMainFrame::showNoSupportOptions() {
    NoSupportOptionsModel model(m_profile);
    model.open();
    NoSupportOptionsDialog dialog(model, this);
    if (dialog.exec() == QDialog::Accepted) model.ok();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_flags.running) {
        if (m_ui.message("I'm searching. Do you want to continue to search?", Buttons::YesNo) ==
            Answer::Yes) {
            // The program ends at once: the run stops at its next line instead of reading on
            // behind a closed window.
            m_ui.requestCancel();
            event->accept();
            return;
        }
        m_ui.requestCancel();
        event->ignore();
        return;
    }
    if (!saveAll()) {
        event->ignore();
        return;
    }
    for (ResultWindow* window : resultWindows()) window->document().setModified(false);
    m_histories.save(m_profile);
    savePlacement();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    // Only formatted files open here; files dropped on a result view start a search.
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && isFormattedPath(path)) openFormattedFile(path);
    }
}

}  // namespace vellmora
