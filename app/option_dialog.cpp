#include "app/option_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"

namespace vellmora {
namespace {

using O = OptionCheck;

/// The dialog's groups and the boxes in each, in the order they show.
struct Group {
    const char* title;
    std::initializer_list<OptionCheck> checks;
};

const Group kGroups[] = {
    {"Word Search(KW1)", {O::KW1Both, O::KW1Mae, O::KW1Ato, O::KW1Alnum, O::KW1Hyph, O::KW1Apo}},
    {"Word Search(KW2)", {O::KW2Both, O::KW2Mae, O::KW2Ato, O::KW2Alnum, O::KW2Hyph, O::KW2Apo}},
    {"Output", {O::IgnoreCase, O::LineNumber, O::Crlf, O::NoCrlf, O::Count, O::CountMatched,
                O::Beep, O::NoDialog, O::Grep, O::OneLine}},
    {"As separators", {O::Separator, O::SepMatched, O::NoSeparator, O::TagAsIs, O::TagFName,
                       O::TagForm}},
    {"Lines", {O::DelSpace1, O::DelSpace3, O::CtrlCode, O::JisToSjis, O::EucToSjis,
               O::Utf8ToSjis, O::AutoCode, O::DeHtml}},
    {"Files", {O::Subdir, O::Exclude, O::OffsetLeft, O::OffsetRight}},
};

}  // namespace

COptionDialog::COptionDialog(OptionDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kOptionDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int cell = 0;
    for (const Group& group : kGroups) {
        auto* box = new QGroupBox(group.title, this);
        auto* boxLayout = new QVBoxLayout(box);
        for (OptionCheck check : group.checks) {
            auto* tick = new QCheckBox(displayText(controlText(check)), box);
            m_boxes[static_cast<std::size_t>(check)] = tick;
            if (check == O::AutoCode)
                tick->setToolTip(tr("Each file is read as UTF-8, EUC-JP, ISO-2022-JP or "
                                    "Shift-JIS, as its first bytes show; the status bar and "
                                    "the file separator lines tell which."));
            boxLayout->addWidget(tick);
            connect(tick, &QCheckBox::toggled, this, [this, check](bool on) {
                m_model.setCheck(check, on);
                showModel();
            });
        }
        boxLayout->addStretch();
        grid->addWidget(box, cell / 3, cell % 3);
        ++cell;
    }
    layout->addLayout(grid);

    // Two fields to a row, numbers being short, so that the dialog fits a small screen.
    auto* numbers = new QGridLayout;
    for (int i = 0; i < kOptionTextCount; ++i) {
        const auto text = static_cast<OptionText>(i);
        auto* edit = new QLineEdit(this);
        m_fields[static_cast<std::size_t>(i)] = edit;
        numbers->addWidget(new QLabel(displayText(controlText(text)), this), i / 2, (i % 2) * 2);
        numbers->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        connect(edit, &QLineEdit::editingFinished, this, [this, text, edit] {
            if (edit->text().toStdString() == m_model.text(text)) return;
            m_model.editText(text, edit->text().toStdString());
            // "Max Result Lines" comes back at its default after a refusal.
            const QSignalBlocker blocker(edit);
            edit->setText(QString::fromStdString(m_model.text(text)));
        });
    }
    layout->addLayout(numbers);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (int i = 0; i < kOptionTextCount; ++i)
        m_fields[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(m_model.text(static_cast<OptionText>(i))));
    showModel();
}

void COptionDialog::showModel() {
    for (int i = 0; i < kOptionCheckCount; ++i) {
        const auto check = static_cast<OptionCheck>(i);
        QCheckBox* tick = m_boxes[static_cast<std::size_t>(i)];
        if (tick == nullptr) continue;
        const QSignalBlocker blocker(tick);
        tick->setChecked(m_model.check(check));
        tick->setEnabled(m_model.isEnabled(check));
    }
}

void COptionDialog::accept() {
    for (int i = 0; i < kOptionTextCount; ++i) {
        const auto text = static_cast<OptionText>(i);
        const std::string typed = m_fields[static_cast<std::size_t>(i)]->text().toStdString();
        if (typed != m_model.text(text)) m_model.editText(text, typed);
    }
    if (!m_model.ok()) {
        if (std::optional<OptionText> focus = m_model.focus())
            m_fields[static_cast<std::size_t>(*focus)]->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace vellmora
