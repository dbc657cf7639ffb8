#include "app/dialog_widgets.h"

#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QPushButton>

#include "app/qt_user_interface.h"

namespace vellmora {

std::string pathBytes(const QString& text) { return text.toStdString(); }

QComboBox* editableCombo(QWidget* parent, const std::vector<std::string>& history) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(24);
    for (const std::string& entry : history) box->addItem(displayText(entry));
    // The history is offered below the box and never typed into it: completing inline
    // rewrote what was being typed (and its case, which paths and keywords here keep).
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QPushButton* moveDirButton(QWidget* parent, QComboBox* directory, const QString& text) {
    auto* button = new QPushButton(text, parent);
    QObject::connect(button, &QPushButton::clicked, parent, [parent, directory] {
        const QString chosen =
            QFileDialog::getExistingDirectory(parent, QString(), directory->currentText());
        if (!chosen.isEmpty()) directory->setCurrentText(chosen + "/");
    });
    return button;
}

}  // namespace vellmora
