// The collocation, conversion and tool dialogs of result_dialogs.h.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_widgets.h"
#include "app/qt_user_interface.h"
#include "app/result_dialogs.h"
#include "document/clipboard_copy.h"

namespace vellmora {
namespace {

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

/// A check box that shows on and reports each change to setter.
template <class Setter>
QCheckBox* optionBox(QWidget* parent, std::string_view text, bool on, Setter setter) {
    auto* box = new QCheckBox(displayText(text), parent);
    box->setChecked(on);
    QObject::connect(box, &QCheckBox::toggled, parent, setter);
    return box;
}

/// One result line without its line end, for a widget. Each line is decoded on its own: a
/// path may be UTF-8 where a corpus name beside it is Shift-JIS.
QString displayLine(std::string_view line) {
    if (line.ends_with("\r\n"))
        line.remove_suffix(2);
    else if (line.ends_with('\n'))
        line.remove_suffix(1);
    return displayText(line);
}

/// "List Files (*.LST)|*.LST|ALL Files (*.*)|*.*||" as a file dialog takes it: one entry per
/// description, its patterns in parentheses.
QStringList nameFilters(std::string_view filter) {
    const QStringList parts = displayText(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        filters << (description.contains('(') ? description : description + " (" + patterns + ")");
    }
    return filters;
}

}  // namespace

CColloqDialog::CColloqDialog(ColloqDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kColloqDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* positions = new QGroupBox(displayText(kColloqPositionGroup), this);
    auto* positionsLayout = new QHBoxLayout(positions);
    auto* before = new QGroupBox(displayText(kColloqBeforeGroup), positions);
    auto* after = new QGroupBox(displayText(kColloqAfterGroup), positions);
    auto* beforeLayout = new QVBoxLayout(before);
    auto* afterLayout = new QVBoxLayout(after);
    for (int n = kFirstColloqPosition; n <= kLastColloqPosition; ++n) {
        auto* box = new QCheckBox(displayText(colloqPositionLabel(n)), positions);
        m_positions[static_cast<std::size_t>(n - kFirstColloqPosition)] = box;
        connect(box, &QCheckBox::clicked, this, [this, n](bool checked) {
            m_model.setPositionChecked(n, checked);
            showPositions();
        });
    }
    for (int n = 1; n <= kLastColloqPosition; ++n) {
        beforeLayout->addWidget(positionBox(-n));
        afterLayout->addWidget(positionBox(n));
    }
    positionsLayout->addWidget(before);
    positionsLayout->addWidget(positionBox(0));
    positionsLayout->addWidget(after);
    layout->addWidget(positions);

    m_sentenceFinal = optionBox(this, kColloqSentenceFinalLabel, model.sentenceFinal(),
                                [this](bool on) { m_model.setSentenceFinal(on); });
    auto* sentence = new QHBoxLayout;
    sentence->addWidget(m_sentenceFinal);
    sentence->addWidget(new QLabel(displayText(kColloqSentenceFinalNote), this));
    sentence->addStretch();
    layout->addLayout(sentence);
    m_frequencyOrder = optionBox(this, kColloqFrequencyOrderLabel, model.frequencyOrder(),
                                 [this](bool on) { m_model.setFrequencyOrder(on); });
    m_european = optionBox(this, kColloqEuropeanLabel, model.european(),
                           [this](bool on) { m_model.setEuropean(on); });
    m_percent = optionBox(this, kColloqPercentLabel, model.percent(),
                          [this](bool on) { m_model.setPercent(on); });
    m_tail =
        optionBox(this, kColloqTailLabel, model.tail(), [this](bool on) { m_model.setTail(on); });
    for (QCheckBox* box : {m_frequencyOrder, m_european, m_percent, m_tail}) layout->addWidget(box);
    layout->addWidget(okCancel(this));
    showPositions();
}

void CColloqDialog::showPositions() {
    for (int n = kFirstColloqPosition; n <= kLastColloqPosition; ++n)
        positionBox(n)->setChecked(m_model.positionChecked(n));
}

CExColloqDialog::CExColloqDialog(ExColloqDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kExColloqDialogTitle));
    auto* layout = new QVBoxLayout(this);
    m_formats = new QListWidget(this);
    for (int index = 0; !ExColloqDialogModel::formatLabel(index).empty(); ++index)
        m_formats->addItem(displayText(ExColloqDialogModel::formatLabel(index)));
    m_formats->setCurrentRow(model.formatIndex());
    connect(m_formats, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.setFormatIndex(row); });
    m_disable = optionBox(this, kExColloqDisableLabel, model.dialogDisabled(),
                          [this](bool on) { m_model.setDialogDisabled(on); });
    layout->addWidget(m_formats);
    layout->addWidget(m_disable);
    layout->addWidget(okCancel(this));
}

CSpreadSheetDialog::CSpreadSheetDialog(SpreadsheetDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kConversionDialogTitle));
    auto* layout = new QVBoxLayout(this);
    m_tagInfo = optionBox(this, kTagInfoLabel, model.tagInfo(),
                          [this](bool on) { m_model.setTagInfo(on); });
    layout->addWidget(m_tagInfo);
    auto* layouts = new QGroupBox(this);
    auto* grid = new QGridLayout(layouts);
    for (int value = 0; value < kSpreadsheetLayouts; ++value) {
        const auto which = static_cast<SpreadsheetLayout>(value);
        auto* button = new QRadioButton(displayText(layoutLabel(which)), layouts);
        m_layouts[static_cast<std::size_t>(value)] = button;
        auto* example = new QLabel(displayText(layoutExample(which)), layouts);
        example->setTextFormat(Qt::PlainText);
        grid->addWidget(button, value, 0);
        grid->addWidget(example, value, 1);
        button->setChecked(which == model.layout());
        connect(button, &QRadioButton::toggled, this, [this, which](bool on) {
            if (on) m_model.setLayout(which);
        });
    }
    layout->addWidget(layouts);
    layout->addWidget(okCancel(this));
}

CAveLenDlg::CAveLenDlg(AverageWordLengthDialogModel& model, Profile& profile, UserInterface& ui,
                       QWidget* parent)
    : QDialog(parent), m_model(model), m_profile(profile), m_ui(ui) {
    setWindowTitle(displayText(kAverageWordLengthTitle));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    m_fileName = editableCombo(this, model.fileNameHistory());
    m_fileName->setCurrentText(displayText(model.fileName()));
    m_directory = editableCombo(this, model.directoryHistory());
    m_directory->setCurrentText(displayText(model.directory()));
    m_moveDir = moveDirButton(this, m_directory, "&Move dir");
    fields->addWidget(new QLabel("Filename", this), 0, 0);
    fields->addWidget(m_fileName, 0, 1);
    fields->addWidget(new QLabel("Directory", this), 1, 0);
    fields->addWidget(m_directory, 1, 1);
    fields->addWidget(m_moveDir, 1, 2);
    layout->addLayout(fields);
    m_result = new QPlainTextEdit(this);
    m_result->setReadOnly(true);
    m_result->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_result);
    auto* buttons = new QHBoxLayout;
    m_calculate = new QPushButton("Calculate", this);
    m_copy = new QPushButton("&Copy", this);
    m_exit = new QPushButton("Exit", this);
    buttons->addStretch();
    for (QPushButton* button : {m_calculate, m_copy, m_exit}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_calculate, &QPushButton::clicked, this, &CAveLenDlg::calculate);
    connect(m_copy, &QPushButton::clicked, this, &CAveLenDlg::copy);
    connect(m_exit, &QPushButton::clicked, this, &CAveLenDlg::reject);
    resize(560, 360);
}

void CAveLenDlg::setButtonsEnabled(bool enabled) {
    for (QPushButton* button : {m_calculate, m_copy, m_exit, m_moveDir})
        button->setEnabled(enabled);
}

void CAveLenDlg::calculate() {
    m_model.setFileName(pathBytes(m_fileName->currentText()));
    m_model.setDirectory(pathBytes(m_directory->currentText()));
    // The model empties its lines first: the position of the last one shown goes with them.
    clearShownLines();
    setButtonsEnabled(false);
    // The model lets the window's events through as it counts: the text grows as it goes.
    m_model.calculate([this] { showNewLines(); });
    showNewLines();
    setButtonsEnabled(true);
    if (m_closeWhenStopped) {
        m_closeWhenStopped = false;
        QDialog::reject();
    }
}

void CAveLenDlg::showNewLines() {
    const CExStringList& lines = m_model.resultLines();
    if (lines.count() < m_shownLines) clearShownLines();
    CExStringList::Position next =
        m_lastShown != nullptr ? CExStringList::next(m_lastShown) : lines.headPosition();
    for (; next != nullptr; next = CExStringList::next(next)) {
        m_result->appendPlainText(displayLine(CExStringList::at(next)));
        m_lastShown = next;
        ++m_shownLines;
    }
}

void CAveLenDlg::clearShownLines() {
    m_result->clear();
    m_lastShown = nullptr;
    m_shownLines = 0;
}

namespace {

/// The system clipboard for a tool's text: each Shift-JIS line shown as Unicode.
class ToolClipboard : public ClipboardTarget {
public:
    bool open() override { return QGuiApplication::clipboard() != nullptr; }
    void setText(std::string_view text) override {
        QString shown;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (line.ends_with('\r')) line.remove_suffix(1);
            shown += displayLine(line) + '\n';
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        QGuiApplication::clipboard()->setText(shown);
    }
};

}  // namespace

void CAveLenDlg::copy() {
    ToolClipboard clipboard;
    copyTextToClipboard(m_model.resultText(), m_profile, m_ui, clipboard);
}

void CAveLenDlg::reject() {
    if (m_model.calculating()) {
        m_ui.requestCancel();
        m_closeWhenStopped = true;
        return;
    }
    QDialog::reject();
}

CFileListDlg::CFileListDlg(FileListDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kFileListDialogTitle));
    auto* layout = new QGridLayout(this);
    m_reference = new QLineEdit(displayText(model.referenceDirectory()), this);
    m_output = new QLineEdit(displayText(model.outputFile()), this);
    m_exclude = new QCheckBox(displayText(kExcludeBinaryLabel), this);
    m_exclude->setChecked(model.excludeBinary());
    auto* moveDir = new QPushButton("Move Dir", this);
    auto* browse = new QPushButton("&Brows", this);
    for (QPushButton* button : {moveDir, browse}) button->setAutoDefault(false);
    connect(moveDir, &QPushButton::clicked, this, &CFileListDlg::moveDir);
    connect(browse, &QPushButton::clicked, this, &CFileListDlg::browse);
    layout->addWidget(new QLabel(displayText(kFileListExplanation), this), 0, 0, 1, 3);
    layout->addWidget(new QLabel("Reference Directory", this), 1, 0);
    layout->addWidget(m_reference, 1, 1);
    layout->addWidget(moveDir, 1, 2);
    layout->addWidget(new QLabel("Output File", this), 2, 0);
    layout->addWidget(m_output, 2, 1);
    layout->addWidget(browse, 2, 2);
    layout->addWidget(m_exclude, 3, 0, 1, 3);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("CANCEL", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, 4, 0, 1, 3);
    m_reference->setMinimumWidth(320);
}

void CFileListDlg::toModel() {
    m_model.setReferenceDirectory(pathBytes(m_reference->text()));
    m_model.setOutputFile(pathBytes(m_output->text()));
    m_model.setExcludeBinary(m_exclude->isChecked());
}

void CFileListDlg::moveDir() {
    toModel();
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QString(), displayText(m_model.directoryToOffer()));
    if (chosen.isEmpty()) return;
    m_model.takeChosenDirectory(pathBytes(chosen));
    m_reference->setText(displayText(m_model.referenceDirectory()));
}

void CFileListDlg::browse() {
    QFileDialog chooser(this);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilters(nameFilters(kListFileFilter));
    std::string_view extension = kListFileExtension;
    if (extension.starts_with("*.")) extension.remove_prefix(2);
    chooser.setDefaultSuffix(displayText(extension));
    chooser.selectFile(m_output->text());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    m_output->setText(chooser.selectedFiles().first());
}

void CFileListDlg::accept() {
    toModel();
    if (!m_model.ok()) {
        if (m_model.focus() == FileListField::ReferenceDirectory) m_reference->setFocus();
        if (m_model.focus() == FileListField::OutputFile) m_output->setFocus();
        return;
    }
    QDialog::accept();
}

bool showColloqDialog(ColloqDialogModel& model, QWidget* parent) {
    return CColloqDialog(model, parent).exec() == QDialog::Accepted;
}

bool showExColloqDialog(ExColloqDialogModel& model, QWidget* parent) {
    return CExColloqDialog(model, parent).exec() == QDialog::Accepted;
}

bool showSpreadsheetDialog(SpreadsheetDialogModel& model, QWidget* parent) {
    return CSpreadSheetDialog(model, parent).exec() == QDialog::Accepted;
}

bool showFileListDialog(FileListDialogModel& model, QWidget* parent) {
    return CFileListDlg(model, parent).exec() == QDialog::Accepted;
}

void showAverageWordLengthDialog(AverageWordLengthDialogModel& model, Profile& profile,
                                 UserInterface& ui, QWidget* parent) {
    CAveLenDlg(model, profile, ui, parent).exec();
}

}  // namespace vellmora
