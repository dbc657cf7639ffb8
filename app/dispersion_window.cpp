#include "app/dispersion_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QKeySequence>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt_user_interface.h"
#include "app/result_window.h"
#include "engine/kwoc_search.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

QString listName(ResultKind kind) {
    switch (kind) {
        case ResultKind::Extracted:
            return "extracted result";
        case ResultKind::Sorted:
            return "sorted result";
        default:
            return "search result";
    }
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

/// Centres tool over owner, wholly on the owner's screen: the window manager left to itself
/// may put a tool window's lower part below the screen's edge.
void placeOverWindow(QWidget& tool, const QWidget& owner) {
    // Room for the frame the window manager adds: a title bar above, borders around.
    constexpr int kBorder = 8;
    constexpr int kTitleBar = 32;
    QRect frame(QPoint(), tool.size());
    frame.moveCenter(owner.geometry().center());
    if (const QScreen* screen = owner.screen()) {
        const QRect room =
            screen->availableGeometry().adjusted(kBorder, kTitleBar, -kBorder, -kBorder);
        frame.setSize(frame.size().boundedTo(room.size()));
        frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width()));
        frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height()));
    }
    tool.setGeometry(frame);
}

}  // namespace

DispersionContext dispersionContextFor(const CPyxoDoc& document, Profile& profile) {
    DispersionContext context;
    const std::string own = directoryOf(document.filePath());
    for (const std::string& directory :
         {own, readString(profile, settingKey("Setting", "Directory")),
          readString(profile, settingKey("Setting", "ResFileDir"))})
        if (!directory.empty()) context.searchDirectories.push_back(directory);
    const KwocOptions kwoc = readKwocOptions(profile);
    context.kwocLinesBefore = kwoc.linesBefore;
    context.kwocLinesAfter = kwoc.linesAfter;
    return context;
}

DispersionPicture dispersionPictureOf(const CPyxoDoc& document, DispersionPlot plot) {
    const DisplaySnapshot& search = document.snapshot();
    QString title = search.searchKind == 2 ? "KWOC" : search.searchKind == 1 ? "KWIC" : "";
    if (!search.keyword1.empty()) {
        if (!title.isEmpty()) title += ' ';
        // A closing quote after Japanese text would be drawn in the Japanese face, full-width:
        // a Japanese keyword gets the brackets Japanese text quotes with.
        const bool ascii = std::all_of(search.keyword1.begin(), search.keyword1.end(),
                                       [](char c) { return (c & 0x80) == 0; });
        const QString keyword = displayText(search.keyword1);
        title += ascii ? '"' + keyword + '"'
                       : QString::fromUtf8("\u300c") + keyword + QString::fromUtf8("\u300d");
    }
    // No punctuation straight after the keyword: it would take the keyword's face too.
    title += title.isEmpty() ? "The " : " in the ";
    const QLocale english(QLocale::English);
    const long hits = plot.hitCount();
    const std::size_t files = plot.rows.size();
    title += listName(document.displayedKind()) + ": " +
             english.toString(static_cast<qlonglong>(hits)) +
             (hits == 1 ? " hit in " : " hits in ") +
             english.toString(static_cast<qulonglong>(files)) + (files == 1 ? " file" : " files");
    return DispersionPicture{std::move(plot), title};
}

std::optional<QString> writeDispersionPng(const QImage& image, const QString& path) {
    if (image.isNull()) return QString("the plot is too large for an image");
    // As every save here: a file already there is replaced only by a complete one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return writer.errorString();
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

bool dispersionOffered(const CPyxoDoc& document) {
    const ResultKind kind = document.displayedKind();
    return kind <= ResultKind::Sorted && !document.list(kind).isEmpty();
}

DispersionWindow::DispersionWindow(ResultWindow& source, Profile& profile)
    : QWidget(&source, Qt::Tool), m_source(source), m_profile(profile) {
    setObjectName("dispersionWindow");
    m_message = new QLabel(this);
    m_message->setObjectName("dispersionMessage");
    m_message->setWordWrap(true);
    m_message->setMargin(12);
    m_plot = new DispersionPlotWidget;
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_plot);
    m_scroll->setBackgroundRole(QPalette::Base);
    auto* hint = new QLabel("Click a tick to show its line in the result window.", this);
    m_save = new QPushButton("Save as PNG...", this);
    auto* close = new QPushButton("Close", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(m_save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &DispersionWindow::saveAsPng);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(m_plot, &DispersionPlotWidget::hitClicked, this,
            [this](long index) { m_source.showLine(index); });
}

DispersionWindow::Shown DispersionWindow::shownNow() const {
    const CPyxoDoc& document = m_source.document();
    const CExStringList& list = document.list(document.displayedKind());
    return Shown{document.displayedKind(), list.generation(), list.count(),
                 document.snapshot().formatSelector};
}

void DispersionWindow::refresh() {
    m_counts.clear();
    rebuild();
}

void DispersionWindow::followDocument() {
    if (shownNow() != m_shown) rebuild();
}

void DispersionWindow::rebuild() {
    const CPyxoDoc& document = m_source.document();
    m_shown = shownNow();
    setWindowTitle("Dispersion Plot - " + m_source.documentName());
    std::optional<std::string_view> missing = dispersionUnavailable(document);
    DispersionPlot plot;
    if (!missing) {
        // Every file of the result is read to count its lines.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        plot = dispersionOf(document, dispersionContextFor(document, m_profile), m_counts);
        QGuiApplication::restoreOverrideCursor();
        if (plot.rows.empty()) missing = kNoHitLinesMessage;
    }
    m_message->setText(missing ? displayText(*missing) : QString());
    m_message->setVisible(missing.has_value());
    m_scroll->setVisible(!missing);
    m_save->setEnabled(!missing);
    m_plot->setPicture(dispersionPictureOf(document, std::move(plot)));
}

void DispersionWindow::saveAsPng() {
    const CPyxoDoc& document = m_source.document();
    const QString own = QString::fromStdString(directoryOf(document.filePath()));
    const QString proposed =
        QDir(own.isEmpty() ? QDir::currentPath() : own)
            .filePath(QFileInfo(m_source.documentName()).completeBaseName() + "-dispersion.png");
    QString path = m_chooser ? m_chooser(proposed)
                             : QFileDialog::getSaveFileName(this, "Save as PNG", proposed,
                                                            "PNG images (*.png)");
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".png";
    const QImage image = dispersionImage(m_plot->picture(), m_plot->font(), m_plot->width());
    if (const std::optional<QString> failure = writeDispersionPng(image, path))
        QMessageBox::warning(this, "Vellmora",
                             QString("The plot could not be saved to %1: %2").arg(path, *failure));
}

DispersionWindow* showDispersionWindow(ResultWindow& window, Profile& profile) {
    auto* plot = window.findChild<DispersionWindow*>(QString(), Qt::FindDirectChildrenOnly);
    const bool made = plot == nullptr;
    if (made) plot = new DispersionWindow(window, profile);
    plot->refresh();
    // Tall enough for a few files without scrolling, and not much taller than the plot.
    if (made) {
        plot->resize(960, std::clamp(plot->plot().minimumHeight() + 90, 240, 560));
        placeOverWindow(*plot, *window.window());
    }
    plot->show();
    plot->raise();
    plot->activateWindow();
    return plot;
}

void followDispersionWindow(ResultWindow& window) {
    auto* plot = window.findChild<DispersionWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (plot != nullptr && plot->isVisible()) plot->followDocument();
}

}  // namespace vellmora
