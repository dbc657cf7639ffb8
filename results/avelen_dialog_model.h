#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "containers/ex_string_list.h"
#include "results/avelen.h"

namespace vellmora {

class Histories;
class Profile;
class UserInterface;
struct ApplicationSearchFlags;

inline constexpr std::string_view kAverageWordLengthTitle = "Average Word Length";

/// How "Calculate" ended.
enum class AverageRunEnd {
    Refused,  ///< another long command runs: the busy message was shown
    Stopped,  ///< a cancel request stopped it; the text holds the files counted so far
    Done,
};

/// The model of the tool dialog "Average Word Length" (CAveLenDlg): a file name or pattern,
/// a directory, and the result text that "Calculate" fills and "&Copy" copies. The fields
/// open with the last search entries and offer the file-name and directory histories; the
/// dialog stores nothing.
class AverageWordLengthDialogModel {
public:
    /// histories are the application's; flags its running flag, which "Calculate" holds while
    /// it runs so that no other long command starts meanwhile.
    AverageWordLengthDialogModel(Profile& profile, UserInterface& ui, const Histories& histories,
                                 ApplicationSearchFlags& flags);

    /// Takes the beep setting, the last file name and directory of the search dialog, and
    /// the two histories for the combo boxes.
    void open();

    const std::string& fileName() const { return m_fileName; }
    void setFileName(std::string fileName) { m_fileName = std::move(fileName); }
    const std::string& directory() const { return m_directory; }
    void setDirectory(std::string directory) { m_directory = std::move(directory); }
    const std::vector<std::string>& fileNameHistory() const { return m_fileNames; }
    const std::vector<std::string>& directoryHistory() const { return m_directories; }

    /// True while "Calculate" runs: the dialog's buttons stay disabled.
    bool calculating() const { return m_calculating; }

    /// "Calculate": empties the result text, expands the pattern in the directory as a
    /// search expands its file set ("Options"/"Subdir" included; an empty directory is the
    /// current one, a missing final "/" is added) and computes the average word length of
    /// every file. textChanged runs whenever the text grew, so that it shows at once.
    AverageRunEnd calculate(const std::function<void()>& textChanged = {});

    /// The result text: every line with its "\r\n". "&Copy" puts it on the clipboard.
    std::string resultText() const;
    const CExStringList& resultLines() const { return m_lines; }

private:
    Profile& m_profile;
    UserInterface& m_ui;
    const Histories& m_histories;
    ApplicationSearchFlags& m_flags;
    std::string m_fileName;
    std::string m_directory;
    std::vector<std::string> m_fileNames;
    std::vector<std::string> m_directories;
    CExStringList m_lines;
    bool m_calculating = false;
};

}  // namespace vellmora
