#pragma once

#include <QDialog>

#include "results/colloq_strength_dialog_model.h"

class QComboBox;
class QSpinBox;

namespace vellmora {

/// "Collocation Strength": the measure the table is ordered by, the span of words around the
/// keyword and the minimum frequency. OK keeps the dialog open while the span holds no word.
class CColloqStrengthDialog : public QDialog {
    Q_OBJECT

public:
    CColloqStrengthDialog(ColloqStrengthDialogModel& model, QWidget* parent = nullptr);

    QComboBox* measure() const { return m_measure; }
    QComboBox* spanFrom() const { return m_from; }
    QComboBox* spanTo() const { return m_to; }
    QSpinBox* minFrequency() const { return m_minFrequency; }

    void accept() override;

private:
    ColloqStrengthDialogModel& m_model;
    QComboBox* m_measure;
    QComboBox* m_from;
    QComboBox* m_to;
    QSpinBox* m_minFrequency;
};

/// The dialog step of runColloqStrengthCommand.
bool showColloqStrengthDialog(ColloqStrengthDialogModel& model, QWidget* parent);

}  // namespace vellmora
