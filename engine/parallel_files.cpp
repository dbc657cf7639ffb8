#include "engine/parallel_files.h"

#include <algorithm>
#include <chrono>

#include "engine/search_run.h"
#include "platform/line_reader.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"

namespace vellmora {

long replayFileLines(const FileLines& file, const std::function<bool(std::string_view)>& add,
                     const std::function<bool()>& goOn) {
    long hits = 0;
    bool refused = false;
    long current = 0;
    for (const FileLines::Line& line : file.lines) {
        if (line.sourceLine != current) {
            // A refused line ends the run after the line of the file it was found on; a
            // cancel before the next line, as a run on one thread checks it once a line.
            if (refused || !goOn()) break;
            current = line.sourceLine;
        }
        const bool added = add(file.textOf(line));
        if (line.hit) ++hits;  // a hit the limit refused still counts
        if (!added) refused = true;
    }
    return hits;
}

ParallelFileSearch::ParallelFileSearch(int workers, std::size_t files, SearchFile search)
    : m_search(std::move(search)),
      m_files(files),
      // Two files a worker: one being searched and one waiting its turn keeps every worker
      // busy while the run adds lines, and bounds what waits in memory.
      m_ahead(2 * static_cast<std::size_t>(workers)),
      m_results(files) {
    for (int worker = 0; worker < workers; ++worker)
        m_workers.emplace_back([this, worker] { work(worker); });
}

ParallelFileSearch::~ParallelFileSearch() {
    stop();
    for (std::thread& worker : m_workers) worker.join();
}

void ParallelFileSearch::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop.store(true);
    }
    m_roomAhead.notify_all();
}

void ParallelFileSearch::work(int worker) {
    WorkerUserInterface ui(m_stop);
    for (;;) {
        std::size_t index;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_roomAhead.wait(lock, [&] {
                return m_stop.load() || m_next >= m_files || m_next < m_taken + m_ahead;
            });
            if (m_stop.load() || m_next >= m_files) return;
            index = m_next++;
        }
        auto file = std::make_unique<FileLines>();
        ui.clearCancel();
        try {
            m_search(worker, index, ui, *file);
        } catch (...) {
            // Out of memory, say: the run's own thread searches the file again and meets the
            // failure where a run on one thread would.
            file = std::make_unique<FileLines>();
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_results[index] = std::move(file);
        }
        m_resultReady.notify_all();
    }
}

std::unique_ptr<FileLines> ParallelFileSearch::take(std::size_t index, UserInterface& ui) {
    using namespace std::chrono_literals;
    ui.pump();
    if (ui.cancelRequested()) stop();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_results[index] == nullptr) {
        // Stopped before a worker took the file: it is never searched.
        if (m_stop.load() && m_next <= index) return nullptr;
        // Short enough for the window to stay responsive while it waits.
        if (m_resultReady.wait_for(lock, 10ms, [&] { return m_results[index] != nullptr; }))
            break;
        lock.unlock();
        ui.pumpWhileWaiting();
        if (ui.cancelRequested()) stop();
        lock.lock();
    }
    std::unique_ptr<FileLines> file = std::move(m_results[index]);
    m_taken = index + 1;
    lock.unlock();
    m_roomAhead.notify_all();
    return file;
}

void runParallelFileLoop(const ParallelFileLoop& loop, Profile& profile, UserInterface& ui,
                         BinaryFileGuard& guard, SearchOutcome& outcome,
                         const std::function<void()>& refresh) {
    const std::vector<std::string>& paths = loop.paths;
    CExcludeFile exclusions;
    exclusions.build(profile);
    const auto excluded = [&](const std::string& path) {
        return readInt(profile, settingKey("Options", "Exclude")) == 1 &&
               exclusions.isExcluded(path);
    };
    // Files excluded when the run starts are not read ahead; the test is made again when each
    // file's turn comes, since the setting may change while the run goes on.
    std::vector<bool> excludedAtStart;
    for (const std::string& path : paths) excludedAtStart.push_back(excluded(path));

    ParallelFileSearch search(
        loop.workers, paths.size(),
        [&](int worker, std::size_t index, UserInterface& workerUi, FileLines& file) {
            if (excludedAtStart[index]) return;
            file.searched = true;
            loop.searchInWorker(worker, paths[index], workerUi, file);
        });
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::unique_ptr<FileLines> file = search.take(i, ui);
        if (file == nullptr) break;  // the workers stopped before this file
        if (excluded(paths[i])) continue;
        // What the binary-file guard did depends on the count the files before left, unless
        // it counted nothing or the count stood at 0: else the file is read again here.
        if (!file->searched || (file->guardCounted && guard.count() != 0)) {
            loop.searchHere(paths[i]);
        } else if (file->opened) {
            ++outcome.filesOpened;
            outcome.total += replayFileLines(*file, loop.addLine, [&ui] {
                ui.pump();
                return !ui.cancelRequested();
            });
            if (file->guardCounted) guard.resume(file->guardCount);
            if (loop.added) loop.added(paths[i], *file);
            refresh();
        }
        if (ui.cancelRequested()) break;
    }
}

}  // namespace vellmora
