#include "results/file_list_dialog_model.h"

#include <filesystem>

#include "engine/search_run.h"
#include "platform/finder.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

std::string withFinalSlash(std::string directory) {
    if (!directory.ends_with('/')) directory += '/';
    return directory;
}

}  // namespace

FileListDialogModel::FileListDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void FileListDialogModel::open(std::string_view currentDirectory) {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_focus = FileListField::None;
    if (m_request.referenceDirectory.empty()) {
        std::string current(currentDirectory);
        if (current.empty()) {
            std::error_code error;
            current = std::filesystem::current_path(error).string();
        }
        m_request.referenceDirectory = withFinalSlash(std::move(current));
    }
    if (m_request.outputFile.empty())
        m_request.outputFile = joinPath(m_request.referenceDirectory, kDefaultListName);
}

void FileListDialogModel::takeChosenDirectory(std::string directory) {
    if (directory.empty()) return;
    m_request.referenceDirectory = withFinalSlash(std::move(directory));
}

bool FileListDialogModel::ok() {
    if (m_request.referenceDirectory.empty())
        return refuse(kEnterReferenceDirectory, FileListField::ReferenceDirectory);
    if (m_request.outputFile.empty()) return refuse(kEnterOutputFile, FileListField::OutputFile);
    m_focus = FileListField::None;
    return true;
}

bool FileListDialogModel::refuse(std::string_view message, FileListField field) {
    m_ui.alert(message);
    m_focus = field;
    return false;
}

bool confirmFileListAsSet(FileListDialogModel& dialog) { return dialog.ok(); }

FileListOutcome runFileListCommand(const ResultCommandPlace& place, FileListDialogModel& dialog,
                                   const FileListDialogStep& showDialog) {
    if (place.flags.running || place.view.busy) return {};
    dialog.open();
    if (!showDialog(dialog)) return {};
    return runFileListJob(place, dialog.request());
}

}  // namespace vellmora
