#pragma once

#include <QDialog>
#include <array>
#include <string_view>

#include "engine/kwoc_option_dialog_model.h"
#include "engine/kwoc_search_dialog_model.h"
#include "engine/positioned_dialog_model.h"
#include "engine/result_accumulation.h"
#include "engine/search_dialog_model.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace vellmora {

/// The "File Set" dialog: defines corpus set number from the fields it opens with; true on OK
/// (the caller stores the set).
bool editFileSet(CFileSetDlg& set, QWidget* parent);

/// What the three search dialogs share: the keywords with Word/Group and "List...", the file
/// and response-file fields with their histories and "Move Dir", the six corpus-set buttons,
/// the Way of Search, "Edit Group", "Option" and "Search!". Each dialog adds its own section
/// and its own checks over a model that holds the shared request.
class SearchRequestDialog : public QDialog {
    Q_OBJECT

public:
    /// "Search!": the widgets into the model, then the dialog's checks; the dialog closes only
    /// when they pass (the model has shown its message and names the field to focus otherwise).
    void accept() override;

    QComboBox* keyword1() const { return m_keyword1; }
    QComboBox* keyword2() const { return m_keyword2; }
    QComboBox* filename() const { return m_filename; }
    QComboBox* directory() const { return m_directory; }

protected:
    SearchRequestDialog(SearchDialogModel& common, std::string_view title, QWidget* parent);

    /// Puts a section of the dialog's own above the Way of Search.
    void addSection(QWidget* section);
    /// A button beside "Edit Group" and "Option".
    QPushButton* addActionButton(const QString& text);
    QPushButton* optionButton() const { return m_option; }
    /// The request into the widgets; the dialog's own fields follow in fromModelExtras().
    void fromModel();

    /// The dialog's checks and stored keys, after its widgets went into the model.
    virtual bool confirm() = 0;
    virtual SearchField refusedField() const = 0;
    virtual void toModelExtras() {}
    virtual void fromModelExtras() {}

    void showEvent(QShowEvent* event) override;

private:
    void toModel();
    void fillKeywordChoices();
    /// A file name and a directory with "Move Dir", from their histories.
    QGroupBox* fileFieldsBox(const QString& title, const std::vector<std::string>& names,
                             const std::vector<std::string>& directories, QComboBox*& name,
                             QComboBox*& directory);
    /// "List...": the group chooser; its choice becomes the keyword, taken as a group.
    QPushButton* chooseGroupButton(QComboBox* keyword, QRadioButton* group);
    void focusField(SearchField field);

    SearchDialogModel& m_common;
    QVBoxLayout* m_layout;
    int m_sectionIndex = 0;
    QDialogButtonBox* m_buttons;
    QPushButton* m_option;
    QComboBox* m_keyword1;
    QComboBox* m_keyword2;
    QRadioButton* m_group1;
    QRadioButton* m_group2;
    QComboBox* m_filename;
    QComboBox* m_directory;
    QComboBox* m_resFile;
    QComboBox* m_resFileDir;
    std::array<QRadioButton*, 3> m_method{};
    std::array<QPushButton*, 6> m_sets{};
};

/// "Let's search in KWIC Format!(Range)" (CSearchDialog): the request with the range of
/// keyword 2 ("Before KW1", "Recognize Sentence Boundaries").
class CSearchDialog : public SearchRequestDialog {
    Q_OBJECT

public:
    CSearchDialog(SearchDialogModel& model, QWidget* parent = nullptr);

protected:
    bool confirm() override;
    SearchField refusedField() const override { return m_model.focus(); }
    void toModelExtras() override;
    void fromModelExtras() override;

private:
    SearchDialogModel& m_model;
    QCheckBox* m_before;
    QCheckBox* m_sentence;
};

/// "KWIC Search(POSITION)": the request with the word positions around keyword 1 in which
/// keyword 2 must (or, with NOT, must not) stand.
class CPositionedDialog : public SearchRequestDialog {
    Q_OBJECT

public:
    CPositionedDialog(PositionedDialogModel& model, QWidget* parent = nullptr);

    /// The box of word position n (-5 to 5, 0 the keyword's own word).
    QCheckBox* positionBox(int n) const {
        return m_positions[static_cast<std::size_t>(n - WordPositions::kFirst)];
    }
    QCheckBox* sentenceFinal() const { return m_sentenceFinal; }

protected:
    bool confirm() override;
    SearchField refusedField() const override { return m_model.focus(); }
    void toModelExtras() override;
    void fromModelExtras() override;

private:
    PositionedDialogModel& m_model;
    std::array<QCheckBox*, 11> m_positions{};
    QCheckBox* m_sentenceFinal;
};

/// "KWOC Option": the lines of context before and after each matched line and "Out put
/// Separator of files", each checked as it is edited and again on OK.
class CKwocOptionDialog : public QDialog {
    Q_OBJECT

public:
    CKwocOptionDialog(KwocOptionDialogModel& model, QWidget* parent = nullptr);

    QLineEdit* field(KwocContextField which) const {
        return which == KwocContextField::Before ? m_before : m_after;
    }
    QCheckBox* separatorOfFiles() const { return m_separator; }

    void accept() override;

private:
    void fromModel();

    KwocOptionDialogModel& m_model;
    QLineEdit* m_before;
    QLineEdit* m_after;
    QCheckBox* m_separator;
};

/// "Let's search in KWOC Format": the request with "Order sensitive search", and the
/// "KWIC Option" and "KWOC Option" buttons.
class CKwocSearchDialog : public SearchRequestDialog {
    Q_OBJECT

public:
    CKwocSearchDialog(KwocSearchDialogModel& model, QWidget* parent = nullptr);

    QCheckBox* orderSensitive() const { return m_order; }

protected:
    bool confirm() override;
    SearchField refusedField() const override { return m_model.focus(); }
    void toModelExtras() override;
    void fromModelExtras() override;

private:
    KwocSearchDialogModel& m_model;
    QCheckBox* m_order;
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
