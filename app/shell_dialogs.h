#pragma once

// The main window's small dialogs, each over its model, built apart from the window so that
// tests can show and photograph them.

#include <QDialog>
#include <vector>

class QCheckBox;
class QTextBrowser;

namespace vellmora {

class CPyxoDoc;
class NoSupportOptionsModel;

/// "Information": the line counts of the five result kinds, the empty ones greyed out.
class ResultCountsDialog : public QDialog {
    Q_OBJECT
public:
    ResultCountsDialog(const CPyxoDoc& document, QWidget* parent = nullptr);
};

/// The About box: the program, the text library's language and version, the expression
/// engine's version when it loads.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

/// "Contents": the manual, in a window of its own beside the main window.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    /// The manual's text as shown (for tests).
    QString plainText() const;

private:
    QTextBrowser* m_text;
};

/// "Beyond the support..." (CNoSupportOptDialog): its five boxes; OK puts them back into the
/// model, which the caller then stores.
class NoSupportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    NoSupportOptionsDialog(NoSupportOptionsModel& model, QWidget* parent = nullptr);
    void accept() override;

private:
    NoSupportOptionsModel& m_model;
    std::vector<QCheckBox*> m_boxes;
};

}  // namespace vellmora
