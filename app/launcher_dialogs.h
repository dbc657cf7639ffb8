#pragma once

// The launcher's three dialogs over their models, and how this program starts another one.

#include <QDialog>
#include <array>

#include "document/editor_jump.h"

class QCheckBox;
class QLineEdit;

namespace vellmora {

class LauncherDialogModel;
class Profile;
class ProgramEntryDialogModel;
class UserInterface;

/// Starts launch as a process of its own, which this program does not wait for. A start that
/// fails is not reported: the user sees no program and tries again.
void startDetached(const ProgramLaunch& launch);

/// The file dialog behind every "Brows": one executable file, or empty when the user gives up.
QString chooseExecutableFile(QWidget* parent, const QString& start);

/// "Launcher Menu" (CLauncherDialog): the 26 slots, each with its numbered button, its title
/// and "Regist".
class CLauncherDialog : public QDialog {
public:
    CLauncherDialog(LauncherDialogModel& model, Profile& profile, UserInterface& ui,
                    QWidget* parent = nullptr);

private:
    void start(int slot);
    void regist(int slot);
    void showTitles();

    LauncherDialogModel& m_model;
    Profile& m_profile;
    UserInterface& m_ui;
    std::array<QLineEdit*, 26> m_titles{};
};

/// Opens "Regist an external program" for slot; true when its OK stored the slot.
bool registProgram(Profile& profile, UserInterface& ui, int slot, QWidget* parent);

/// "Regist an external program" (CProgramEntryDialog) for one slot.
class CProgramEntryDialog : public QDialog {
public:
    CProgramEntryDialog(ProgramEntryDialogModel& model, QWidget* parent = nullptr);
    void accept() override;

private:
    void toModel();
    void fromModel();

    ProgramEntryDialogModel& m_model;
    QLineEdit* m_title;
    QLineEdit* m_file;
    QLineEdit* m_directory;
    QLineEdit* m_commandLine;
    QCheckBox* m_lowPriority;
};

}  // namespace vellmora
