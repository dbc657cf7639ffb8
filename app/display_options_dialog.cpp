#include "app/display_options_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"

namespace vellmora {

CDispOptionDialog::CDispOptionDialog(Profile& profile, UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_model(profile), m_ui(ui) {
    setWindowTitle(displayText(DisplayOptionsModel::kTitle));
    m_field = new QLineEdit(displayText(m_model.tabStopText()), this);
    auto* form = new QFormLayout;
    form->addRow(displayText(DisplayOptionsModel::kTabStopLabel), m_field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDispOptionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDispOptionDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CDispOptionDialog::accept() {
    m_model.setTabStopText(m_field->text().toStdString());
    const std::optional<int> unit = m_model.accept(m_ui);
    if (!unit) {
        m_field->setFocus();
        m_field->selectAll();
        return;
    }
    m_tabUnit = *unit;
    QDialog::accept();
}

}  // namespace vellmora
