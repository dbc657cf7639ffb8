// The result commands run from the desktop program's window on a formatted result, each timed
// from OK in its dialog to the redrawn view: the main window on the offscreen platform, every
// dialog confirmed as it opens. bench/window_results.sh sets them against pyxo-cli.
//
//     window_results RESULT.vm2 COMMAND...      (PYXO_INI names the settings file)
//
// COMMAND is one of sort, sort-column, extract-range, colloq, convert; each runs on the list
// the window shows when the file opens. Prints one line per command: its name and seconds.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "platform/huge_page_heap.h"
#include "settings/histories.h"
#include "settings/profile.h"

int main(int argc, char** argv) {
    if (argc < 3 || getenv("PYXO_INI") == nullptr) {
        fprintf(stderr, "usage: PYXO_INI=FILE window_results RESULT.vm2 COMMAND...\n");
        return 2;
    }
    vellmora::restartWithHugePageHeap(argv);  // as pyxo itself starts
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    using namespace vellmora;
    const std::pair<const char*, CommandId> commands[] = {
        {"sort", CommandId::Sort},          {"sort-column", CommandId::SortByColumn},
        {"extract-range", CommandId::ExtractRange}, {"colloq", CommandId::Collocation},
        {"convert", CommandId::Convert}};
    Profile profile(getenv("PYXO_INI"));
    Histories histories;
    histories.load(profile);
    CMainFrame frame(profile, histories);
    frame.resize(1200, 900);
    frame.show();
    for (int i = 2; i < argc; ++i) {
        ResultWindow* window = frame.openFormattedFile(QString::fromLocal8Bit(argv[1]));
        if (window == nullptr) return 1;
        const CommandId* command = nullptr;
        for (const auto& [name, id] : commands)
            if (strcmp(name, argv[i]) == 0) command = &id;
        if (command == nullptr) {
            fprintf(stderr, "window_results: no command %s\n", argv[i]);
            return 2;
        }
        QElapsedTimer clock;
        // OK in the dialog as it opens; messages (a question, "Finished") answered at once.
        QTimer answers;
        QObject::connect(&answers, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                box->done(QMessageBox::Yes);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                clock.start();
                dialog->accept();
            }
        });
        answers.start(1);
        frame.action(*command)->trigger();
        window->view().viewport()->repaint();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        printf("%s %.3f\n", argv[i], seconds);
        window->document().setModified(false);
        window->parentWidget()->close();
    }
    return 0;
}
