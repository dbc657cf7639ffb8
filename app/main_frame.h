#pragma once

#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/command_catalogue.h"
#include "app/qt_user_interface.h"
#include "document/editor_jump.h"
#include "document/print_layout.h"
#include "document/result_document.h"
#include "engine/search_run.h"
#include "results/result_source.h"

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMessageBox;
class QPrinter;
class QToolBar;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vellmora {

class Histories;
class Profile;
class ResultWindow;
struct LastSearchValues;
struct SearchDialogFields;

/// The main window: the MDI area with the result windows, the short menu bar while no result
/// window is open and the full one while one is, the toolbars and the status bar, and the
/// commands that belong to no single window.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(Profile& profile, Histories& histories, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(CommandId id) const { return m_actions.at(id); }
    /// The menu a right click in a result view opens.
    QMenu* contextMenu() const { return m_contextMenu; }
    QtUserInterface& userInterface() { return m_ui; }
    ApplicationSearchFlags& searchFlags() { return m_flags; }

    /// Shows the window where "WindowSize" placed it when that is kept, else at a default size.
    void showAsPlaced();

    /// "&New": a new, empty result window.
    ResultWindow* newResultWindow();
    /// Opens a formatted result file in a new window; null (its message shown) when it
    /// cannot be read.
    ResultWindow* openFormattedFile(const QString& path);
    ResultWindow* activeResultWindow() const;
    std::vector<ResultWindow*> resultWindows() const;
    /// Whether the full menu bar is shown (a result window is open).
    bool fullMenuBarShown() const;
    /// Stands in for the file dialog that asks where to save (tests); none: the dialog.
    using SaveNameChooser = std::function<QString(const QString& start, const QString& filter)>;
    void setSaveNameChooser(SaveNameChooser chooser) { m_saveNameChooser = std::move(chooser); }
    /// Enables and disables the commands as the active window's state says.
    void updateCommandStates();
    /// The same once the command now running has returned to the event loop.
    void updateCommandStatesLater();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void buildMenus();
    void buildToolbars();
    /// "Toolbar" and "Statusbar": show or hide them for the rest of the session.
    void toggleToolbars();
    void toggleStatusBar();
    /// The view's context menu: entries of their own texts that trigger the commands.
    void buildContextMenu();
    QAction* contextEntry(QMenu* menu, const QString& text, std::optional<CommandId> id);
    void connectCommands();
    QMenu* addMenu(const QString& title, bool full);
    void addCommands(QMenu* menu, std::initializer_list<CommandId> ids);
    void showMenuBarFor(bool full);
    /// Commands whose keys are also menu mnemonics take those keys.
    void preferCommandKeysToMnemonics();
    ResultWindow* addResultWindow(ResultWindow* window);
    ResultWindow* windowOf(DocumentId id) const;
    /// F6 and Shift+F6: the next or previous window in the order they were opened.
    void activateNeighbourWindow(int step);
    enum class Arrangement { Cascade, Rows, Columns };
    /// "Cascade", "Tile Horizontal" (rows) and "Tile Vertical" (columns).
    void arrangeWindows(Arrangement arrangement);
    /// "Arrange Icons": the minimized windows in a row along the bottom.
    void arrangeMinimizedWindows();
    /// How far each cascaded window stands from the one before: a title bar and a little.
    int cascadeStep() const;
    /// Gives the view the column widths of the document's table results.
    void refreshTableWidths(ResultWindow& window);

    // Commands.
    void open();
    void chooseFont();
    /// The active window, when a search of that form may start in it (nothing runs, it
    /// takes new lines of that form); null otherwise, after the busy message if one runs.
    ResultWindow* windowForSearch(bool kwoc);
    using SearchRunner =
        std::function<SearchOutcome(const SearchOptions& options, const SearchRequest& request)>;
    /// After a search dialog's "Search!": the request and histories stored, then run in
    /// window through the running box, and the window's state and notes recorded.
    void runSearch(ResultWindow& window, const SearchDialogFields& fields,
                   const std::function<void(LastSearchValues&)>& copyRequest,
                   const SearchRunner& run);
    /// "KWIC Search(Range)": the search dialog, then the run in the active window.
    void kwicSearch();
    /// "KWIC Search(Position)": the positioned dialog, then the run with its word positions.
    void positionedSearch();
    /// "KWOC Search": the KWOC dialog, then the run of whole lines (result kind 2).
    void kwocSearch();
    /// "KWOC Option": the KWOC Option dialog.
    void kwocOptions();

    // Result commands, over the list the active window shows (result_commands.cpp).
    ResultCommandPlace placeOf(ResultWindow& window);
    /// The window shows the list a command filled, from its top, with its table widths.
    void afterResultCommand(ResultWindow& window);
    void extract(bool byPosition);
    void sort(bool byColumn);
    enum class CollocationForm { Positions, Table, Extended, Strength };
    void collocation(CollocationForm form);
    void convert();
    void averageWordLength();
    void makeFileList();

    // External programs (external_commands.cpp).
    /// A double click on line index of window's view: its file in the text editor.
    void jumpToEditor(ResultWindow& window, long index);
    /// After a copy: "Executable2" with "CmdLine2".
    void startClipboardEditor();
    /// "Set Text Editor": the dialog over its model.
    void setTextEditor();
    /// "Launcher Menu": the 26 slots.
    void launcherMenu();
    /// "No. 1" to "No. 5": the slot's program, or its entry dialog when it has none.
    void quickStart(int slot);
    /// The quick-start buttons' tips name their programs.
    void refreshSlotTips();

    // Printing (print_commands.cpp).
    QPrinter& printer();
    /// Prints the list window shows on target; "Could not start print job." when it cannot.
    bool printWindow(ResultWindow& window, QPrinter& target);
    void printResult();
    void previewResult();
    void printerSetting();
    void printOptions();
    /// The modeless "I'm searching ..." box of a run (none when NoDialog), closed as it goes.
    using SearchingBox = std::unique_ptr<QMessageBox>;
    SearchingBox showSearchingBox(bool noDialog);
    /// After a run in window: its display state recorded, histories saved, commands updated.
    void afterSearch(ResultWindow& window, std::string_view keyword1, std::string_view keyword2);
    /// Files dropped on a window's view: formatted files open, the others are searched.
    void dropOnView(ResultWindow& window, const QStringList& paths);
    void editWordGroups();
    /// "Quit Search": the running search stops at its next line (with a beep unless silenced).
    void quitSearch();
    bool saveToText(ResultWindow& window, bool askName);
    QString chooseSaveName(const QString& start, const QString& filter);
    /// Where a text save goes: the name offered never names a formatted file, and an
    /// existing file is replaced only when the user says so (a formatted one with its own
    /// question). Empty when the user gives up.
    QString askTextSavePath(const CPyxoDoc& document);
    bool canClose(ResultWindow& window);
    bool saveAll();
    void closeAll(bool saveFirst);
    void showKind(ResultKind kind);
    /// While a search runs: "I'm busy now. Please wait..." (beep unless silenced); true then.
    bool refuseWhileSearching(ResultWindow& window);
    void previousResult();
    void showResultCounts();
    void showAbout();
    /// "Contents" (F1): the manual in the program's own help window.
    void showHelp();
    void showNoSupportOptions();
    void showSaveOptions();
    void breakAndSaveFormatted();
    void addRecentFile(const QString& path);
    void savePlacement();
    void rebuildRecentFiles();

    Profile& m_profile;
    Histories& m_histories;
    QtUserInterface m_ui;
    ApplicationSearchFlags m_flags;
    QMdiArea* m_area;
    std::map<CommandId, QAction*> m_actions;
    /// The entries of the two menu bars, in order.
    std::vector<QAction*> m_shortBar;
    std::vector<QAction*> m_fullBar;
    QAction* m_shortFont = nullptr;
    QMenu* m_contextMenu = nullptr;
    SaveNameChooser m_saveNameChooser;
    std::unique_ptr<QPrinter> m_printer;  ///< kept, so that its set-up lasts the session
    QDialog* m_help = nullptr;
    QLabel* m_resultStatus = nullptr;
    QToolBar* m_standardBar = nullptr;
    QToolBar* m_secondBar = nullptr;
    QMenu* m_recentShort = nullptr;
    QMenu* m_recentFull = nullptr;
    int m_nextNumber = 1;
    bool m_destroying = false;
};

/// "Set Text Editor" (CSetEditorDialog): the editor, its argument template and directory,
/// "Brows", the two preset boxes, and templates for the editors of this system.
class CSetEditorDialog : public QDialog {
    Q_OBJECT

public:
    CSetEditorDialog(SetEditorDialogModel& model, QWidget* parent = nullptr);
    QLineEdit* executable() const { return m_executable; }
    QLineEdit* commandLine() const { return m_commandLine; }
    QCheckBox* preset(int box) const { return m_presets[box - 1]; }
    QComboBox* templates() const { return m_templates; }
    void accept() override;

private:
    void toModel();
    void fromModel();

    SetEditorDialogModel& m_model;
    QLineEdit* m_executable;
    QLineEdit* m_commandLine;
    QLineEdit* m_directory;
    QCheckBox* m_presets[2] = {};
    QComboBox* m_templates;
};

/// "Print Option" (CPrintOptionDialog): the four numbers, each checked as it is left, and
/// "Output page number".
class CPrintOptionDialog : public QDialog {
    Q_OBJECT

public:
    CPrintOptionDialog(PrintOptionDialogModel& model, QWidget* parent = nullptr);
    QLineEdit* field(PrintOptionField which) const { return m_fields[static_cast<int>(which)]; }
    QCheckBox* pageNumber() const { return m_pageNumber; }
    /// OK: the fields as they stand; an offset out of range keeps the dialog.
    void accept() override;

private:
    PrintOptionDialogModel& m_model;
    QLineEdit* m_fields[4] = {};
    QCheckBox* m_pageNumber = nullptr;
};

}  // namespace vellmora
