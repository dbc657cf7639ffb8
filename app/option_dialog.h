#pragma once

#include <QDialog>
#include <array>

#include "engine/option_dialog_model.h"

class QCheckBox;
class QLineEdit;

namespace vellmora {

/// "Serch Option" (COptionDialog): a box per option of section "Options" and the four
/// number fields, over the model that keeps them consistent, checks them and stores them.
class COptionDialog : public QDialog {
    Q_OBJECT

public:
    COptionDialog(OptionDialogModel& model, QWidget* parent = nullptr);

    QCheckBox* box(OptionCheck check) const { return m_boxes[static_cast<std::size_t>(check)]; }
    QLineEdit* field(OptionText text) const { return m_fields[static_cast<std::size_t>(text)]; }

    /// OK: the model's checks; the dialog stays open on a refusal, with the focus on the field.
    void accept() override;

private:
    /// The boxes as the model has them now (a tick may have cleared others of its group).
    void showModel();

    OptionDialogModel& m_model;
    std::array<QCheckBox*, kOptionCheckCount> m_boxes{};
    std::array<QLineEdit*, kOptionTextCount> m_fields{};
};

}  // namespace vellmora
