#pragma once

// The dialogs of the result commands and tools, each over its model in results/. Each show
// function opens its dialog modally and returns what the command's dialog step needs: true
// (or a request) when the user confirmed and the checks that keep the dialog open passed.

#include <QDialog>
#include <array>
#include <optional>
#include <string_view>

#include "results/avelen_dialog_model.h"
#include "results/colloq_dialog_model.h"
#include "results/column_sort_dialog_model.h"
#include "results/convert_dialog_model.h"
#include "results/extract_dialog_model.h"
#include "results/file_list_dialog_model.h"
#include "results/sort_dialog_model.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace vellmora {

class Histories;
class Profile;
class UserInterface;

/// "Extraction(Range)": the request of the confirmed dialog (its keys stored), none on Cancel.
std::optional<RangeExtractionRequest> askRangeExtraction(Profile& profile, UserInterface& ui,
                                                         const Histories& histories,
                                                         QWidget* parent);
/// "Extraction(Position)": the same for the positional extraction.
std::optional<PositionExtractionRequest> askPositionExtraction(Profile& profile,
                                                               UserInterface& ui,
                                                               const Histories& histories,
                                                               QWidget* parent);

/// The dialog steps of runSortCommand, runColumnSortCommand, runColloqCommand,
/// runExColloqCommand / runExColloqOptions, runConvertCommand and runFileListCommand.
bool showSortDialog(SortDialogModel& model, QWidget* parent);
bool showColumnSortDialog(ColumnSortDialogModel& model, QWidget* parent);
bool showColloqDialog(ColloqDialogModel& model, QWidget* parent);
bool showExColloqDialog(ExColloqDialogModel& model, QWidget* parent);
bool showSpreadsheetDialog(SpreadsheetDialogModel& model, QWidget* parent);
bool showFileListDialog(FileListDialogModel& model, QWidget* parent);

/// "&Average Word Length": the tool dialog over its opened model; "Calculate" fills its text
/// while the window stays responsive, "&Copy" copies it.
void showAverageWordLengthDialog(AverageWordLengthDialogModel& model, Profile& profile,
                                 UserInterface& ui, QWidget* parent);

/// The choices both extraction dialogs show over ExtractionFields, in dialog order.
enum class ExtractionControl {
    Both,               ///< "@Both@"
    Head,               ///< "@Head"
    Tail,               ///< "Tail@"
    Default,            ///< "Default"
    ExcludeHyphen,      ///< "Exclude Hyphen"
    ExcludeApostrophe,  ///< "Exclude Apostrophy"
    BeforeKeyword,      ///< "Before KW1": the range dialog only
    SentenceFinal,      ///< "Recognize Sentence Final"
    OutputAll,          ///< "Output all"
    MatchedFilesOnly,   ///< "Matched Files only"
    IgnoreCase,         ///< "Ignore Case"
    AndSearch,          ///< "AND Search"
    NotSearch,          ///< "NOT Search"
    RegularExpression,  ///< "Regular Expression"
    Word,               ///< "Word": the combo box holds a keyword
    Group,              ///< "Group": it names a word group
};
inline constexpr int kExtractionControlCount = 16;

/// What the two extraction dialogs share: the keyword with "Word"/"Group" and its history or
/// group names, the word rules, the separator choice, the case rule and AND/NOT. OK puts the
/// widgets into the fields and closes only when the model's checks pass.
class ExtractionDialog : public QDialog {
    Q_OBJECT

public:
    QComboBox* keyword() const { return m_keyword; }
    /// The widget of a choice; null for one the dialog does not have.
    QAbstractButton* control(ExtractionControl which) const {
        return m_controls[static_cast<std::size_t>(which)];
    }

    void accept() override;

protected:
    ExtractionDialog(ExtractionFields& fields, std::string_view title, bool rangeDialog,
                     QWidget* parent);

    /// Puts a section of the dialog's own above the OK and Cancel buttons.
    void addSection(QWidget* section);
    void fromModel();

    virtual const std::vector<std::string>& choices() const = 0;
    /// The model's OK: its checks, and the keys it keeps when they pass.
    virtual bool confirm() = 0;
    /// Where the focus goes after confirm() refused.
    virtual QWidget* refusedField() const;
    virtual void toModelExtras() {}
    virtual void fromModelExtras() {}

    void showEvent(QShowEvent* event) override;

private:
    void toModel();
    void fillChoices();

    ExtractionFields& m_fields;
    QVBoxLayout* m_layout;
    int m_sectionIndex = 0;
    QComboBox* m_keyword;
    std::array<QAbstractButton*, kExtractionControlCount> m_controls{};
};

/// "Re-Extraction(Range)" (CReExtractionDlg).
class CReExtractionDlg : public ExtractionDialog {
    Q_OBJECT

public:
    CReExtractionDlg(RangeExtractionDialogModel& model, QWidget* parent = nullptr);

protected:
    const std::vector<std::string>& choices() const override { return m_model.choices(); }
    bool confirm() override { return m_model.ok(); }

private:
    RangeExtractionDialogModel& m_model;
};

/// "Re-Extraction(Position)": the word positions around the line's keyword besides the
/// shared choices.
class CReExtractionPosDlg : public ExtractionDialog {
    Q_OBJECT

public:
    CReExtractionPosDlg(PositionExtractionDialogModel& model, QWidget* parent = nullptr);

    /// The box of word position n (-5 to 5, 0 the keyword's own word).
    QCheckBox* positionBox(int n) const {
        return m_positions[static_cast<std::size_t>(n - WordPositions::kFirst)];
    }

protected:
    const std::vector<std::string>& choices() const override { return m_model.choices(); }
    bool confirm() override { return m_model.ok(); }
    QWidget* refusedField() const override;
    void toModelExtras() override;
    void fromModelExtras() override;

private:
    PositionExtractionDialogModel& m_model;
    std::array<QCheckBox*, 11> m_positions{};
};

/// "Sort KWIC Concordance" (CSortDialog): three key groups, the sentence and comparison
/// choices and "Max Lines to be sorted", each change going to the model at once. The command
/// stores the model after OK.
class CSortDialog : public QDialog {
    Q_OBJECT

public:
    CSortDialog(SortDialogModel& model, QWidget* parent = nullptr);

    QComboBox* keyBox(int box) const { return m_keys[index(box)]; }
    QRadioButton* ascending(int box) const { return m_ascending[index(box)]; }
    QRadioButton* descending(int box) const { return m_descending[index(box)]; }
    QCheckBox* byTail(int box) const { return m_byTail[index(box)]; }
    QCheckBox* sentenceEnd() const { return m_sentenceEnd; }
    QCheckBox* useStrcoll() const { return m_strcoll; }
    QLineEdit* maxLines() const { return m_maxLines; }
    QToolButton* stepButton(bool up) const { return up ? m_up : m_down; }

    /// OK: a line count still being edited is checked first; a corrected one keeps the dialog.
    void accept() override;

private:
    static std::size_t index(int box) { return static_cast<std::size_t>(box); }
    /// The enabled key groups and the line count as the model has them now.
    void showModel();

    SortDialogModel& m_model;
    std::array<QWidget*, kSortKeyBoxes> m_groups{};
    std::array<QComboBox*, kSortKeyBoxes> m_keys{};
    std::array<QRadioButton*, kSortKeyBoxes> m_ascending{};
    std::array<QRadioButton*, kSortKeyBoxes> m_descending{};
    std::array<QCheckBox*, kSortKeyBoxes> m_byTail{};
    QCheckBox* m_sentenceEnd;
    QCheckBox* m_strcoll;
    QLineEdit* m_maxLines;
    QToolButton* m_up;
    QToolButton* m_down;
};

/// "Sort by Column" (CKetaSortDlg): the column with its limits, the direction and "Max Lines
/// to be sorted". The command stores the model after OK.
class CKetaSortDlg : public QDialog {
    Q_OBJECT

public:
    CKetaSortDlg(ColumnSortDialogModel& model, QWidget* parent = nullptr);

    QLineEdit* column() const { return m_column; }
    QCheckBox* alphabetical() const { return m_alphabetical; }
    QCheckBox* reverse() const { return m_reverse; }
    QLineEdit* maxLines() const { return m_maxLines; }
    QToolButton* stepButton(bool up) const { return up ? m_up : m_down; }

    /// OK: fields still being edited are checked first; a corrected one keeps the dialog.
    void accept() override;

private:
    void showDirection();

    ColumnSortDialogModel& m_model;
    QLineEdit* m_column;
    QCheckBox* m_alphabetical;
    QCheckBox* m_reverse;
    QLineEdit* m_maxLines;
    QToolButton* m_up;
    QToolButton* m_down;
};

/// "Collocation Statistics": the eleven position boxes acting as one choice and the five
/// options. The command stores the model after OK.
class CColloqDialog : public QDialog {
    Q_OBJECT

public:
    CColloqDialog(ColloqDialogModel& model, QWidget* parent = nullptr);

    /// The box of position n (-5 to 5, 0 "kw1 itself").
    QCheckBox* positionBox(int n) const {
        return m_positions[static_cast<std::size_t>(n - kFirstColloqPosition)];
    }
    QCheckBox* sentenceFinal() const { return m_sentenceFinal; }
    QCheckBox* frequencyOrder() const { return m_frequencyOrder; }
    QCheckBox* european() const { return m_european; }
    QCheckBox* percent() const { return m_percent; }
    QCheckBox* tail() const { return m_tail; }

private:
    void showPositions();

    ColloqDialogModel& m_model;
    std::array<QCheckBox*, kColloqPositions> m_positions{};
    QCheckBox* m_sentenceFinal;
    QCheckBox* m_frequencyOrder;
    QCheckBox* m_european;
    QCheckBox* m_percent;
    QCheckBox* m_tail;
};

/// "Extended Collocation": the cell format and "Disable this dialog". The command stores the
/// model after OK.
class CExColloqDialog : public QDialog {
    Q_OBJECT

public:
    CExColloqDialog(ExColloqDialogModel& model, QWidget* parent = nullptr);

    QListWidget* formats() const { return m_formats; }
    QCheckBox* disableDialog() const { return m_disable; }

private:
    ExColloqDialogModel& m_model;
    QListWidget* m_formats;
    QCheckBox* m_disable;
};

/// "Conversion to TSV.CSV" (CSpreadSheetDialog): the seven layouts, each with its example,
/// and "Output Filename and Line Number". The command stores the model after OK.
class CSpreadSheetDialog : public QDialog {
    Q_OBJECT

public:
    CSpreadSheetDialog(SpreadsheetDialogModel& model, QWidget* parent = nullptr);

    QRadioButton* layoutButton(SpreadsheetLayout layout) const {
        return m_layouts[static_cast<std::size_t>(layout)];
    }
    QCheckBox* tagInfo() const { return m_tagInfo; }

private:
    SpreadsheetDialogModel& m_model;
    std::array<QRadioButton*, kSpreadsheetLayouts> m_layouts{};
    QCheckBox* m_tagInfo;
};

/// "Average Word Length" (CAveLenDlg): the file pattern and directory, the result text that
/// "Calculate" fills as it goes, "&Copy" and "Exit".
class CAveLenDlg : public QDialog {
    Q_OBJECT

public:
    CAveLenDlg(AverageWordLengthDialogModel& model, Profile& profile, UserInterface& ui,
               QWidget* parent = nullptr);

    QComboBox* fileName() const { return m_fileName; }
    QComboBox* directory() const { return m_directory; }
    QPlainTextEdit* resultField() const { return m_result; }
    QPushButton* calculateButton() const { return m_calculate; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* moveDir() const { return m_moveDir; }

    /// Closing while "Calculate" runs stops the run first; the dialog closes when it has.
    void reject() override;

private:
    void calculate();
    void copy();
    /// Appends the lines the model added since the last call.
    void showNewLines();
    void clearShownLines();
    void setButtonsEnabled(bool enabled);

    AverageWordLengthDialogModel& m_model;
    Profile& m_profile;
    UserInterface& m_ui;
    QComboBox* m_fileName;
    QComboBox* m_directory;
    QPushButton* m_moveDir;
    QPlainTextEdit* m_result;
    QPushButton* m_calculate;
    QPushButton* m_copy;
    QPushButton* m_exit;
    CExStringList::Position m_lastShown = nullptr;
    int m_shownLines = 0;
    bool m_closeWhenStopped = false;
};

/// "Making of File List" (CFileListDlg): the reference directory with "Move Dir", the
/// output file with "&Brows" and "Exclude binary files".
class CFileListDlg : public QDialog {
    Q_OBJECT

public:
    CFileListDlg(FileListDialogModel& model, QWidget* parent = nullptr);

    QLineEdit* referenceDirectory() const { return m_reference; }
    QLineEdit* outputFile() const { return m_output; }
    QCheckBox* excludeBinary() const { return m_exclude; }

    /// OK: the fields into the model, whose checks keep the dialog open on the field named.
    void accept() override;

private:
    void toModel();
    void browse();
    void moveDir();

    FileListDialogModel& m_model;
    QLineEdit* m_reference;
    QLineEdit* m_output;
    QCheckBox* m_exclude;
};

}  // namespace vellmora
