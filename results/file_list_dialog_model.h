#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "results/file_list.h"

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kFileListDialogTitle = "Making of File List";
inline constexpr std::string_view kFileListExplanation =
    "Files under the reference directory will be output to the output file.";
inline constexpr std::string_view kExcludeBinaryLabel = "Exclude binary files";
inline constexpr std::string_view kEnterReferenceDirectory = "Enter REFERENCE DIRECTORY!!";
inline constexpr std::string_view kEnterOutputFile = "Enter OUTPUT FILE!!";
inline constexpr std::string_view kDefaultListName = "DEFAULT.LST";
/// The filter and default extension of the "&Brows" save dialog.
inline constexpr std::string_view kListFileFilter =
    "List Files (*.LST)|*.LST|ALL Files (*.*)|*.*||";
inline constexpr std::string_view kListFileExtension = "*.LST";

/// The fields of the dialog a failed OK puts the focus on.
enum class FileListField { None, ReferenceDirectory, OutputFile };

/// The model of the dialog "Making of File List" (CFileListDlg). It keeps its fields from one
/// opening to the next, as the window that owns it does.
class FileListDialogModel {
public:
    FileListDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting. An empty reference directory becomes currentDirectory (the
    /// process's when empty) with a final "/"; an empty output file becomes the reference
    /// directory followed by "DEFAULT.LST".
    void open(std::string_view currentDirectory = {});

    const std::string& referenceDirectory() const { return m_request.referenceDirectory; }
    void setReferenceDirectory(std::string directory) {
        m_request.referenceDirectory = std::move(directory);
    }
    const std::string& outputFile() const { return m_request.outputFile; }
    void setOutputFile(std::string file) { m_request.outputFile = std::move(file); }
    bool excludeBinary() const { return m_request.excludeBinary; }
    void setExcludeBinary(bool on) { m_request.excludeBinary = on; }

    /// "Move Dir": the directory the chooser starts in, as written (never upper-cased: the
    /// names of this file system are case-sensitive).
    const std::string& directoryToOffer() const { return m_request.referenceDirectory; }
    /// The directory the chooser returned on its OK, with a final "/".
    void takeChosenDirectory(std::string directory);

    /// OK: an empty reference directory, then an empty output file, beeps (unless silenced),
    /// shows its message and returns false with focus() naming the field; the dialog stays
    /// open. Otherwise true: the job may start.
    bool ok();
    FileListField focus() const { return m_focus; }

    const FileListRequest& request() const { return m_request; }

private:
    bool refuse(std::string_view message, FileListField field);

    Profile& m_profile;
    UserInterface& m_ui;
    FileListRequest m_request;
    FileListField m_focus = FileListField::None;
};

/// Shows the opened dialog until its OK passes (true) or it is cancelled (false).
using FileListDialogStep = std::function<bool(FileListDialogModel&)>;

/// The step of the batch front end: OK on the fields as they were set; false when its
/// checks refuse them.
bool confirmFileListAsSet(FileListDialogModel& dialog);

/// The command "Make File List...": does nothing while a search or another long command
/// runs; otherwise opens dialog, shows it, and on its OK runs the job. Refused also stands
/// for a cancelled or refused dialog (dialog.focus() tells a refusal).
FileListOutcome runFileListCommand(const ResultCommandPlace& place, FileListDialogModel& dialog,
                                   const FileListDialogStep& showDialog = confirmFileListAsSet);

}  // namespace vellmora
