#include "app/word_group_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"

namespace vellmora {
namespace {

void fillList(QListWidget* list, const std::vector<std::string>& items) {
    const int row = list->currentRow();
    list->clear();
    for (const std::string& item : items) list->addItem(displayText(item));
    if (row >= 0 && row < list->count()) list->setCurrentRow(row);
}

/// Buttons that Enter would otherwise press: in this dialog Enter belongs to the fields.
QPushButton* plainButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

/// A list with its field and the two buttons under it, in a titled box.
QGroupBox* listBox(const QString& title, QListWidget* list, QLineEdit* field, QPushButton* add,
                   QPushButton* remove, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QGridLayout(box);
    layout->addWidget(list, 0, 0, 1, 2);
    layout->addWidget(field, 1, 0, 1, 2);
    layout->addWidget(add, 2, 0);
    layout->addWidget(remove, 2, 1);
    return box;
}

}  // namespace

CWordGroupDialog::CWordGroupDialog(WordGroupDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Select or Edit Word Group");
    m_selected = new QLabel(this);
    m_words = new QListWidget(this);
    m_names = new QListWidget(this);
    m_wordField = new QLineEdit(this);
    m_nameField = new QLineEdit(this);
    auto* addWord = plainButton("Add", this);
    auto* deleteWord = plainButton("Delete", this);
    auto* addName = plainButton("Add", this);
    auto* deleteName = plainButton("Delete", this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(listBox("Word Group selected", m_words, m_wordField, addWord, deleteWord, this));
    lists->addWidget(listBox("Candidate", m_names, m_nameField, addName, deleteName, this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_selected);
    layout->addLayout(lists);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(plainButton("OK", this), QDialogButtonBox::AcceptRole);
    buttons->addButton(plainButton("Cancel", this), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    auto step = [this](auto change) {
        return [this, change] {
            fieldsToModel();
            change();
            showModel();
        };
    };
    connect(addWord, &QPushButton::clicked, this, step([this] {
        m_model.addWord();
        m_wordField->setFocus();
    }));
    connect(deleteWord, &QPushButton::clicked, this,
            step([this] { m_model.deleteWord(m_words->currentRow()); }));
    connect(addName, &QPushButton::clicked, this, step([this] { m_model.addGroup(); }));
    connect(deleteName, &QPushButton::clicked, this,
            step([this] { m_model.deleteGroup(m_names->currentRow()); }));
    connect(m_names, &QListWidget::itemDoubleClicked, this,
            step([this] { m_model.chooseGroup(m_names->currentRow()); }));
    showModel();
}

void CWordGroupDialog::fieldsToModel() {
    m_model.setWordField(keywordBytes(m_wordField->text()));
    m_model.setNameField(keywordBytes(m_nameField->text()));
}

void CWordGroupDialog::showModel() {
    fillList(m_words, m_model.words());
    fillList(m_names, m_model.groupNames());
    m_wordField->setText(displayText(m_model.wordField()));
    m_nameField->setText(displayText(m_model.nameField()));
    m_selected->setText(m_model.selectedGroup().empty()
                            ? QString("No group is selected: double-click a name of group")
                            : "Group: " + displayText(m_model.selectedGroup()));
}

void CWordGroupDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        fieldsToModel();
        m_model.enter();
        showModel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CWordGroupDialog::accept() {
    m_model.ok();
    QDialog::accept();
}

void CWordGroupDialog::reject() {
    m_model.cancel();
    QDialog::reject();
}

GroupChooserDialog::GroupChooserDialog(GroupChooserModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("List of Word Group");
    m_names = new QListWidget(this);
    m_selected = new QLabel(this);
    m_words = new QListWidget(this);
    m_words->setSelectionMode(QAbstractItemView::NoSelection);
    auto* names = new QGroupBox("Name of Group", this);
    (new QVBoxLayout(names))->addWidget(m_names);
    auto* words = new QGroupBox("List of Content", this);
    auto* wordsLayout = new QVBoxLayout(words);
    wordsLayout->addWidget(m_selected);
    wordsLayout->addWidget(m_words);
    auto* lists = new QHBoxLayout;
    lists->addWidget(names);
    lists->addWidget(words);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    fillList(m_names, m_model.groupNames());
    connect(m_names, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model.select(row);
        showWords();
    });
    showWords();
    // It opens in the middle of the screen, away from the dialog that called it.
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void GroupChooserDialog::showWords() {
    m_selected->setText(displayText(m_model.selectedGroup()));
    fillList(m_words, m_model.words());
}

void GroupChooserDialog::accept() {
    if (m_model.ok()) QDialog::accept();
}

}  // namespace vellmora
