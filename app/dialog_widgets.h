#pragma once

#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QWidget;

namespace vellmora {

/// Paths are the file system's bytes: UTF-8 here.
std::string pathBytes(const QString& text);

/// An editable combo box offering history below it as the user types.
QComboBox* editableCombo(QWidget* parent, const std::vector<std::string>& history);

/// A button that lets the user pick a directory for the box, with a final "/".
QPushButton* moveDirButton(QWidget* parent, QComboBox* directory,
                           const QString& text = QStringLiteral("Move Dir"));

}  // namespace vellmora
