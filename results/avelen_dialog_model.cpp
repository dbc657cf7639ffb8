#include "results/avelen_dialog_model.h"

#include <filesystem>

#include "document/result_navigation.h"
#include "engine/corpus_file_set.h"
#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

// The tool has no window title of its own to show progress in.
constexpr DocumentId kNoDocument = 0;

std::vector<std::string> entriesOf(const CExStringList& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

/// The directory a calculation expands the pattern in: the current one when empty, and
/// ending with "/" so that the pattern joins it as a name.
std::string corpusDirectory(std::string directory) {
    if (directory.empty()) {
        std::error_code error;
        directory = std::filesystem::current_path(error).string();
    }
    if (!directory.empty() && !directory.ends_with('/')) directory += '/';
    return directory;
}

/// Sets a flag for its lifetime.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

AverageWordLengthDialogModel::AverageWordLengthDialogModel(Profile& profile, UserInterface& ui,
                                                           const Histories& histories,
                                                           ApplicationSearchFlags& flags)
    : m_profile(profile), m_ui(ui), m_histories(histories), m_flags(flags) {}

void AverageWordLengthDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_fileName = m_histories.lastValues().filename;
    m_directory = m_histories.lastValues().directory;
    m_fileNames = entriesOf(m_histories.list(HistoryKind::Filename));
    m_directories = entriesOf(m_histories.list(HistoryKind::Directory));
}

AverageRunEnd AverageWordLengthDialogModel::calculate(const std::function<void()>& textChanged) {
    if (m_flags.running || m_calculating) {
        m_ui.alert(kNavigationBusyMessage);
        return AverageRunEnd::Refused;
    }
    FlagScope running(m_flags.running);
    FlagScope calculating(m_calculating);
    m_lines.removeAll();
    if (textChanged) textChanged();
    m_ui.clearCancel();

    CorpusRequest request;
    request.fileName = m_fileName;
    request.directory = corpusDirectory(m_directory);
    request.subdirectories = readInt(m_profile, settingKey("Options", "Subdir")) == 1;
    CExStringList files;
    AverageWordLengthOutcome outcome;
    if (collectCorpusFiles(request, files, m_ui, kNoDocument))
        outcome = averageWordLength(files, m_lines, m_ui, textChanged);
    else
        outcome.cancelled = true;
    m_ui.clearCancel();
    return outcome.cancelled ? AverageRunEnd::Stopped : AverageRunEnd::Done;
}

std::string AverageWordLengthDialogModel::resultText() const {
    std::string text;
    for (const std::string& line : m_lines) text += line;
    return text;
}

}  // namespace vellmora
