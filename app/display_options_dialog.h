#pragma once

#include <QDialog>

#include "settings/display_options_model.h"

class QLineEdit;

namespace vellmora {

class Profile;
class UserInterface;

/// The dialog "Display Options": the unit of the tab stops. OK keeps the dialog open, with
/// the field focused, until the value is in range.
class CDispOptionDialog : public QDialog {
    Q_OBJECT

public:
    CDispOptionDialog(Profile& profile, UserInterface& ui, QWidget* parent = nullptr);

    /// The unit confirmed with OK (0 before that).
    int tabUnit() const { return m_tabUnit; }
    QLineEdit* tabStopField() const { return m_field; }

public slots:
    void accept() override;

private:
    DisplayOptionsModel m_model;
    UserInterface& m_ui;
    QLineEdit* m_field;
    int m_tabUnit = 0;
};

}  // namespace vellmora
