// The extraction and sort dialogs; the collocation, conversion and tool dialogs are in
// result_tool_dialogs.cpp.

#include "app/result_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "app/dialog_widgets.h"
#include "app/qt_user_interface.h"

namespace vellmora {
namespace {

using C = ExtractionControl;

/// Shows what the model kept of a field the user left, after its edit check ran on the typed
/// text (a check may beep, show its message and replace the text); text and edit are the
/// model's text of the field and its check. False when the check replaced more than
/// full-width digits: the user must see the correction before the dialog closes.
template <class Model>
bool checkTypedText(QLineEdit* field, Model& model, const std::string& (Model::*text)() const,
                    const std::string& (Model::*edit)(std::string)) {
    const std::string typed = keywordBytes(field->text());
    if (typed == (model.*text)()) return true;
    const std::string& kept = (model.*edit)(typed);
    const QSignalBlocker blocker(field);
    field->setText(displayText(kept));
    return kept == withAsciiDigits(typed);
}

template <class Model>
bool checkMaxLines(QLineEdit* field, Model& model) {
    return checkTypedText(field, model, &Model::maxLineText, &Model::editMaxLine);
}

bool checkColumn(QLineEdit* field, ColumnSortDialogModel& model) {
    return checkTypedText(field, model, &ColumnSortDialogModel::columnText,
                          &ColumnSortDialogModel::editColumn);
}

/// "Max Lines to be sorted" with its two small buttons, checked as the user leaves it and
/// stepped through the model; both sort dialogs share it.
template <class Model>
QWidget* maxLinesRow(QWidget* parent, Model& model, QLineEdit*& field, QToolButton*& up,
                     QToolButton*& down) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    field = new QLineEdit(displayText(model.maxLineText()), row);
    up = new QToolButton(row);
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(row);
    down->setArrowType(Qt::DownArrow);
    layout->addWidget(new QLabel("Max Lines to be sorted", row));
    layout->addWidget(field);
    layout->addWidget(up);
    layout->addWidget(down);
    QObject::connect(field, &QLineEdit::editingFinished, row,
                     [&model, field] { checkMaxLines(field, model); });
    for (auto [button, upward] : {std::pair{up, true}, std::pair{down, false}}) {
        // The small buttons take no focus, so the field may still hold unchecked text.
        QObject::connect(button, &QToolButton::clicked, row, [&model, field, upward] {
            checkMaxLines(field, model);
            const QSignalBlocker blocker(field);
            field->setText(displayText(model.stepMaxLine(upward)));
        });
    }
    return row;
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

/// The controls that stand for one flag of the options each.
constexpr std::pair<ExtractionControl, bool ExtractionOptions::*> kOptionFlags[] = {
    {C::Both, &ExtractionOptions::both},
    {C::Head, &ExtractionOptions::mae},
    {C::Tail, &ExtractionOptions::ato},
    {C::Default, &ExtractionOptions::alnum},
    {C::ExcludeHyphen, &ExtractionOptions::hyph},
    {C::ExcludeApostrophe, &ExtractionOptions::apo},
    {C::BeforeKeyword, &ExtractionOptions::reMae},
    {C::SentenceFinal, &ExtractionOptions::bummatsu},
    {C::OutputAll, &ExtractionOptions::sep},
    {C::MatchedFilesOnly, &ExtractionOptions::sepMatched},
    {C::IgnoreCase, &ExtractionOptions::ignoreCase},
    {C::AndSearch, &ExtractionOptions::andSearch},
    {C::NotSearch, &ExtractionOptions::notSearch},
};

}  // namespace

ExtractionDialog::ExtractionDialog(ExtractionFields& fields, std::string_view title,
                                   bool rangeDialog, QWidget* parent)
    : QDialog(parent), m_fields(fields) {
    setWindowTitle(displayText(title));
    m_layout = new QVBoxLayout(this);
    const auto make = [this](ExtractionControl which, QAbstractButton* button) {
        m_controls[static_cast<std::size_t>(which)] = button;
        return button;
    };

    auto* keywordRow = new QHBoxLayout;
    m_keyword = editableCombo(this, {});
    auto* word = make(C::Word, new QRadioButton("Word", this));
    auto* group = make(C::Group, new QRadioButton("Group", this));
    auto* wordOrGroup = new QButtonGroup(this);
    wordOrGroup->addButton(word);
    wordOrGroup->addButton(group);
    keywordRow->addWidget(m_keyword, 1);
    keywordRow->addWidget(word);
    keywordRow->addWidget(group);
    keywordRow->addWidget(make(C::RegularExpression, new QCheckBox("Regular Expression", this)));
    m_layout->addLayout(keywordRow);
    // The box offers the word-group names while "Group" is chosen, the history otherwise.
    connect(group, &QRadioButton::toggled, this, [this] { fillChoices(); });

    auto* words = new QGroupBox(this);
    auto* wordsLayout = new QGridLayout(words);
    int cell = 0;
    for (auto [which, text] : {std::pair{C::Both, "@Both@"},
                               {C::Head, "@Head"},
                               {C::Tail, "Tail@"},
                               {C::Default, "Default"},
                               {C::ExcludeHyphen, "Exclude Hyphen"},
                               {C::ExcludeApostrophe, "Exclude Apostrophy"}}) {
        wordsLayout->addWidget(make(which, new QCheckBox(text, words)), cell / 3, cell % 3);
        ++cell;
    }
    m_layout->addWidget(words);

    auto* range = new QHBoxLayout;
    if (rangeDialog) range->addWidget(make(C::BeforeKeyword, new QCheckBox("Before KW1", this)));
    range->addWidget(make(C::SentenceFinal, new QCheckBox("Recognize Sentence Final", this)));
    range->addWidget(new QLabel("(very loose judgement)", this));
    range->addStretch();
    m_layout->addLayout(range);
    m_sectionIndex = m_layout->count();

    // Pairs of which exactly one shows checked, as the model reads them.
    auto* pairs = new QGridLayout;
    const std::tuple<ExtractionControl, const char*, ExtractionControl, const char*> pairRows[] = {
        {C::OutputAll, "Output all", C::MatchedFilesOnly,
         rangeDialog ? "Matched Files only" : "Matched Files Only"},
        {C::AndSearch, "AND Search", C::NotSearch, "NOT Search"},
    };
    int row = 0;
    for (const auto& [first, firstText, second, secondText] : pairRows) {
        auto* choice = new QButtonGroup(this);
        for (auto [which, text, column] :
             {std::tuple{first, firstText, 0}, std::tuple{second, secondText, 1}}) {
            auto* button = make(which, new QRadioButton(text, this));
            choice->addButton(button);
            pairs->addWidget(button, row, column);
        }
        ++row;
    }
    pairs->addWidget(make(C::IgnoreCase, new QCheckBox("Ignore Case", this)), 0, 2);
    m_layout->addLayout(pairs);
    m_layout->addWidget(okCancel(this));
}

void ExtractionDialog::addSection(QWidget* section) {
    m_layout->insertWidget(m_sectionIndex++, section);
}

void ExtractionDialog::fillChoices() {
    const QString typed = m_keyword->currentText();
    m_fields.useGroup = control(C::Group)->isChecked();
    m_keyword->clear();
    for (const std::string& entry : choices()) m_keyword->addItem(displayText(entry));
    m_keyword->setCurrentText(typed);
}

void ExtractionDialog::fromModel() {
    control(m_fields.useGroup ? C::Group : C::Word)->setChecked(true);
    fillChoices();
    m_keyword->setCurrentText(displayText(m_fields.keyword));
    // The model has one of each radio pair on: checking it clears the other.
    for (auto [which, flag] : kOptionFlags)
        if (QAbstractButton* button = control(which)) button->setChecked(m_fields.options.*flag);
    control(C::RegularExpression)->setChecked(m_fields.regExp);
    fromModelExtras();
}

void ExtractionDialog::toModel() {
    for (auto [which, flag] : kOptionFlags)
        if (QAbstractButton* button = control(which)) m_fields.options.*flag = button->isChecked();
    m_fields.regExp = control(C::RegularExpression)->isChecked();
    m_fields.useGroup = control(C::Group)->isChecked();
    m_fields.keyword = keywordBytes(m_keyword->currentText());
    toModelExtras();
}

void ExtractionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The last keyword comes back selected, so that typing a new one replaces it.
    m_keyword->setFocus(Qt::TabFocusReason);
    m_keyword->lineEdit()->selectAll();
}

QWidget* ExtractionDialog::refusedField() const { return m_keyword; }

void ExtractionDialog::accept() {
    toModel();
    if (!confirm()) {
        if (QWidget* field = refusedField()) field->setFocus();
        return;
    }
    QDialog::accept();
}

CReExtractionDlg::CReExtractionDlg(RangeExtractionDialogModel& model, QWidget* parent)
    : ExtractionDialog(model.fields(), kRangeExtractionTitle, true, parent), m_model(model) {
    fromModel();
}

CReExtractionPosDlg::CReExtractionPosDlg(PositionExtractionDialogModel& model, QWidget* parent)
    : ExtractionDialog(model.fields(), kPositionExtractionTitle, false, parent), m_model(model) {
    auto* section = new QGroupBox(this);
    auto* grid = new QGridLayout(section);
    const char* ordinals[] = {"1st word", "2nd word", "3rd word", "4th word", "5th word"};
    grid->addWidget(new QLabel("Before KW1", section), 0, 0);
    grid->addWidget(new QLabel("After KW2", section), 0, 2);
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n) {
        const QString text = n == 0 ? QString("KW1 Position") : ordinals[std::abs(n) - 1];
        auto* box = new QCheckBox(text, section);
        m_positions[static_cast<std::size_t>(n - WordPositions::kFirst)] = box;
        if (n == 0)
            grid->addWidget(box, 3, 1);
        else
            grid->addWidget(box, std::abs(n), n < 0 ? 0 : 2);
    }
    addSection(section);
    fromModel();
}

QWidget* CReExtractionPosDlg::refusedField() const {
    // The model checks the positions before the keyword.
    if (!m_model.positions().any()) return positionBox(-1);
    return keyword();
}

void CReExtractionPosDlg::toModelExtras() {
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n)
        m_model.positions().set(n, positionBox(n)->isChecked());
}

void CReExtractionPosDlg::fromModelExtras() {
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n)
        positionBox(n)->setChecked(m_model.positions().at(n));
}

CSortDialog::CSortDialog(SortDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kSortDialogTitle));
    auto* layout = new QVBoxLayout(this);
    const char* titles[kSortKeyBoxes] = {"First Key", "Second Key", "Third Key"};
    for (int box = 0; box < kSortKeyBoxes; ++box) {
        auto* group = new QGroupBox(titles[box], this);
        auto* groupLayout = new QHBoxLayout(group);
        auto* keys = new QComboBox(group);
        for (int entry = 0; entry < kSortKeyChoices; ++entry)
            keys->addItem(displayText(sortKeyLabel(box, entry)));
        auto* ascending = new QRadioButton("Accending", group);
        auto* descending = new QRadioButton("Decending", group);
        auto* tail = new QCheckBox("By tail", group);
        const SortKeyChoice& key = model.key(box);
        keys->setCurrentIndex(key.index);
        (key.descending ? descending : ascending)->setChecked(true);
        tail->setChecked(key.byTail);
        groupLayout->addWidget(keys);
        groupLayout->addWidget(ascending);
        groupLayout->addWidget(descending);
        groupLayout->addWidget(tail);
        layout->addWidget(group);
        m_groups[index(box)] = group;
        m_keys[index(box)] = keys;
        m_ascending[index(box)] = ascending;
        m_descending[index(box)] = descending;
        m_byTail[index(box)] = tail;
        connect(keys, &QComboBox::currentIndexChanged, this, [this, box](int entry) {
            m_model.setKeyIndex(box, entry);
            showModel();
        });
        connect(descending, &QRadioButton::toggled, this,
                [this, box](bool on) { m_model.setDescending(box, on); });
        connect(tail, &QCheckBox::toggled, this,
                [this, box](bool on) { m_model.setByTail(box, on); });
    }
    m_sentenceEnd = new QCheckBox("Recognize Sentence End", this);
    m_sentenceEnd->setChecked(model.sentenceFinal());
    connect(m_sentenceEnd, &QCheckBox::toggled, this,
            [this](bool on) { m_model.setSentenceFinal(on); });
    m_strcoll = new QCheckBox("Use strcoll", this);
    m_strcoll->setChecked(model.byteWise());
    connect(m_strcoll, &QCheckBox::toggled, this, [this](bool on) { m_model.setByteWise(on); });
    layout->addWidget(m_sentenceEnd);
    layout->addWidget(m_strcoll);
    layout->addWidget(maxLinesRow(this, m_model, m_maxLines, m_up, m_down));
    layout->addWidget(okCancel(this));
    showModel();
}

void CSortDialog::showModel() {
    for (int box = 0; box < kSortKeyBoxes; ++box)
        m_groups[index(box)]->setEnabled(m_model.keyEnabled(box));
}

void CSortDialog::accept() {
    if (!checkMaxLines(m_maxLines, m_model)) {
        m_maxLines->setFocus();
        return;
    }
    QDialog::accept();
}

CKetaSortDlg::CKetaSortDlg(ColumnSortDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kColumnSortDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* columnRow = new QHBoxLayout;
    m_column = new QLineEdit(displayText(model.columnText()), this);
    columnRow->addWidget(new QLabel("Sort by ", this));
    columnRow->addWidget(m_column);
    columnRow->addWidget(new QLabel("th Column", this));
    layout->addLayout(columnRow);
    for (const std::string& line :
         {model.minimumLine(), model.maximumLine(), model.initialValueLine()})
        layout->addWidget(new QLabel(displayText(line), this));
    connect(m_column, &QLineEdit::editingFinished, this,
            [this] { checkColumn(m_column, m_model); });

    m_alphabetical = new QCheckBox("Alphabetical order", this);
    m_reverse = new QCheckBox("Reverse", this);
    connect(m_alphabetical, &QCheckBox::clicked, this, [this](bool ticked) {
        m_model.setAlphabetical(ticked);
        showDirection();
    });
    connect(m_reverse, &QCheckBox::clicked, this, [this](bool ticked) {
        m_model.setReverse(ticked);
        showDirection();
    });
    layout->addWidget(m_alphabetical);
    layout->addWidget(m_reverse);
    layout->addWidget(maxLinesRow(this, m_model, m_maxLines, m_up, m_down));
    layout->addWidget(okCancel(this));
    showDirection();
}

void CKetaSortDlg::showDirection() {
    m_alphabetical->setChecked(m_model.alphabetical());
    m_reverse->setChecked(m_model.reverse());
}

void CKetaSortDlg::accept() {
    // Checked in dialog order; the first field corrected keeps the dialog open.
    QLineEdit* corrected = !checkColumn(m_column, m_model)       ? m_column
                           : !checkMaxLines(m_maxLines, m_model) ? m_maxLines
                                                                 : nullptr;
    if (corrected != nullptr) {
        corrected->setFocus();
        return;
    }
    QDialog::accept();
}

std::optional<RangeExtractionRequest> askRangeExtraction(Profile& profile, UserInterface& ui,
                                                         const Histories& histories,
                                                         QWidget* parent) {
    RangeExtractionDialogModel model(profile, ui, histories);
    model.open();
    CReExtractionDlg dialog(model, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return model.request();
}

std::optional<PositionExtractionRequest> askPositionExtraction(Profile& profile, UserInterface& ui,
                                                               const Histories& histories,
                                                               QWidget* parent) {
    PositionExtractionDialogModel model(profile, ui, histories);
    model.open();
    CReExtractionPosDlg dialog(model, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return model.request();
}

bool showSortDialog(SortDialogModel& model, QWidget* parent) {
    return CSortDialog(model, parent).exec() == QDialog::Accepted;
}

bool showColumnSortDialog(ColumnSortDialogModel& model, QWidget* parent) {
    return CKetaSortDlg(model, parent).exec() == QDialog::Accepted;
}

}  // namespace vellmora
