// The print commands of the main window: Print, Preview, Printer Setting and Print Options,
// over the list the active window shows, in its font.

#include "app/main_frame.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QCheckBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/qt_user_interface.h"
#include "app/result_printer.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "document/print_layout.h"

namespace vellmora {

CPrintOptionDialog::CPrintOptionDialog(PrintOptionDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Print Option");
    auto* form = new QFormLayout(this);
    const std::pair<PrintOptionField, const char*> rows[] = {
        {PrintOptionField::Offset, "Offset (chars rightward)"},
        {PrintOptionField::Columns, "Columns per Line"},
        {PrintOptionField::Lines, "Lines per Page"},
        {PrintOptionField::MaxPage, "Max Page Number"}};
    for (const auto& [which, label] : rows) {
        auto* edit = new QLineEdit(displayText(model.text(which)), this);
        m_fields[static_cast<int>(which)] = edit;
        form->addRow(label, edit);
        // Checked as the user leaves the field; a refused value comes back reset.
        connect(edit, &QLineEdit::editingFinished, this, [this, which = which, edit] {
            if (!edit->isModified()) return;
            edit->setModified(false);
            m_model.leaveField(which, keywordBytes(edit->text()));
            edit->setText(displayText(m_model.text(which)));
        });
    }
    m_pageNumber = new QCheckBox("Output page number", this);
    m_pageNumber->setChecked(model.pageNumber());
    form->addRow(m_pageNumber);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CPrintOptionDialog::accept() {
    // The counts still being edited get their checks; the offset is OK's own check, which
    // keeps the dialog open on a bad value instead of resetting it.
    for (int i = 0; i < 4; ++i) {
        QLineEdit* edit = m_fields[i];
        const auto which = static_cast<PrintOptionField>(i);
        const std::string typed = keywordBytes(edit->text());
        if (typed == m_model.text(which)) continue;
        edit->setModified(false);
        if (which == PrintOptionField::Offset) {
            m_model.setText(which, typed);
            continue;
        }
        m_model.leaveField(which, typed);
        edit->setText(displayText(m_model.text(which)));
    }
    m_model.setPageNumber(m_pageNumber->isChecked());
    if (!m_model.ok()) {
        field(PrintOptionField::Offset)->setFocus();
        return;
    }
    QDialog::accept();
}

QPrinter& CMainFrame::printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool CMainFrame::printWindow(ResultWindow& window, QPrinter& target) {
    CPyxoDoc& document = window.document();
    const ResultPrinter printer(document.list(document.displayedKind()), window.view().viewFont(),
                                PrintSettings::read(m_profile));
    if (printer.print(target)) return true;
    m_ui.alert("Could not start print job.");
    return false;
}

void CMainFrame::printResult() {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    QPrinter& target = printer();
    target.setFromTo(0, 0);
    QPrintDialog dialog(&target, this);
    dialog.setMinMax(1, std::max(1, PrintSettings::read(m_profile).maxPage));
    if (dialog.exec() == QDialog::Accepted) printWindow(*window, target);
}

void CMainFrame::previewResult() {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    QPrintPreviewDialog preview(&printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, window](QPrinter* target) { printWindow(*window, *target); });
    preview.exec();
}

void CMainFrame::printerSetting() { QPageSetupDialog(&printer(), this).exec(); }

void CMainFrame::printOptions() {
    PrintOptionDialogModel model(m_profile, m_ui);
    model.open();
    CPrintOptionDialog(model, this).exec();
}

}  // namespace vellmora
