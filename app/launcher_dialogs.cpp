#include "app/launcher_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "document/launcher.h"
#include "platform/user_interface.h"

namespace vellmora {
namespace {

constexpr int kRowsPerColumn = 13;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

/// "Launcher Option" (CLauncherOptionDialog): whether the launcher stays open after a start.
class CLauncherOptionDialog : public QDialog {
public:
    CLauncherOptionDialog(LauncherDialogModel& model, QWidget* parent) : QDialog(parent) {
        setWindowTitle("Launcher Option");
        auto* layout = new QVBoxLayout(this);
        auto* noExit =
            new QCheckBox("Dialog should not be terminated when a program is executed.", this);
        noExit->setChecked(model.noExit());
        layout->addWidget(noExit);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this, &model, noExit] {
            model.setNoExit(noExit->isChecked());
            QDialog::accept();
        });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
};

}  // namespace

void startDetached(const ProgramLaunch& launch) {
    QString program = fromUtf8(launch.program);
    QStringList arguments;
    for (const std::string& argument : launch.arguments) arguments << fromUtf8(argument);
    // Idle priority is the nice value of the child; nice(1) sets it before the program runs.
    const QString nice = QStandardPaths::findExecutable("nice");
    if (launch.idlePriority && !nice.isEmpty()) {
        arguments.prepend(program);
        arguments.prepend("19");
        arguments.prepend("-n");
        program = nice;
    }
    QProcess::startDetached(program, arguments, fromUtf8(launch.workingDirectory));
}

QString chooseExecutableFile(QWidget* parent, const QString& start) {
    // With nothing to go by, the programs of this system are where a user looks first.
    QFileDialog dialog(parent, "Brows file", start.isEmpty() ? QString("/usr/bin") : start);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Programs (*)"});
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().front();
        const QFileInfo file(path);
        if (file.isFile() && file.isExecutable()) return path;
        // A document or a folder would start nothing: the user picks again.
        QApplication::beep();
    }
    return {};
}

CLauncherDialog::CLauncherDialog(LauncherDialogModel& model, Profile& profile,
                                 UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_model(model), m_profile(profile), m_ui(ui) {
    setWindowTitle("Launcher Menu");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int slot = 1; slot <= kLauncherSlots; ++slot) {
        const int row = (slot - 1) % kRowsPerColumn;
        const int column = (slot - 1) / kRowsPerColumn * 4;  // a gap between the halves
        auto* number = new QPushButton(QString("No.%1").arg(slot), this);
        number->setAutoDefault(false);
        auto* title = new QLineEdit(this);
        title->setReadOnly(true);
        title->setMinimumWidth(150);
        auto* registButton = new QPushButton("Regist", this);
        registButton->setAutoDefault(false);
        grid->addWidget(number, row, column);
        grid->addWidget(title, row, column + 1);
        grid->addWidget(registButton, row, column + 2);
        m_titles[std::size_t(slot - 1)] = title;
        connect(number, &QPushButton::clicked, this, [this, slot] { start(slot); });
        connect(registButton, &QPushButton::clicked, this, [this, slot] { regist(slot); });
    }
    grid->setColumnMinimumWidth(3, 12);
    auto* buttons = new QHBoxLayout;
    auto* option = new QPushButton("Option", this);
    option->setAutoDefault(false);
    auto* finished = new QPushButton("Finished!", this);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setAutoDefault(false);
    buttons->addWidget(option);
    buttons->addStretch();
    buttons->addWidget(finished);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(option, &QPushButton::clicked, this,
            [this] { CLauncherOptionDialog(m_model, this).exec(); });
    connect(finished, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showTitles();
}

void CLauncherDialog::start(int slot) {
    const std::optional<ProgramLaunch> launch = m_model.start(slot);
    if (!launch) {  // an empty slot is there to be filled
        regist(slot);
        return;
    }
    startDetached(*launch);
    if (m_model.closesAfterStart()) accept();
}

void CLauncherDialog::regist(int slot) {
    if (registProgram(m_profile, m_ui, slot, this)) {
        m_model.reloadTitles();
        showTitles();
    }
}

void CLauncherDialog::showTitles() {
    for (int slot = 1; slot <= kLauncherSlots; ++slot)
        m_titles[std::size_t(slot - 1)]->setText(fromUtf8(m_model.title(slot)));
}

bool registProgram(Profile& profile, UserInterface& ui, int slot, QWidget* parent) {
    ProgramEntryDialogModel model(profile, ui, slot,
                                  QCoreApplication::applicationFilePath().toStdString());
    model.open();
    return CProgramEntryDialog(model, parent).exec() == QDialog::Accepted;
}

CProgramEntryDialog::CProgramEntryDialog(ProgramEntryDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Regist an external program");
    auto* grid = new QGridLayout(this);
    m_title = new QLineEdit(this);
    m_file = new QLineEdit(this);
    m_directory = new QLineEdit(this);
    m_commandLine = new QLineEdit(this);
    m_lowPriority = new QCheckBox("Low Priority", this);
    auto* browse = new QPushButton("Brows", this);
    browse->setAutoDefault(false);
    grid->addWidget(new QLabel(QString("No.%1").arg(model.slot()), this), 0, 0);
    grid->addWidget(new QLabel("Title", this), 1, 0);
    grid->addWidget(m_title, 1, 1);
    grid->addWidget(new QLabel("Executable program", this), 2, 0);
    grid->addWidget(m_file, 2, 1);
    grid->addWidget(browse, 2, 2);
    grid->addWidget(new QLabel("directory where to be executed", this), 3, 0);
    grid->addWidget(m_directory, 3, 1);
    grid->addWidget(new QLabel("Command Line", this), 4, 0);
    grid->addWidget(m_commandLine, 4, 1);
    grid->addWidget(m_lowPriority, 5, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear = buttons->addButton("Clear", QDialogButtonBox::ResetRole);
    grid->addWidget(buttons, 6, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &CProgramEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        toModel();
        m_model.clear();
        fromModel();
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString start = m_file->text().isEmpty()
                                  ? m_directory->text()
                                  : QFileInfo(m_file->text()).absolutePath();
        const QString path = chooseExecutableFile(this, start);
        if (path.isEmpty()) return;
        toModel();
        m_model.chooseExecutable(path.toStdString());
        fromModel();
    });
    fromModel();
    resize(560, sizeHint().height());
}

void CProgramEntryDialog::toModel() {
    m_model.title = m_title->text().toStdString();
    m_model.file = m_file->text().toStdString();
    m_model.directory = m_directory->text().toStdString();
    m_model.commandLine = m_commandLine->text().toStdString();
    m_model.lowPriority = m_lowPriority->isChecked();
}

void CProgramEntryDialog::fromModel() {
    m_title->setText(fromUtf8(m_model.title));
    m_file->setText(fromUtf8(m_model.file));
    m_directory->setText(fromUtf8(m_model.directory));
    m_commandLine->setText(fromUtf8(m_model.commandLine));
    m_lowPriority->setChecked(m_model.lowPriority);
}

void CProgramEntryDialog::accept() {
    toModel();
    if (m_model.ok()) QDialog::accept();
}

}  // namespace vellmora
