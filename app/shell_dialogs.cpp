#include "app/shell_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"
#include "app/startup.h"
#include "document/result_navigation.h"

// The manual is compiled into the app library; a static library's resources are registered
// by hand, from the global namespace.
static void registerManual() { Q_INIT_RESOURCE(help); }

namespace vellmora {
namespace {

QDialogButtonBox* addButtons(QDialog& dialog, QDialogButtonBox::StandardButtons buttons) {
    auto* box = new QDialogButtonBox(buttons, &dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.layout()->addWidget(box);
    return box;
}

/// The model's five booleans in the order the boxes show them.
std::vector<bool*> boxValues(NoSupportOptionsModel& model) {
    return {&model.secondToolbar, &model.hateToolbar, &model.hateStatusbar,
            &model.saveWindowSize, &model.ntMode};
}

}  // namespace

ResultCountsDialog::ResultCountsDialog(const CPyxoDoc& document, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(displayText(kResultCountsTitle));
    auto* layout = new QVBoxLayout(this);
    for (const ResultCountLine& line : resultCountLines(document)) {
        auto* label = new QLabel(displayText(line.text), this);
        label->setEnabled(!line.greyed);
        layout->addWidget(label);
    }
    addButtons(*this, QDialogButtonBox::Ok);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Vellmora");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("<b>Vellmora</b>", this));
    for (const std::string& line : aboutLines()) layout->addWidget(new QLabel(displayText(line), this));
    addButtons(*this, QDialogButtonBox::Ok);
}

NoSupportOptionsDialog::NoSupportOptionsDialog(NoSupportOptionsModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Beyond the support...");
    auto* layout = new QVBoxLayout(this);
    const char* texts[] = {"Display 2nd Toolbar", "I hate Toolbar", "I hate Statusbar",
                           "Save the Size of the Window of this application",
                           "Windows NT mode(32 bit GDI)"};
    const std::vector<bool*> values = boxValues(model);
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto* box = new QCheckBox(texts[i], this);
        box->setChecked(*values[i]);
        layout->addWidget(box);
        m_boxes.push_back(box);
    }
    layout->addWidget(new QLabel("Valid from next time", this));
    addButtons(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

void NoSupportOptionsDialog::accept() {
    const std::vector<bool*> values = boxValues(m_model);
    for (std::size_t i = 0; i < values.size(); ++i) *values[i] = m_boxes[i]->isChecked();
    QDialog::accept();
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Vellmora Help");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_text = new QTextBrowser(this);
    m_text->setOpenExternalLinks(true);
    // The manual is built into the program: help works wherever the program was copied to.
    registerManual();
    QFile manual(":/help/manual.md");
    if (manual.open(QIODevice::ReadOnly)) m_text->setMarkdown(QString::fromUtf8(manual.readAll()));
    layout->addWidget(m_text);
    addButtons(*this, QDialogButtonBox::Close);
    resize(640, 600);
}

QString HelpWindow::plainText() const { return m_text->toPlainText(); }

}  // namespace vellmora
