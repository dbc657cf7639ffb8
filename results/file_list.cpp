#include "results/file_list.h"

#include <cstdio>

#include "containers/ex_string_list.h"
#include "document/atomic_file.h"
#include "engine/search_run.h"
#include "platform/finder.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

bool holdsLineEnd(std::string_view path) { return path.find_first_of("\r\n") != path.npos; }

/// Restores the window's title and empties the working list however the job ends.
class JobScope {
public:
    explicit JobScope(const ResultCommandPlace& place) : m_place(place), m_busy(place) {
        m_place.ui.clearCancel();
        m_place.view.files.removeAll();
        m_place.ui.showBusyTitle(m_place.document.id(), kFileListProgress);
    }
    ~JobScope() {
        restoreTitle();
        m_place.view.files.removeAll();
        m_place.ui.clearCancel();
    }
    JobScope(const JobScope&) = delete;
    JobScope& operator=(const JobScope&) = delete;

    /// Done before the closing message, so that the title is back while it shows.
    void restoreTitle() {
        if (m_titleShown) m_place.ui.restoreTitle(m_place.document.id());
        m_titleShown = false;
    }

private:
    const ResultCommandPlace& m_place;
    BusyScope m_busy;
    bool m_titleShown = true;
};

}  // namespace

bool collectFileTree(std::string_view directory, CExStringList& files, UserInterface& ui) {
    for (const FinderEntry& entry : findEntries(joinPath(directory, "*.*"))) {
        ui.pump();
        if (ui.cancelRequested()) return false;
        const std::string path = joinPath(directory, entry.name);
        if (!entry.isDirectory) {
            files.addTail(path);
        } else if (!entry.isSymlink && !collectFileTree(path, files, ui)) {
            return false;
        }
    }
    return true;
}

bool writeFileList(const CExStringList& files, const CExcludeFile* exclusions,
                   const std::string& outputFile, FileListOutcome& outcome) {
    AtomicFile output(outputFile);
    if (!output.open()) return false;
    for (const std::string& path : files) {
        if ((exclusions != nullptr && exclusions->isExcluded(path)) || holdsLineEnd(path)) {
            ++outcome.skipped;
            continue;
        }
        std::fwrite(path.data(), 1, path.size(), output.stream());
        std::fputc('\n', output.stream());
        ++outcome.written;
    }
    return output.commit();
}

FileListOutcome runFileListJob(const ResultCommandPlace& place, const FileListRequest& request) {
    UserInterface& ui = place.ui;
    FileListOutcome outcome;
    ui.setBeepSilenced(readInt(place.profile, settingKey("Options", "Beep")) == 1);
    if (place.flags.running || place.view.busy) return outcome;

    JobScope job(place);
    CExcludeFile exclusions;
    exclusions.build(place.profile);
    if (!collectFileTree(request.referenceDirectory, place.view.files, ui)) {
        outcome.end = FileListEnd::Stopped;
        job.restoreTitle();
        return outcome;
    }
    const bool written =
        writeFileList(place.view.files, request.excludeBinary ? &exclusions : nullptr,
                      request.outputFile, outcome);
    job.restoreTitle();
    if (!written) {
        outcome.end = FileListEnd::OutputFailed;
        outcome.written = 0;
        ui.alert(kFileListOpenFailure);
        return outcome;
    }
    place.view.files.removeAll();
    outcome.end = FileListEnd::Done;
    ui.alert(kFileListFinished);
    return outcome;
}

}  // namespace vellmora
