// The commands of the main window as the user reaches them: the actions with their icons,
// the two menu bars, the context menu of a result view and the two toolbars.

#include "app/main_frame.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

#include "document/launcher.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

using C = CommandId;

/// An icon for a command the style has none for: its name's first letters on a button face,
/// so that the toolbar still says what each button does.
QIcon lettersIcon(const QString& name) {
    QString letters = name.section('(', 0, 0).section('.', 0, 0).trimmed();
    if (letters.startsWith("KWIC") || letters.startsWith("KWOC")) letters = letters.left(4);
    else letters = letters.left(3);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(QColor(235, 235, 225));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
    QFont font = painter.font();
    font.setPixelSize(letters.size() > 3 ? 9 : 11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}


/// The name a letters icon is made of, where the command's own would not tell it apart.
QString iconLetters(CommandId id, const QString& name) {
    if (id == C::PrepareToAdd) return "Add";
    if (name.startsWith("No. ")) return "No" + name.mid(4);  // the five launcher slots
    return name;
}

QStyle::StandardPixmap iconOf(CommandId id) {
    switch (id) {
    case C::New: return QStyle::SP_FileIcon;
    case C::Open: return QStyle::SP_DialogOpenButton;
    case C::SaveText: return QStyle::SP_DialogSaveButton;
    case C::CloseAll: return QStyle::SP_DialogCloseButton;
    case C::Copy: return QStyle::SP_FileDialogContentsView;
    case C::Print: return QStyle::SP_DriveFDIcon;
    case C::QuitSearch: return QStyle::SP_BrowserStop;
    case C::PreviousResult: return QStyle::SP_ArrowBack;
    case C::ClearResult: return QStyle::SP_DialogResetButton;
    case C::About: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_CustomBase;
    }
}

}  // namespace

void CMainFrame::createActions() {
    for (const CommandInfo& info : commandCatalogue()) {
        auto* action = new QAction(QString::fromUtf8(info.menuText.data(),
                                                     static_cast<qsizetype>(info.menuText.size())),
                                   this);
        action->setStatusTip(QString::fromUtf8(info.statusText.data(),
                                               static_cast<qsizetype>(info.statusText.size())));
        QList<QKeySequence> keys;
        if (!info.shortcut1.empty()) keys << QKeySequence(QString::fromLatin1(info.shortcut1.data(), static_cast<qsizetype>(info.shortcut1.size())));
        if (!info.shortcut2.empty()) keys << QKeySequence(QString::fromLatin1(info.shortcut2.data(), static_cast<qsizetype>(info.shortcut2.size())));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        QString name = action->text().section('\t', 0, 0);
        name.remove('&');
        action->setIconText(name);
        // "Fo&nt" stands on the menu bar itself, which would show an icon instead of its name;
        // its toolbar button gets one of its own.
        if (info.id != C::Font)
            action->setIcon(iconOf(info.id) != QStyle::SP_CustomBase
                                ? style()->standardIcon(iconOf(info.id))
                                : lettersIcon(iconLetters(info.id, name)));
        addAction(action);  // shortcuts work whichever menu bar is shown
        // Whatever a command changed, the commands offered follow at once, on the menus, the
        // toolbar and the context menu alike.
        connect(action, &QAction::triggered, this, &CMainFrame::updateCommandStatesLater);
        m_actions[info.id] = action;
    }
}

QMenu* CMainFrame::addMenu(const QString& title, bool full) {
    auto* menu = new QMenu(title, this);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    (full ? m_fullBar : m_shortBar).push_back(menu->menuAction());
    return menu;
}

void CMainFrame::addCommands(QMenu* menu, std::initializer_list<CommandId> ids) {
    for (CommandId id : ids) menu->addAction(action(id));
}

void CMainFrame::buildMenus() {
    // The short bar, while no result window is open.
    QMenu* file = addMenu("&File", false);
    addCommands(file, {C::New, C::Open, C::LauncherMenu, C::PrinterSetting, C::Exit});
    m_recentShort = file;
    file->addSeparator();
    // "Font" is a command on the bar itself; the full bar has its own entry further on.
    m_shortFont = new QAction("Font", this);
    m_shortBar.push_back(m_shortFont);
    m_shortFont->setStatusTip(action(C::Font)->statusTip());
    connect(m_shortFont, &QAction::triggered, action(C::Font), &QAction::trigger);
    QMenu* display = addMenu("Display(&V)", false);
    addCommands(display, {C::Toolbar, C::Statusbar});
    QMenu* help = addMenu("&Help", false);
    addCommands(help, {C::HelpContents, C::About});
    addCommands(addMenu("Otros", false), {C::NoSupportOptions});

    // The full bar, while one is.
    QMenu* fullFile = addMenu("&File", true);
    addCommands(fullFile, {C::New, C::Open, C::Close, C::CloseAll, C::SaveAllText,
                           C::SaveAllTextAndClose, C::SaveText, C::SaveTextAs});
    fullFile->addSeparator();
    addCommands(fullFile, {C::LauncherMenu, C::SetTextEditor});
    fullFile->addSeparator();
    addCommands(fullFile, {C::Print, C::Preview, C::PrinterSetting});
    fullFile->addSeparator();
    addCommands(fullFile, {C::Break});
    fullFile->addSeparator();
    addCommands(fullFile, {C::Exit});
    fullFile->addSeparator();
    m_recentFull = fullFile;
    QMenu* edit = addMenu("&Edit", true);
    addCommands(edit, {C::Undo});
    edit->addSeparator();
    addCommands(edit, {C::Cut, C::Copy, C::Paste});
    edit->addSeparator();
    addCommands(edit, {C::EditWordGroup});
    QMenu* view = addMenu("&View", true);
    addCommands(view, {C::Toolbar, C::Statusbar});
    view->addSeparator();
    addCommands(view, {C::ShowOriginal, C::ShowExtracted, C::ShowSorted, C::ShowCollocation,
                       C::ShowSpreadsheet});
    view->addSeparator();
    addCommands(view, {C::DispersionPlot});
    addCommands(addMenu("&KWIC", true), {C::KwicRange, C::KwicPosition});
    QMenu* options = addMenu("&Options", true);
    addCommands(options, {C::KwicOptions, C::Display});
    QMenu* colors = options->addMenu("Colors");
    addCommands(colors, {C::TextColor, C::BackgroundColor});
    addCommands(options, {C::PrintOptions, C::SaveOption, C::Language,
                          C::ExtendedCollocationOptions});
    m_fullBar.push_back(action(C::Font));
    addCommands(addMenu("KWO&C", true), {C::KwocSearch, C::KwocOption});
    QMenu* data = addMenu("&Data", true);
    addCommands(data, {C::ExtractRange, C::ExtractPosition});
    data->addSeparator();
    addCommands(data, {C::PreviousResult, C::Collocation, C::CollocationTable,
                       C::ExtendedCollocation, C::CollocationStrength, C::Sort, C::SortByColumn,
                       C::Convert});
    data->addSeparator();
    addCommands(data, {C::ClearResult, C::PrepareToAdd});
    data->addSeparator();
    addCommands(data, {C::QuitSearch});
    data->addSeparator();
    addCommands(data, {C::ResultCounts});
    addCommands(addMenu("&Tools", true), {C::AverageWordLength});
    QMenu* windows = addMenu("&Windows", true);
    addCommands(windows, {C::CreateNewWindow, C::Cascade, C::TileHorizontal, C::TileVertical,
                          C::ArrangeIcons, C::CloseAllWindows});
    windows->addSeparator();
    addCommands(windows, {C::ShowOriginal, C::ShowExtracted, C::ShowSorted, C::ShowCollocation,
                          C::ShowSpreadsheet});
    windows->addSeparator();
    connect(windows, &QMenu::aboutToShow, this, [this, windows] {
        // The list of open windows follows the last separator.
        QList<QAction*> entries = windows->actions();
        while (!entries.isEmpty() && !entries.last()->isSeparator()) {
            windows->removeAction(entries.last());
            entries.removeLast();
        }
        int number = 1;
        for (QMdiSubWindow* sub : m_area->subWindowList()) {
            QAction* entry = windows->addAction(QString("&%1 %2").arg(number++).arg(sub->windowTitle()));
            connect(entry, &QAction::triggered, this, [this, sub] { m_area->setActiveSubWindow(sub); });
        }
    });
    QMenu* fullHelp = addMenu("&Help", true);
    addCommands(fullHelp, {C::HelpContents, C::About});
    addCommands(addMenu("O&tros", true), {C::MakeFileList});
    rebuildRecentFiles();
}

QAction* CMainFrame::contextEntry(QMenu* menu, const QString& text, std::optional<CommandId> id) {
    QAction* entry = menu->addAction(text);
    if (!id) {
        entry->setEnabled(false);  // no command behind it
        return entry;
    }
    QAction* command = action(*id);
    connect(entry, &QAction::triggered, command, &QAction::trigger);
    // The entry is the command under another text: it is offered exactly when the command is,
    // as its menu entry and toolbar button are.
    entry->setEnabled(command->isEnabled());
    connect(command, &QAction::changed, entry, [entry, command] {
        entry->setEnabled(command->isEnabled());
    });
    return entry;
}

void CMainFrame::buildContextMenu() {
    m_contextMenu = new QMenu(this);
    contextEntry(m_contextMenu, "Copy", C::Copy);
    QMenu* execute = m_contextMenu->addMenu("Execute");
    contextEntry(execute, "Menu", C::LauncherMenu);
    for (int slot = 1; slot <= 5; ++slot)
        contextEntry(execute, QString("No. %1").arg(slot), slotCommand(slot));
    contextEntry(execute, "Filer", std::nullopt);
    QMenu* kwic = m_contextMenu->addMenu("KWIC Search");
    contextEntry(kwic, "KWIC Search(Range)", C::KwicRange);
    contextEntry(kwic, "KWIC Search(Position)", C::KwicPosition);
    contextEntry(m_contextMenu, "KWOC Search", C::KwocSearch);
    contextEntry(m_contextMenu, "Select Font", C::Font);
    QMenu* edit = m_contextMenu->addMenu("Edit");
    contextEntry(edit, "Extraction(Range)", C::ExtractRange);
    contextEntry(edit, "Extraction(Position)", C::ExtractPosition);
    contextEntry(edit, "Sort", C::Sort);
    contextEntry(edit, "Sort by Column", C::SortByColumn);
    contextEntry(edit, "Collocation Statistics", C::Collocation);
    contextEntry(edit, "Convert to TSV,CSV", C::Convert);
    QMenu* windows = m_contextMenu->addMenu("Windows");
    contextEntry(windows, "Original Result", C::ShowOriginal);
    contextEntry(windows, "Extracted result", C::ShowExtracted);
    contextEntry(windows, "Collocation Statistics", C::ShowCollocation);
    contextEntry(windows, "Sorted Result", C::ShowSorted);
    contextEntry(windows, "TSV,CSV", C::ShowSpreadsheet);
    contextEntry(windows, "Number of Words", std::nullopt);
    contextEntry(windows, "Frequency of Words", std::nullopt);
    contextEntry(m_contextMenu, "Help", C::HelpContents);
    connect(m_contextMenu, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
}

void CMainFrame::buildToolbars() {
    // Both bars are made; the settings say which show at start, "Toolbar" shows or hides them.
    m_standardBar = addToolBar("Standard");
    m_standardBar->setObjectName("toolbar1");
    const std::vector<std::optional<CommandId>> buttons = {
        C::New, C::Open, C::SaveText, C::CloseAll, std::nullopt, C::Cut, C::Copy, C::Paste,
        std::nullopt, C::Preview, C::Print, std::nullopt, C::KwicRange, C::Font,
        C::KwocSearch, C::QuitSearch, std::nullopt, C::ExtractRange, C::PreviousResult,
        C::Collocation, C::Sort, std::nullopt, C::ClearResult, C::PrepareToAdd, std::nullopt,
        C::Cascade, C::TileHorizontal, std::nullopt, C::About};
    for (const auto& button : buttons) {
        if (!button) {
            m_standardBar->addSeparator();
        } else if (*button == C::Font) {
            QAction* font = m_standardBar->addAction(lettersIcon("Font"), "Font");
            font->setStatusTip(action(C::Font)->statusTip());
            connect(font, &QAction::triggered, action(C::Font), &QAction::trigger);
        } else {
            m_standardBar->addAction(action(*button));
        }
    }
    m_secondBar = addToolBar("Second");
    m_secondBar->setObjectName("toolbar2");
    m_secondBar->addAction(action(C::LauncherMenu));
    m_secondBar->addSeparator();
    for (int slot = 1; slot <= kQuickStartSlots; ++slot)
        m_secondBar->addAction(action(slotCommand(slot)));
    m_secondBar->addSeparator();
    m_secondBar->addAction(action(C::TileVertical));
    m_secondBar->addSeparator();
    m_secondBar->addAction(action(C::KwicPosition));
    m_secondBar->addSeparator();
    m_secondBar->addAction(action(C::ExtractPosition));
    m_secondBar->addAction(action(C::SortByColumn));
    m_standardBar->setVisible(readInt(m_profile, settingKey("Display", "ToolBar1")) == 1);
    m_secondBar->setVisible(readInt(m_profile, settingKey("Display", "ToolBar2")) == 1);
}

}  // namespace vellmora
