// The external programs of the main window: the jump from a result line to the user's text
// editor, and the program started after a copy.

#include "app/main_frame.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "app/result_view.h"
#include "app/result_window.h"
#include "document/editor_jump.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

bool startDetached(const EditorLaunch& launch) {
    QString program = QString::fromStdString(launch.program);
    QStringList arguments;
    for (const std::string& argument : launch.arguments)
        arguments << QString::fromStdString(argument);
    // Idle priority is the nice value of the child; nice(1) sets it before the program runs.
    const QString nice = QStandardPaths::findExecutable("nice");
    if (launch.idlePriority && !nice.isEmpty()) {
        arguments.prepend(program);
        arguments.prepend("19");
        arguments.prepend("-n");
        program = nice;
    }
    // A start that fails is not reported: the user sees no editor and tries again.
    return QProcess::startDetached(program, arguments,
                                   QString::fromStdString(launch.workingDirectory));
}

}  // namespace

void CMainFrame::jumpToEditor(ResultWindow& window, long index) {
    const CPyxoDoc& document = window.document();
    const std::optional<JumpTarget> target =
        jumpTarget(document.list(document.displayedKind()), index, document.displayedKind(),
                   document.snapshot().formatSelector);
    if (!target) return;
    if (const std::optional<EditorLaunch> launch = editorLaunch(*target, m_profile))
        startDetached(*launch);
}

void CMainFrame::startClipboardEditor() {
    // "Executable2" with its own command line, where the copied text waits on the clipboard.
    EditorLaunch launch;
    launch.program = readString(m_profile, settingKey("TextEditor", "Executable2"));
    launch.arguments = splitArguments(readString(m_profile, settingKey("TextEditor", "CmdLine2")));
    launch.workingDirectory = readString(m_profile, settingKey("TextEditor", "ExecDir"));
    launch.idlePriority = readInt(m_profile, settingKey("TextEditor", "Priority")) != 1;
    if (!launch.program.empty()) startDetached(launch);
}

}  // namespace vellmora
