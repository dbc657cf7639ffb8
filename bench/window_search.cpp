// A KWIC search run from the desktop program's window, timed from "Search!" to the filled
// view: the main window on the offscreen platform, its search dialog answered as a person
// would. bench/window_search.sh sets it against pyxo-cli on the same corpus.
//
//     window_search DIRECTORY FILENAME KEYWORD      (PYXO_INI names the settings file)
//
// Prints the seconds and the number of result lines.
#include <stdio.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include "app/main_frame.h"
#include "app/result_window.h"
#include "app/search_dialog.h"
#include "platform/huge_page_heap.h"
#include "settings/histories.h"
#include "settings/profile.h"

int main(int argc, char** argv) {
    if (argc != 4 || getenv("PYXO_INI") == nullptr) {
        fprintf(stderr, "usage: PYXO_INI=FILE window_search DIRECTORY FILENAME KEYWORD\n");
        return 2;
    }
    vellmora::restartWithHugePageHeap(argv);  // as pyxo itself starts
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    using namespace vellmora;
    Profile profile(getenv("PYXO_INI"));
    Histories histories;
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();

    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSearchDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            fprintf(stderr, "window_search: the search dialog did not open\n");
            exit(1);
        }
        dialog->keyword1()->setCurrentText(QString::fromLocal8Bit(argv[3]));
        dialog->filename()->setCurrentText(QString::fromLocal8Bit(argv[2]));
        dialog->directory()->setCurrentText(QString::fromLocal8Bit(argv[1]));
        clock.start();
        dialog->accept();
    });
    // A message (nothing found, say) would wait for a person: say it and close it.
    QTimer messages;
    QObject::connect(&messages, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            fprintf(stderr, "window_search: %s\n", box->text().toLocal8Bit().constData());
            box->done(0);
        }
    });
    messages.start(50);
    frame.action(CommandId::KwicRange)->trigger();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    printf("%.3f %lld\n", seconds,
           static_cast<long long>(window->document().list(ResultKind::Original).count()));
    return 0;
}
