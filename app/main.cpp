// pyxo: the desktop program.

#include <QApplication>
#include <QMessageBox>

#include "app/main_frame.h"
#include "app/result_window.h"
#include "app/startup.h"
#include "platform/data_directory.h"
#include "platform/huge_page_heap.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "textlib/ximo.h"

int main(int argc, char** argv) {
    using namespace vellmora;
    restartWithHugePageHeap(argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vellmora");

    // A text library older than the program expects cannot be trusted with a corpus.
    if (GetExDllVersion() < 5) return 1;

    Profile profile(Profile::defaultPath());
    Histories histories;
    histories.load(profile);

    const std::string data = dataDirectory();
    const DataDirectoryStatus prepared = prepareDataDirectory(data);
    if (!prepared.ok()) {
        QMessageBox::warning(nullptr, "Vellmora",
                             "The data directory cannot be written: " +
                                 QString::fromStdString(prepared.detail));
        return 1;
    }
    removeEmptyWordLists(data + "/WordList");

    std::vector<std::string> arguments(argv + 1, argv + argc);
    const CommandLine line = parseCommandLine(arguments);
    for (const std::string& token : line.switchTokens) applySwitchToken(token, profile);
    if (line.locationDirectory) {
        histories.lastValues().directory = *line.locationDirectory;
        histories.lastValues().filename = *line.locationPattern;
    }
    const std::vector<std::string> messages =
        readMessageList(findMessageFile(data, QApplication::applicationDirPath().toStdString()));
    (void)messages;  // kept for the commands that show them

    CMainFrame frame(profile, histories);
    frame.showAsPlaced();
    if (!line.formattedFile ||
        frame.openFormattedFile(QString::fromStdString(*line.formattedFile)) == nullptr)
        frame.newResultWindow();
    return QApplication::exec();
}
