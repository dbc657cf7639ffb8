// The external programs of the main window: the jump from a result line to the user's text
// editor, the program started after a copy, and the launcher.

#include "app/main_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/launcher_dialogs.h"
#include "app/qt_user_interface.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "document/editor_jump.h"
#include "document/launcher.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

void CMainFrame::jumpToEditor(ResultWindow& window, long index) {
    const CPyxoDoc& document = window.document();
    const std::optional<JumpTarget> target =
        jumpTarget(document.list(document.displayedKind()), index, document.displayedKind(),
                   document.snapshot().formatSelector);
    if (!target) return;
    if (const std::optional<ProgramLaunch> launch = editorLaunch(*target, m_profile))
        startDetached(*launch);
}

void CMainFrame::startClipboardEditor() {
    // "Executable2" with its own command line, where the copied text waits on the clipboard.
    ProgramLaunch launch;
    launch.program = readString(m_profile, settingKey("TextEditor", "Executable2"));
    launch.arguments = splitArguments(readString(m_profile, settingKey("TextEditor", "CmdLine2")));
    launch.workingDirectory = readString(m_profile, settingKey("TextEditor", "ExecDir"));
    launch.idlePriority = readInt(m_profile, settingKey("TextEditor", "Priority")) != 1;
    if (!launch.program.empty()) startDetached(launch);
}

CSetEditorDialog::CSetEditorDialog(SetEditorDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle("Set Text Editor");
    auto* grid = new QGridLayout(this);
    m_executable = new QLineEdit(QString::fromStdString(model.executable), this);
    m_commandLine = new QLineEdit(QString::fromStdString(model.commandLine), this);
    m_directory = new QLineEdit(QString::fromStdString(model.directory), this);
    auto* browse = new QPushButton("Brows", this);
    grid->addWidget(new QLabel("Executable file", this), 0, 0);
    grid->addWidget(m_executable, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(new QLabel("Command Line Parameter", this), 1, 0);
    grid->addWidget(m_commandLine, 1, 1);
    grid->addWidget(new QLabel("Directory where executed", this), 2, 0);
    grid->addWidget(m_directory, 2, 1);
    m_presets[0] = new QCheckBox("Maruo", this);
    m_presets[1] = new QCheckBox("Dana", this);
    grid->addWidget(m_presets[0], 3, 0);
    grid->addWidget(m_presets[1], 3, 1);
    // The editors of this system take their line in other ways than a jump switch.
    m_templates = new QComboBox(this);
    m_templates->addItem("Editors of this system...");
    for (const EditorTemplate& known : kEditorTemplates)
        m_templates->addItem(QString("%1: %2").arg(QString::fromUtf8(known.editor.data(),
                                                                     qsizetype(known.editor.size())),
                                                   QString::fromUtf8(known.commandLine.data(),
                                                                     qsizetype(known.commandLine.size()))));
    grid->addWidget(m_templates, 4, 0, 1, 2);
    grid->addWidget(new QLabel("You can use these MACROs below:\n%F : Filename\n%R : Line Number",
                               this),
                    5, 0, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 6, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = chooseExecutableFile(this, m_directory->text());
        if (path.isEmpty()) return;
        toModel();
        m_model.chooseExecutable(path.toStdString());
        fromModel();
    });
    for (int box = 1; box <= 2; ++box) {
        connect(m_presets[box - 1], &QCheckBox::clicked, this, [this, box](bool on) {
            toModel();
            m_model.setPreset(box, on);
            fromModel();
        });
    }
    connect(m_templates, &QComboBox::activated, this, [this](int index) {
        if (index <= 0) return;
        m_commandLine->setText(QString::fromUtf8(
            kEditorTemplates[index - 1].commandLine.data(),
            qsizetype(kEditorTemplates[index - 1].commandLine.size())));
    });
    fromModel();
    resize(560, sizeHint().height());
}

void CSetEditorDialog::toModel() {
    m_model.executable = m_executable->text().toStdString();
    m_model.commandLine = m_commandLine->text().toStdString();
    m_model.directory = m_directory->text().toStdString();
}

void CSetEditorDialog::fromModel() {
    m_executable->setText(QString::fromStdString(m_model.executable));
    m_commandLine->setText(QString::fromStdString(m_model.commandLine));
    m_directory->setText(QString::fromStdString(m_model.directory));
    for (int box = 1; box <= 2; ++box) m_presets[box - 1]->setChecked(m_model.preset() == box);
}

void CSetEditorDialog::accept() {
    toModel();
    if (m_model.ok()) QDialog::accept();
}

void CMainFrame::setTextEditor() {
    SetEditorDialogModel model(m_profile, m_ui);
    model.open();
    CSetEditorDialog(model, this).exec();
}


void CMainFrame::launcherMenu() {
    LauncherDialogModel model(m_profile, m_ui);
    model.open();
    CLauncherDialog(model, m_profile, m_ui, this).exec();
    refreshSlotTips();
}

void CMainFrame::quickStart(int slot) {
    if (const std::optional<ProgramLaunch> launch = launchOfSlot(m_profile, m_ui, slot)) {
        startDetached(*launch);
    } else if (registProgram(m_profile, m_ui, slot, this)) {
        refreshSlotTips();
    }
}

void CMainFrame::refreshSlotTips() {
    // The bare numbers of the toolbar say which program they start.
    for (int slot = 1; slot <= kQuickStartSlots; ++slot) {
        const std::string title = readLauncherEntry(m_profile, slot).title;
        QAction* command = action(slotCommand(slot));
        command->setToolTip(title.empty() ? QString("No. %1").arg(slot)
                                          : QString("No. %1: %2").arg(slot).arg(
                                                QString::fromStdString(title)));
    }
}

}  // namespace vellmora
