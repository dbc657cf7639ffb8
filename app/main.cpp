// pyxo: the desktop program.

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPrinter>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/dispersion_window.h"
#include "app/main_frame.h"
#include "app/result_printer.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "document/formatted_file.h"
#include "platform/console_user_interface.h"
#include "settings/font_record.h"
#include "app/startup.h"
#include "platform/data_directory.h"
#include "platform/huge_page_heap.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "textlib/ximo.h"

namespace {

/// pyxo --print-pdf OUT.pdf FILE.vm2: the list the formatted file shows, printed with the
/// settings' layout and the view's font into OUT.pdf, without a window. 0 when written.
int printToPdf(const char* pdf, const char* formatted) {
    using namespace vellmora;
    Profile profile(Profile::defaultPath());
    ConsoleUserInterface ui;
    CPyxoDoc document(QFileInfo(formatted).fileName().toStdString());
    if (!readFormattedFile(formatted, document, ui, profile)) return 1;
    const FontSetting font = readFontSetting(profile);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(pdf));
    const ResultPrinter job(document.list(document.displayedKind()),
                            ResultView::fontFromRecord(font.record, font.face),
                            PrintSettings::read(profile));
    if (!job.print(printer) || QFileInfo(QString::fromLocal8Bit(pdf)).size() == 0) {
        std::fprintf(stderr, "Could not start print job.\n");
        return 1;
    }
    return 0;
}

/// pyxo --plot-png OUT.png FILE.vm2: the dispersion plot of the list the formatted file shows,
/// as the plot window draws it, without a window. 0 when written.
int plotToPng(const char* png, const char* formatted) {
    using namespace vellmora;
    constexpr int kWidth = 1000;
    Profile profile(Profile::defaultPath());
    ConsoleUserInterface ui;
    CPyxoDoc document(QFileInfo(formatted).fileName().toStdString());
    if (!readFormattedFile(formatted, document, ui, profile)) return 1;
    std::optional<std::string_view> missing = dispersionUnavailable(document);
    FileLineCounts counts;
    DispersionPlot plot;
    if (!missing) {
        plot = dispersionOf(document, dispersionContextFor(document, profile), counts);
        if (plot.rows.empty()) missing = kNoHitLinesMessage;
    }
    if (missing) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(missing->size()), missing->data());
        return 1;
    }
    const QImage image = dispersionImage(dispersionPictureOf(document, std::move(plot)),
                                         QApplication::font(), kWidth);
    if (const std::optional<QString> failure =
            writeDispersionPng(image, QString::fromLocal8Bit(png))) {
        std::fprintf(stderr, "The plot could not be saved to %s: %s\n", png,
                     failure->toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vellmora;
    restartWithHugePageHeap(argv);
    const bool printPdf = argc == 4 && std::strcmp(argv[1], "--print-pdf") == 0;
    const bool plotPng = argc == 4 && std::strcmp(argv[1], "--plot-png") == 0;
    // Printing and plotting to a file need no display.
    if (printPdf || plotPng) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library too; numbers in result lines, tables and
    // saved files must not take a decimal comma from it.
    std::setlocale(LC_NUMERIC, "C");
    if (printPdf) return printToPdf(argv[2], argv[3]);
    if (plotPng) return plotToPng(argv[2], argv[3]);
    QApplication::setApplicationName("Vellmora");

    // A text library older than the program expects cannot be trusted with a corpus.
    if (GetExDllVersion() < 5) return 1;

    Profile profile(Profile::defaultPath());
    // Settings that cannot be stored are lost at the end of the session: the user must know.
    profile.setFlushFailureReporter([&profile](const std::string& reason) {
        QMessageBox::warning(nullptr, "Vellmora",
                             QString("The settings could not be saved to %1: %2")
                                 .arg(QString::fromStdString(profile.path()),
                                      QString::fromStdString(reason)));
    });
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
