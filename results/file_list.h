#pragma once

#include <string>
#include <string_view>

#include "results/result_source.h"

namespace vellmora {

class CExStringList;
class CExcludeFile;
class UserInterface;

inline constexpr std::string_view kFileListProgress = "making filelist...";
inline constexpr std::string_view kFileListOpenFailure = "Failed to open output file...(/_;)";
inline constexpr std::string_view kFileListFinished = "Finished!!";

/// Appends every file below directory to files as directory and name joined with one "/",
/// depth first: the entries of a directory in byte order of their names, each
/// subdirectory walked where it stands among them. Names beginning with "." are left out
/// (as the pattern "*.*" lists them), links to directories are not walked, and a directory
/// that cannot be read adds nothing. Pumps once per entry; false when a cancel request
/// stopped the walk.
bool collectFileTree(std::string_view directory, CExStringList& files, UserInterface& ui);

/// What the confirmed dialog "Making of File List" asks for.
struct FileListRequest {
    std::string referenceDirectory;
    std::string outputFile;
    bool excludeBinary = false;  ///< "Exclude binary files"
};

/// How a file list job ended.
enum class FileListEnd {
    Refused,       ///< a search or another long command runs: nothing was done
    Stopped,       ///< a cancel request stopped the walk; nothing was written
    OutputFailed,  ///< the output file could not be written: the failure message was shown
    Done,          ///< the list was written and "Finished!!" shown
};

struct FileListOutcome {
    FileListEnd end = FileListEnd::Refused;
    int written = 0;  ///< paths written to the output file
    int skipped = 0;  ///< paths left out: excluded types, and names that hold a line end
};

/// Writes the paths of files, one per line ending in "\n", to outputFile, which is replaced
/// only once it is complete. Paths whose extension exclusions lists (when given) and paths
/// holding a line end (no line of a response file could name them) are left out. False
/// when the file could not be written.
bool writeFileList(const CExStringList& files, const CExcludeFile* exclusions,
                   const std::string& outputFile, FileListOutcome& outcome);

/// The job behind "Make File List...", after its dialog was confirmed: does nothing while a
/// search or another long command runs. Otherwise marks the program and the view busy,
/// shows "making filelist..." as the window's title, walks the reference directory into the
/// view's corpus file list, writes the list file (with the exclusion lists of section
/// "Exclude" when asked to), empties the working list and shows "Finished!!" with a beep
/// (unless silenced). Paths are written as found: names are case-sensitive here.
FileListOutcome runFileListJob(const ResultCommandPlace& place, const FileListRequest& request);

}  // namespace vellmora
