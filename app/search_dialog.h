#pragma once

#include <QDialog>
#include <array>

#include "engine/result_accumulation.h"
#include "engine/search_dialog_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vellmora {

/// The "File Set" dialog: defines corpus set number from the fields it opens with; true on OK
/// (the caller stores the set).
bool editFileSet(CFileSetDlg& set, QWidget* parent);

/// "Let's search in KWIC Format!(Range)" (CSearchDialog): the widgets of one search request
/// over its model, which holds the fields, runs the checks and stores the choices.
class CSearchDialog : public QDialog {
    Q_OBJECT

public:
    CSearchDialog(SearchDialogModel& model, QWidget* parent = nullptr);

    /// "Search!": the widgets into the model, then its checks; the dialog closes only when
    /// they pass (the model has shown its message and names the field to focus otherwise).
    void accept() override;

    QComboBox* keyword1() const { return m_keyword1; }
    QComboBox* keyword2() const { return m_keyword2; }
    QComboBox* filename() const { return m_filename; }
    QComboBox* directory() const { return m_directory; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void toModel();
    void fromModel();
    void fillKeywordChoices();
    /// A file name and a directory with "Move Dir", from their histories.
    QGroupBox* fileFieldsBox(const QString& title, const std::vector<std::string>& names,
                             const std::vector<std::string>& directories, QComboBox*& name,
                             QComboBox*& directory);
    /// "List...": the group chooser; its choice becomes the keyword, taken as a group.
    QPushButton* chooseGroupButton(QComboBox* keyword, QRadioButton* group);
    void focusField(SearchField field);

    SearchDialogModel& m_model;
    QComboBox* m_keyword1;
    QComboBox* m_keyword2;
    QRadioButton* m_group1;
    QRadioButton* m_group2;
    QComboBox* m_filename;
    QComboBox* m_directory;
    QComboBox* m_resFile;
    QComboBox* m_resFileDir;
    QCheckBox* m_before;
    QCheckBox* m_sentence;
    std::array<QRadioButton*, 3> m_method{};
    std::array<QPushButton*, 6> m_sets{};
};

/// "D&D KWIC Search": the two keywords, each a word or a group, of the search over files dropped
/// on a view.
class DropSearchDialog : public QDialog {
    Q_OBJECT

public:
    DropSearchDialog(DropDialogModel& model, QWidget* parent = nullptr);

    QLineEdit* keyword1() const { return m_keyword1; }
    QLineEdit* keyword2() const { return m_keyword2; }

    /// OK: the fields into the model, which refuses an empty keyword 1 and keeps the dialog.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DropDialogModel& m_model;
    QLineEdit* m_keyword1;
    QLineEdit* m_keyword2;
    QRadioButton* m_group1;
    QRadioButton* m_group2;
};

}  // namespace vellmora
