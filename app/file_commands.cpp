// The file commands of the main window: open, the text saves and their questions, closing
// with the save-changes step, the formatted save of "Break", the recently used files.

#include "app/main_frame.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QVBoxLayout>

#include "app/result_window.h"
#include "document/document_save.h"
#include "document/formatted_file.h"
#include "document/save_options_dialog_model.h"
#include "engine/result_accumulation.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr int kRecentFiles = 4;
constexpr std::string_view kRecentSection = "Recent File List";
constexpr const char* kFormattedFilter = "PYXO File (*.VM2 *.vm2)";
constexpr const char* kTextFilter = "TextFile(*.txt);;All Files(*)";

/// The name a formatted save offers for a document called name: a text file's extension
/// gives way to "vm2", so that the offer is never the text file the document came from.
QString formattedSaveName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix();
    if (suffix.isEmpty() || suffix.compare("vm2", Qt::CaseInsensitive) == 0 ||
        suffix.compare("vm1", Qt::CaseInsensitive) == 0)
        return name;
    return name.left(name.size() - suffix.size()) + "vm2";
}

/// The save dialog, with suffix added to a name typed without an extension, so that the file
/// shows under its filter when it is looked for again.
QString saveFileName(QWidget* parent, const QString& start, const QString& filter,
                     const QString& suffix, QFileDialog::Options options = {}) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(options);
    dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

}  // namespace

void CMainFrame::open() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFormattedFilter);
    if (!path.isEmpty()) openFormattedFile(path);
}

QString CMainFrame::chooseSaveName(const QString& start, const QString& filter) {
    if (m_saveNameChooser) return m_saveNameChooser(start, filter);
    // The replace questions are asked after the choice, where a formatted file gets its own.
    return saveFileName(this, start, filter, QStringLiteral("txt"),
                        QFileDialog::DontConfirmOverwrite);
}

QString CMainFrame::askTextSavePath(const CPyxoDoc& document) {
    QString proposed = document.filePath().empty()
                           ? displayText(document.baseTitle())
                           : QString::fromStdString(textSaveName(document));
    for (;;) {
        const QString path = chooseSaveName(proposed, kTextFilter);
        if (path.isEmpty() || !QFileInfo::exists(path)) return path;
        const QString name = QFileInfo(path).fileName();
        const bool formatted = holdsFormattedResult(path.toStdString());
        const QString question =
            formatted ? name + " is a Vellmora formatted file. Saving text over it loses every "
                               "result and the display state it holds.\nDo you want to replace "
                               "it with text?"
                      : name + " already exists.\nDo you want to replace it?";
        QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), question,
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(formatted ? QMessageBox::No : QMessageBox::Yes);
        if (box.exec() == QMessageBox::Yes) return path;
        proposed = path;  // asked again, so that another name can be chosen
    }
}

bool CMainFrame::saveToText(ResultWindow& window, bool askName) {
    CPyxoDoc& document = window.document();
    QString path = QString::fromStdString(document.filePath());
    if (askName || path.isEmpty() || document.needsNewNameForTextSave()) {
        path = askTextSavePath(document);
        if (path.isEmpty()) return false;
    }
    const bool saved = static_cast<bool>(saveToTextFile(document, path.toStdString(), m_profile, m_ui));
    window.updateTitle();
    return saved;
}

bool CMainFrame::canClose(ResultWindow& window) {
    if (window.searchState().busy) {
        if (m_ui.message("I'm searching. You you want to continue search?", Buttons::YesNo) ==
            Answer::No)
            m_ui.requestCancel();
        return false;
    }
    CPyxoDoc& document = window.document();
    if (!document.isModified()) return true;
    const QString name = window.documentName();
    const Answer answer = m_ui.message(("Save changes to " + name + "?").toStdString(),
                                       Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) return true;
    QString path = QString::fromStdString(document.filePath());
    if (path.isEmpty() || document.needsNewName(document.saveForm())) {
        path = document.saveForm() == SaveForm::Formatted
                   ? saveFileName(this, formattedSaveName(name), kFormattedFilter,
                                  QStringLiteral("vm2"))
                   : askTextSavePath(document);
        if (path.isEmpty()) return false;
    }
    return static_cast<bool>(saveDocument(document, path.toStdString(), m_profile, m_ui));
}

bool CMainFrame::saveAll() {
    for (ResultWindow* window : resultWindows()) {
        if (!canClose(*window)) return false;
    }
    return true;
}

void CMainFrame::closeAll(bool saveFirst) {
    if (saveFirst && !saveAll()) return;
    // Every window had its question: none is asked again as it closes.
    for (ResultWindow* window : resultWindows()) window->document().setModified(false);
    m_area->closeAllSubWindows();
}

void CMainFrame::showSaveOptions() {
    SaveOptionsDialogModel model(m_profile);
    model.open();
    QDialog dialog(this);
    dialog.setWindowTitle("Save Options");
    auto* layout = new QVBoxLayout(&dialog);
    std::vector<std::pair<SaveOptionBox, QCheckBox*>> checks;
    for (int i = 0; i < kSaveOptionBoxes; ++i) {
        const auto box = static_cast<SaveOptionBox>(i);
        auto* check = new QCheckBox(displayText(SaveOptionsDialogModel::label(box)), &dialog);
        layout->addWidget(check);
        checks.emplace_back(box, check);
    }
    auto refresh = [&] {
        for (auto& [box, check] : checks) {
            const QSignalBlocker blocker(check);
            check->setChecked(model.checked(box));
        }
    };
    for (auto& [box, check] : checks) {
        const SaveOptionBox which = box;
        connect(check, &QCheckBox::toggled, &dialog, [&, which](bool on) {
            model.setChecked(which, on);
            refresh();
        });
    }
    refresh();
    auto* utf8 = new QCheckBox(displayText(kSaveAsUtf8Label), &dialog);
    utf8->setChecked(model.utf8());
    connect(utf8, &QCheckBox::toggled, &dialog, [&model](bool on) { model.setUtf8(on); });
    layout->addWidget(utf8);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted) model.confirm();
}

void CMainFrame::breakAndSaveFormatted() {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    const DisplaySnapshot& shown = window->document().snapshot();
    breakAndSave(m_flags, window->searchState(), window->document(), m_ui, m_profile,
                 shown.keyword1, shown.keyword2, [this, window](CPyxoDoc& document) {
                     const QString path =
                         saveFileName(this, formattedSaveName(window->documentName()),
                                      kFormattedFilter, QStringLiteral("vm2"));
                     if (path.isEmpty()) return false;
                     document.setSaveForm(SaveForm::Formatted);
                     const bool saved = static_cast<bool>(
                         saveDocument(document, path.toStdString(), m_profile, m_ui));
                     if (saved) addRecentFile(path);
                     return saved;
                 });
    window->updateTitle();
}

void CMainFrame::addRecentFile(const QString& path) {
    QStringList files;
    for (int i = 1; i <= kRecentFiles; ++i) {
        const std::string value =
            m_profile.readString(kRecentSection, "File" + std::to_string(i), "");
        if (!value.empty()) files << QString::fromStdString(value);
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    for (int i = 1; i <= kRecentFiles; ++i)
        m_profile.writeString(kRecentSection, "File" + std::to_string(i),
                              i <= files.size() ? files[i - 1].toStdString() : std::string());
    m_profile.flush();
    rebuildRecentFiles();
}

void CMainFrame::rebuildRecentFiles() {
    for (QMenu* menu : {m_recentShort, m_recentFull}) {
        if (menu == nullptr) continue;
        for (QAction* entry : menu->actions())
            if (entry->property("recent").toBool()) menu->removeAction(entry);
        for (int i = 1; i <= kRecentFiles; ++i) {
            const std::string value =
                m_profile.readString(kRecentSection, "File" + std::to_string(i), "");
            if (value.empty()) continue;
            const QString path = QString::fromStdString(value);
            QAction* entry = menu->addAction(QString("&%1 %2").arg(i).arg(path));
            entry->setProperty("recent", true);
            entry->setStatusTip("Open this File");
            connect(entry, &QAction::triggered, this, [this, path] { openFormattedFile(path); });
        }
    }
}

}  // namespace vellmora
