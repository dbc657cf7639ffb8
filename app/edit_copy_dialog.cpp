#include "app/edit_copy_dialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

CEditCopyDialog::CEditCopyDialog(std::string_view text, Profile& profile, UserInterface& ui,
                                 QWidget* parent)
    : QDialog(parent), m_profile(profile), m_ui(ui) {
    setWindowTitle(displayText(kTitle));
    QString shown = displayText(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_text = new QPlainTextEdit(shown, this);
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_partial = new QPushButton(QStringLiteral("partial"), this);
    m_whole = new QPushButton(QStringLiteral("whole"), this);
    connect(m_partial, &QPushButton::clicked, this, &CEditCopyDialog::copyPartial);
    connect(m_whole, &QPushButton::clicked, this, &CEditCopyDialog::copyWhole);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_partial);
    buttons->addWidget(m_whole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(560, 360);
}

void CEditCopyDialog::copyPartial() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    if (!m_text->textCursor().hasSelection()) {
        m_ui.alert(kNotSelectedMessage);
        return;
    }
    m_text->copy();
    finish();
}

void CEditCopyDialog::copyWhole() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_text->selectAll();
    m_text->copy();
    finish();
}

void CEditCopyDialog::finish() {
    m_ui.alert(kCopiedMessage);
    accept();
}

}  // namespace vellmora
