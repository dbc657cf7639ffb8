#include "app/search_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/option_dialog.h"
#include "app/qt_user_interface.h"
#include "app/word_group_dialog.h"

namespace vellmora {
namespace {

/// Paths are the file system's bytes: UTF-8 here.
std::string pathBytes(const QString& text) { return text.toStdString(); }

QComboBox* editableCombo(QWidget* parent, const std::vector<std::string>& history) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(24);
    for (const std::string& entry : history) box->addItem(displayText(entry));
    // The history is offered below the box and never typed into it: completing inline
    // rewrote what was being typed (and its case, which paths and keywords here keep).
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QPushButton* moveDirButton(QWidget* parent, QComboBox* directory) {
    auto* button = new QPushButton("Move Dir", parent);
    QObject::connect(button, &QPushButton::clicked, parent, [parent, directory] {
        const QString chosen =
            QFileDialog::getExistingDirectory(parent, QString(), directory->currentText());
        if (!chosen.isEmpty()) directory->setCurrentText(chosen + "/");
    });
    return button;
}

}  // namespace

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

CSearchDialog::CSearchDialog(SearchDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kSearchDialogTitle));
    auto* layout = new QVBoxLayout(this);

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
    layout->addLayout(keywords);
    // The keyword boxes offer the group names while "Group" is chosen.
    connect(m_group1, &QRadioButton::toggled, this, [this] { fillKeywordChoices(); });
    connect(m_group2, &QRadioButton::toggled, this, [this] { fillKeywordChoices(); });

    layout->addWidget(fileFieldsBox("Files", model.filenameHistory(), model.directoryHistory(),
                                    m_filename, m_directory));
    layout->addWidget(fileFieldsBox("Response file", model.resFileHistory(),
                                    model.resFileDirHistory(), m_resFile, m_resFileDir));

    auto* sets = new QHBoxLayout;
    for (int number = 1; number <= 6; ++number) {
        auto* button = new QPushButton(displayText(model.corpusSetCaption(number)), this);
        m_sets[static_cast<std::size_t>(number - 1)] = button;
        connect(button, &QPushButton::clicked, this, [this, number, button] {
            toModel();
            if (m_model.clickCorpusSet(number) == CorpusSetButtons::Click::Loaded) {
                fromModel();
                return;
            }
            // An undefined set is defined from the fields as they stand.
            CFileSetDlg set = m_model.fileSetDialog(number);
            if (!editFileSet(set, this)) return;
            m_model.acceptFileSet(set);
            button->setText(displayText(m_model.corpusSetCaption(number)));
            fromModel();
        });
        sets->addWidget(button);
    }
    layout->addLayout(sets);

    auto* range = new QGroupBox("Range of KW2", this);
    auto* rangeLayout = new QHBoxLayout(range);
    m_before = new QCheckBox("Before KW1", range);
    m_sentence = new QCheckBox("Recognize Sentence Boundaries", range);
    rangeLayout->addWidget(m_before);
    rangeLayout->addWidget(m_sentence);
    layout->addWidget(range);

    auto* way = new QGroupBox("Way of Search", this);
    auto* wayLayout = new QHBoxLayout(way);
    const char* methods[] = {"AND", "NOT", "OR"};
    for (std::size_t i = 0; i < m_method.size(); ++i) {
        m_method[i] = new QRadioButton(methods[i], way);
        wayLayout->addWidget(m_method[i]);
    }
    layout->addWidget(way);

    auto* buttons = new QDialogButtonBox(this);
    auto* editGroup = buttons->addButton("Edit Group", QDialogButtonBox::ActionRole);
    auto* option = buttons->addButton("Option", QDialogButtonBox::ActionRole);
    connect(editGroup, &QPushButton::clicked, this, [this] {
        toModel();
        WordGroupDialogModel groups = m_model.wordGroupDialog();
        groups.open();
        CWordGroupDialog(groups, this).exec();
        m_model.reloadGroupNames();
        fillKeywordChoices();
    });
    connect(option, &QPushButton::clicked, this, [this] {
        OptionDialogModel options = m_model.optionDialog();
        options.open();
        COptionDialog(options, this).exec();
    });
    buttons->addButton("Search!", QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    fromModel();
}

QGroupBox* CSearchDialog::fileFieldsBox(const QString& title,
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

QPushButton* CSearchDialog::chooseGroupButton(QComboBox* keyword, QRadioButton* group) {
    auto* button = new QPushButton("List...", this);
    button->setToolTip("List of Word Group");
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, keyword, group] {
        GroupChooserModel chooser =
            m_model.groupChooser(group->isChecked() ? keywordBytes(keyword->currentText()) : "");
        chooser.open();
        if (GroupChooserDialog(chooser, this).exec() != QDialog::Accepted) return;
        group->setChecked(true);
        keyword->setCurrentText(displayText(chooser.selectedGroup()));
    });
    return button;
}

void CSearchDialog::fillKeywordChoices() {
    const QString typed1 = m_keyword1->currentText();
    const QString typed2 = m_keyword2->currentText();
    m_model.fields().keyword1IsGroup = m_group1->isChecked();
    m_model.fields().keyword2IsGroup = m_group2->isChecked();
    for (auto [box, choices, typed] :
         {std::tuple{m_keyword1, &m_model.keyword1Choices(), typed1},
          std::tuple{m_keyword2, &m_model.keyword2Choices(), typed2}}) {
        box->clear();
        for (const std::string& entry : *choices) box->addItem(displayText(entry));
        box->setCurrentText(typed);
    }
}

void CSearchDialog::fromModel() {
    const SearchDialogFields& fields = m_model.fields();
    m_group1->setChecked(fields.keyword1IsGroup);
    m_group2->setChecked(fields.keyword2IsGroup);
    fillKeywordChoices();
    m_keyword1->setCurrentText(displayText(fields.keyword1));
    m_keyword2->setCurrentText(displayText(fields.keyword2));
    m_filename->setCurrentText(displayText(fields.corpus.filename));
    m_directory->setCurrentText(displayText(fields.corpus.directory));
    m_resFile->setCurrentText(displayText(fields.corpus.resFile));
    m_resFileDir->setCurrentText(displayText(fields.corpus.resFileDir));
    m_before->setChecked(fields.beforeKeyword1);
    m_sentence->setChecked(fields.recognizeSentence);
    m_method[static_cast<std::size_t>(fields.method)]->setChecked(true);
}

void CSearchDialog::toModel() {
    SearchDialogFields& fields = m_model.fields();
    fields.keyword1 = keywordBytes(m_keyword1->currentText());
    fields.keyword1IsGroup = m_group1->isChecked();
    fields.keyword2 = keywordBytes(m_keyword2->currentText());
    fields.keyword2IsGroup = m_group2->isChecked();
    fields.corpus.filename = pathBytes(m_filename->currentText());
    fields.corpus.directory = pathBytes(m_directory->currentText());
    fields.corpus.resFile = pathBytes(m_resFile->currentText());
    fields.corpus.resFileDir = pathBytes(m_resFileDir->currentText());
    fields.beforeKeyword1 = m_before->isChecked();
    fields.recognizeSentence = m_sentence->isChecked();
    for (std::size_t i = 0; i < m_method.size(); ++i)
        if (m_method[i]->isChecked()) fields.method = static_cast<SearchMethod>(i);
}

void CSearchDialog::focusField(SearchField field) {
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

void CSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The last keyword comes back selected, so that typing a new one replaces it.
    m_keyword1->setFocus(Qt::TabFocusReason);
    m_keyword1->lineEdit()->selectAll();
}

void CSearchDialog::accept() {
    toModel();
    if (!m_model.search()) {
        focusField(m_model.focus());
        return;
    }
    QDialog::accept();
}

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
