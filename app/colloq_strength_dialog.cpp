#include "app/colloq_strength_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"
#include "results/colloq_count.h"

namespace vellmora {
namespace {

/// A list of the ten span ends, L5 ... R5, showing position.
QComboBox* spanEndBox(QWidget* parent, int position) {
    auto* box = new QComboBox(parent);
    for (int end : kTableColumnPositions) {
        box->addItem(displayText(colloqSpanPositionLabel(end)), end);
        if (end == position) box->setCurrentIndex(box->count() - 1);
    }
    return box;
}

}  // namespace

CColloqStrengthDialog::CColloqStrengthDialog(ColloqStrengthDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(displayText(kColloqStrengthDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_measure = new QComboBox(this);
    for (int index = 0; !ColloqStrengthDialogModel::measureLabel(index).empty(); ++index)
        m_measure->addItem(displayText(ColloqStrengthDialogModel::measureLabel(index)));
    m_measure->setCurrentIndex(model.measureIndex());
    connect(m_measure, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.setMeasureIndex(index); });
    form->addRow(displayText(kColloqStrengthMeasureLabel), m_measure);
    layout->addLayout(form);

    auto* span = new QGroupBox(displayText(kColloqStrengthSpanGroup), this);
    auto* spanRow = new QHBoxLayout(span);
    m_from = spanEndBox(span, model.spanFrom());
    m_to = spanEndBox(span, model.spanTo());
    spanRow->addWidget(new QLabel(displayText(kColloqStrengthFromLabel), span));
    spanRow->addWidget(m_from);
    spanRow->addWidget(new QLabel(displayText(kColloqStrengthToLabel), span));
    spanRow->addWidget(m_to);
    spanRow->addStretch();
    connect(m_from, &QComboBox::currentIndexChanged, this,
            [this] { m_model.setSpanFrom(m_from->currentData().toInt()); });
    connect(m_to, &QComboBox::currentIndexChanged, this,
            [this] { m_model.setSpanTo(m_to->currentData().toInt()); });
    layout->addWidget(span);

    auto* frequency = new QFormLayout;
    m_minFrequency = new QSpinBox(this);
    m_minFrequency->setRange(0, kMaxColloqMinFrequency);
    m_minFrequency->setValue(model.minFrequency());
    connect(m_minFrequency, &QSpinBox::valueChanged, this,
            [this](int value) { m_model.setMinFrequency(value); });
    frequency->addRow(displayText(kColloqStrengthMinFreqLabel), m_minFrequency);
    layout->addLayout(frequency);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // The fields alone make a box narrower than its title, which the window manager then cuts.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 2 + 120);
}

void CColloqStrengthDialog::accept() {
    const std::string_view refusal = m_model.refusal();
    if (!refusal.empty()) {
        QMessageBox::warning(this, windowTitle(), displayText(refusal));
        m_from->setFocus();
        return;
    }
    QDialog::accept();
}

bool showColloqStrengthDialog(ColloqStrengthDialogModel& model, QWidget* parent) {
    return CColloqStrengthDialog(model, parent).exec() == QDialog::Accepted;
}

}  // namespace vellmora
