#include "engine/parallel_files.h"

#include <algorithm>
#include <chrono>

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
        const bool added = add(line.text);
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
        m_search(worker, index, ui, *file);
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

}  // namespace vellmora
