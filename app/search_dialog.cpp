#include "app/search_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdlib>
#include <tuple>

#include "app/dialog_widgets.h"
#include "app/option_dialog.h"
#include "app/qt_user_interface.h"
#include "app/word_group_dialog.h"

namespace vellmora {

bool editFileSet(CFileSetDlg& set, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(displayText(set.windowTitle()));
    auto* form = new QFormLayout(&dialog);
    CorpusSet& corpusSet = set.set();
    CorpusFields& corpus = corpusSet.fields;
    const std::pair<const char*, std::string*> rows[] = {
        {"Title", &corpusSet.title},
        {"Filename", &corpus.filename},
        {"Directory", &corpus.directory},
        {"Response file", &corpus.resFile},
        {"Directory of response file", &corpus.resFileDir}};
    std::vector<QLineEdit*> edits;
    for (const auto& [label, value] : rows) {
        auto* edit = new QLineEdit(displayText(*value), &dialog);
        form->addRow(label, edit);
        edits.push_back(edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    // The title is typed text (Shift-JIS inside); the others are paths.
    *rows[0].second = keywordBytes(edits[0]->text());
    for (std::size_t i = 1; i < edits.size(); ++i) *rows[i].second = pathBytes(edits[i]->text());
    return true;
}

SearchRequestDialog::SearchRequestDialog(SearchDialogModel& common, std::string_view title,
                                         QWidget* parent)
    : QDialog(parent), m_common(common) {
    setWindowTitle(displayText(title));
    m_layout = new QVBoxLayout(this);

    auto* keywords = new QGridLayout;
    m_keyword1 = editableCombo(this, {});
    m_keyword2 = editableCombo(this, {});
    auto* word1 = new QRadioButton("Word", this);
    m_group1 = new QRadioButton("Group", this);
    auto* word2 = new QRadioButton("Word", this);
    m_group2 = new QRadioButton("Group", this);
    auto* choice1 = new QButtonGroup(this);
    choice1->addButton(word1);
    choice1->addButton(m_group1);
    auto* choice2 = new QButtonGroup(this);
    choice2->addButton(word2);
    choice2->addButton(m_group2);
    word1->setChecked(true);
    word2->setChecked(true);
    keywords->addWidget(new QLabel("Keyword(1)", this), 0, 0);
    keywords->addWidget(m_keyword1, 0, 1);
    keywords->addWidget(word1, 0, 2);
    keywords->addWidget(m_group1, 0, 3);
    keywords->addWidget(chooseGroupButton(m_keyword1, m_group1), 0, 4);
    keywords->addWidget(new QLabel("Keyword(2)", this), 1, 0);
    keywords->addWidget(m_keyword2, 1, 1);
    keywords->addWidget(word2, 1, 2);
    keywords->addWidget(m_group2, 1, 3);
    keywords->addWidget(chooseGroupButton(m_keyword2, m_group2), 1, 4);
    m_layout->addLayout(keywords);
    // The keyword boxes offer the group names while "Group" is chosen.
    connect(m_group1, &QRadioButton::toggled, this, [this] { fillKeywordChoices(); });
    connect(m_group2, &QRadioButton::toggled, this, [this] { fillKeywordChoices(); });

    m_layout->addWidget(fileFieldsBox("Files", common.filenameHistory(),
                                      common.directoryHistory(), m_filename, m_directory));
    m_layout->addWidget(fileFieldsBox("Response file", common.resFileHistory(),
                                      common.resFileDirHistory(), m_resFile, m_resFileDir));

    auto* sets = new QHBoxLayout;
    for (int number = 1; number <= 6; ++number) {
        auto* button = new QPushButton(displayText(common.corpusSetCaption(number)), this);
        m_sets[static_cast<std::size_t>(number - 1)] = button;
        connect(button, &QPushButton::clicked, this, [this, number, button] {
            toModel();
            if (m_common.clickCorpusSet(number) == CorpusSetButtons::Click::Loaded) {
                fromModel();
                return;
            }
            // An undefined set is defined from the fields as they stand.
            CFileSetDlg set = m_common.fileSetDialog(number);
            if (!editFileSet(set, this)) return;
            m_common.acceptFileSet(set);
            button->setText(displayText(m_common.corpusSetCaption(number)));
            fromModel();
        });
        sets->addWidget(button);
    }
    m_layout->addLayout(sets);
    m_sectionIndex = m_layout->count();

    auto* way = new QGroupBox("Way of Search", this);
    auto* wayLayout = new QHBoxLayout(way);
    const char* methods[] = {"AND", "NOT", "OR"};
    for (std::size_t i = 0; i < m_method.size(); ++i) {
        m_method[i] = new QRadioButton(methods[i], way);
        wayLayout->addWidget(m_method[i]);
    }
    m_layout->addWidget(way);

    m_buttons = new QDialogButtonBox(this);
    auto* editGroup = m_buttons->addButton("Edit Group", QDialogButtonBox::ActionRole);
    m_option = m_buttons->addButton("Option", QDialogButtonBox::ActionRole);
    connect(editGroup, &QPushButton::clicked, this, [this] {
        toModel();
        WordGroupDialogModel groups = m_common.wordGroupDialog();
        groups.open();
        CWordGroupDialog(groups, this).exec();
        m_common.reloadGroupNames();
        fillKeywordChoices();
    });
    connect(m_option, &QPushButton::clicked, this, [this] {
        OptionDialogModel options = m_common.optionDialog();
        options.open();
        COptionDialog(options, this).exec();
    });
    m_buttons->addButton("Search!", QDialogButtonBox::AcceptRole);
    m_buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_layout->addWidget(m_buttons);
}

void SearchRequestDialog::addSection(QWidget* section) {
    m_layout->insertWidget(m_sectionIndex++, section);
}

QPushButton* SearchRequestDialog::addActionButton(const QString& text) {
    return m_buttons->addButton(text, QDialogButtonBox::ActionRole);
}

QGroupBox* SearchRequestDialog::fileFieldsBox(const QString& title,
                                              const std::vector<std::string>& names,
                                              const std::vector<std::string>& directories,
                                              QComboBox*& name, QComboBox*& directory) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    name = editableCombo(box, names);
    directory = editableCombo(box, directories);
    grid->addWidget(new QLabel("Filename", box), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(new QLabel("Directory", box), 1, 0);
    grid->addWidget(directory, 1, 1);
    grid->addWidget(moveDirButton(this, directory), 1, 2);
    return box;
}

QPushButton* SearchRequestDialog::chooseGroupButton(QComboBox* keyword, QRadioButton* group) {
    auto* button = new QPushButton("List...", this);
    button->setToolTip("List of Word Group");
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, keyword, group] {
        GroupChooserModel chooser =
            m_common.groupChooser(group->isChecked() ? keywordBytes(keyword->currentText()) : "");
        chooser.open();
        if (GroupChooserDialog(chooser, this).exec() != QDialog::Accepted) return;
        group->setChecked(true);
        keyword->setCurrentText(displayText(chooser.selectedGroup()));
    });
    return button;
}

void SearchRequestDialog::fillKeywordChoices() {
    const QString typed1 = m_keyword1->currentText();
    const QString typed2 = m_keyword2->currentText();
    m_common.fields().keyword1IsGroup = m_group1->isChecked();
    m_common.fields().keyword2IsGroup = m_group2->isChecked();
    for (auto [box, choices, typed] :
         {std::tuple{m_keyword1, &m_common.keyword1Choices(), typed1},
          std::tuple{m_keyword2, &m_common.keyword2Choices(), typed2}}) {
        box->clear();
        for (const std::string& entry : *choices) box->addItem(displayText(entry));
        box->setCurrentText(typed);
    }
}

void SearchRequestDialog::fromModel() {
    const SearchDialogFields& fields = m_common.fields();
    m_group1->setChecked(fields.keyword1IsGroup);
    m_group2->setChecked(fields.keyword2IsGroup);
    fillKeywordChoices();
    m_keyword1->setCurrentText(displayText(fields.keyword1));
    m_keyword2->setCurrentText(displayText(fields.keyword2));
    m_filename->setCurrentText(displayText(fields.corpus.filename));
    m_directory->setCurrentText(displayText(fields.corpus.directory));
    m_resFile->setCurrentText(displayText(fields.corpus.resFile));
    m_resFileDir->setCurrentText(displayText(fields.corpus.resFileDir));
    m_method[static_cast<std::size_t>(fields.method)]->setChecked(true);
    fromModelExtras();
}

void SearchRequestDialog::toModel() {
    SearchDialogFields& fields = m_common.fields();
    fields.keyword1 = keywordBytes(m_keyword1->currentText());
    fields.keyword1IsGroup = m_group1->isChecked();
    fields.keyword2 = keywordBytes(m_keyword2->currentText());
    fields.keyword2IsGroup = m_group2->isChecked();
    fields.corpus.filename = pathBytes(m_filename->currentText());
    fields.corpus.directory = pathBytes(m_directory->currentText());
    fields.corpus.resFile = pathBytes(m_resFile->currentText());
    fields.corpus.resFileDir = pathBytes(m_resFileDir->currentText());
    for (std::size_t i = 0; i < m_method.size(); ++i)
        if (m_method[i]->isChecked()) fields.method = static_cast<SearchMethod>(i);
    toModelExtras();
}

void SearchRequestDialog::focusField(SearchField field) {
    switch (field) {
    case SearchField::Keyword1: m_keyword1->setFocus(); break;
    case SearchField::Keyword2: m_keyword2->setFocus(); break;
    case SearchField::Filename: m_filename->setFocus(); break;
    case SearchField::Directory: m_directory->setFocus(); break;
    case SearchField::ResFile: m_resFile->setFocus(); break;
    case SearchField::ResFileDir: m_resFileDir->setFocus(); break;
    case SearchField::None: break;
    }
}

void SearchRequestDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The last keyword comes back selected, so that typing a new one replaces it.
    m_keyword1->setFocus(Qt::TabFocusReason);
    m_keyword1->lineEdit()->selectAll();
}

void SearchRequestDialog::accept() {
    toModel();
    if (!confirm()) {
        focusField(refusedField());
        return;
    }
    QDialog::accept();
}

CSearchDialog::CSearchDialog(SearchDialogModel& model, QWidget* parent)
    : SearchRequestDialog(model, kSearchDialogTitle, parent), m_model(model) {
    auto* range = new QGroupBox("Range of KW2", this);
    auto* rangeLayout = new QHBoxLayout(range);
    m_before = new QCheckBox("Before KW1", range);
    m_sentence = new QCheckBox("Recognize Sentence Boundaries", range);
    rangeLayout->addWidget(m_before);
    rangeLayout->addWidget(m_sentence);
    addSection(range);
    fromModel();
}

bool CSearchDialog::confirm() { return m_model.search(); }

void CSearchDialog::toModelExtras() {
    m_model.fields().beforeKeyword1 = m_before->isChecked();
    m_model.fields().recognizeSentence = m_sentence->isChecked();
}

void CSearchDialog::fromModelExtras() {
    m_before->setChecked(m_model.fields().beforeKeyword1);
    m_sentence->setChecked(m_model.fields().recognizeSentence);
}

CPositionedDialog::CPositionedDialog(PositionedDialogModel& model, QWidget* parent)
    : SearchRequestDialog(model.common(), kPositionedDialogTitle, parent), m_model(model) {
    auto* section = new QGroupBox("Position of KW2", this);
    auto* grid = new QGridLayout(section);
    const char* ordinals[] = {"1st word", "2nd word", "3rd word", "4th word", "5th word"};
    grid->addWidget(new QLabel("Before KW1", section), 0, 0);
    grid->addWidget(new QLabel("After KW1", section), 0, 2);
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n) {
        const std::size_t index = static_cast<std::size_t>(n - WordPositions::kFirst);
        const QString text = n == 0 ? QString("KW1 Position") : ordinals[std::abs(n) - 1];
        m_positions[index] = new QCheckBox(text, section);
        // Before: the 5th word at the top, as far from keyword 1 as it stands in the line.
        if (n < 0) grid->addWidget(m_positions[index], n + 6, 0);
        else if (n == 0) grid->addWidget(m_positions[index], 3, 1);
        else grid->addWidget(m_positions[index], n, 2);
    }
    m_sentenceFinal = new QCheckBox("Recognize Sentence Final", section);
    grid->addWidget(m_sentenceFinal, 6, 0, 1, 3);
    addSection(section);
    fromModel();
}

bool CPositionedDialog::confirm() { return m_model.search(); }

void CPositionedDialog::toModelExtras() {
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n)
        m_model.positions().set(n, positionBox(n)->isChecked());
    m_model.positions().bySentence = m_sentenceFinal->isChecked();
}

void CPositionedDialog::fromModelExtras() {
    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n)
        positionBox(n)->setChecked(m_model.positions().at(n));
    m_sentenceFinal->setChecked(m_model.positions().bySentence);
}

CKwocOptionDialog::CKwocOptionDialog(KwocOptionDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("KWOC Option");
    auto* form = new QFormLayout(this);
    m_before = new QLineEdit(this);
    m_after = new QLineEdit(this);
    for (auto [which, edit] : {std::pair{KwocContextField::Before, m_before},
                               std::pair{KwocContextField::After, m_after}}) {
        edit->setMaxLength(3);
        form->addRow(displayText(controlText(which)), edit);
        // Checked as the user leaves the field, so that the range shows while editing.
        connect(edit, &QLineEdit::editingFinished, this, [this, which = which, edit = edit] {
            if (edit->isModified()) {
                edit->setModified(false);
                m_model.editText(which, keywordBytes(edit->text()));
            }
        });
    }
    m_separator = new QCheckBox(displayText(kKwocSeparatorControlText), this);
    form->addRow(m_separator);
    connect(m_separator, &QCheckBox::clicked, this, [this](bool on) {
        const bool ticked = m_model.setSeparatorOfFiles(on);
        fromModel();
        m_separator->setChecked(ticked);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    fromModel();
}

void CKwocOptionDialog::fromModel() {
    const QSignalBlocker blockBefore(m_before);
    const QSignalBlocker blockAfter(m_after);
    m_before->setText(displayText(m_model.text(KwocContextField::Before)));
    m_after->setText(displayText(m_model.text(KwocContextField::After)));
    m_separator->setChecked(m_model.separatorOfFiles());
}

void CKwocOptionDialog::accept() {
    // The fields as they stand, also one still being edited.
    for (auto which : {KwocContextField::Before, KwocContextField::After}) {
        if (keywordBytes(field(which)->text()) != m_model.text(which)) {
            field(which)->setModified(false);
            if (!m_model.editText(which, keywordBytes(field(which)->text()))) {
                field(which)->setFocus();
                return;
            }
        }
    }
    if (!m_model.ok()) {
        if (m_model.focus()) field(*m_model.focus())->setFocus();
        return;
    }
    QDialog::accept();
}

CKwocSearchDialog::CKwocSearchDialog(KwocSearchDialogModel& model, QWidget* parent)
    : SearchRequestDialog(model.common(), kKwocSearchDialogTitle, parent), m_model(model) {
    m_order = new QCheckBox(displayText(kOrderSensitiveControlText), this);
    addSection(m_order);
    optionButton()->setText("KWIC Option");
    connect(addActionButton("KWOC Option"), &QPushButton::clicked, this, [this] {
        KwocOptionDialogModel options = m_model.kwocOptionDialog();
        options.open();
        CKwocOptionDialog(options, this).exec();
    });
    fromModel();
}

bool CKwocSearchDialog::confirm() { return m_model.search(); }

void CKwocSearchDialog::toModelExtras() { m_model.setOrderSensitive(m_order->isChecked()); }

void CKwocSearchDialog::fromModelExtras() { m_order->setChecked(m_model.orderSensitive()); }

DropSearchDialog::DropSearchDialog(DropDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kDropDialogTitle));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(displayText(model.caption()), this), 0, 0, 1, 4);
    const auto row = [this, layout](int line, const char* label, const std::string& text,
                                    bool isGroup, QLineEdit*& field, QRadioButton*& group) {
        field = new QLineEdit(displayText(text), this);
        auto* word = new QRadioButton("Word", this);
        group = new QRadioButton("Group", this);
        auto* choice = new QButtonGroup(this);
        choice->addButton(word);
        choice->addButton(group);
        (isGroup ? group : word)->setChecked(true);
        layout->addWidget(new QLabel(label, this), line, 0);
        layout->addWidget(field, line, 1);
        layout->addWidget(word, line, 2);
        layout->addWidget(group, line, 3);
    };
    row(1, "Keyword(1)", model.keyword1, model.keyword1IsGroup, m_keyword1, m_group1);
    row(2, "Keyword(2)", model.keyword2, model.keyword2IsGroup, m_keyword2, m_group2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, 3, 0, 1, 4);
}

void DropSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_keyword1->setFocus(Qt::TabFocusReason);
    m_keyword1->selectAll();
}

void DropSearchDialog::accept() {
    m_model.keyword1 = keywordBytes(m_keyword1->text());
    m_model.keyword1IsGroup = m_group1->isChecked();
    m_model.keyword2 = keywordBytes(m_keyword2->text());
    m_model.keyword2IsGroup = m_group2->isChecked();
    if (m_model.confirm()) QDialog::accept();
}

}  // namespace vellmora
