#pragma once

#include <QDialog>

#include "settings/group_chooser_model.h"
#include "settings/word_group_dialog_model.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace vellmora {

/// "Select or Edit Word Group" (CWordGroupDialog): the words of the selected group and the
/// group names, each list with its field, "Add" and "Delete". Every button goes through the
/// model, which writes the settings as it goes; Enter takes both fields and keeps the dialog.
class CWordGroupDialog : public QDialog {
    Q_OBJECT

public:
    CWordGroupDialog(WordGroupDialogModel& model, QWidget* parent = nullptr);

    QListWidget* wordList() const { return m_words; }
    QListWidget* nameList() const { return m_names; }
    QLineEdit* wordField() const { return m_wordField; }
    QLineEdit* nameField() const { return m_nameField; }

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The fields into the model before a step, its lists and fields back after it.
    void fieldsToModel();
    void showModel();

    WordGroupDialogModel& m_model;
    QLabel* m_selected;
    QListWidget* m_words;
    QListWidget* m_names;
    QLineEdit* m_wordField;
    QLineEdit* m_nameField;
};

/// "List of Word Group": picks one group of the first name chunk, showing its words; on OK the
/// caller takes the model's selected group.
class GroupChooserDialog : public QDialog {
    Q_OBJECT

public:
    GroupChooserDialog(GroupChooserModel& model, QWidget* parent = nullptr);

    QListWidget* nameList() const { return m_names; }

    void accept() override;

private:
    void showWords();

    GroupChooserModel& m_model;
    QListWidget* m_names;
    QLabel* m_selected;
    QListWidget* m_words;
};

}  // namespace vellmora
