#pragma once

// The files of a run searched on several threads at once, their results taken in list order.
//
// Each worker searches whole files into a FileLines buffer with its own reader, matcher and
// layout; the run's own thread takes the buffers one after another, in the order of the file
// list, and adds their lines to the document as if it had searched the file itself, so that
// the result, the counts, the limit and the messages are those of a run on one thread. While
// it waits it keeps the user interface alive, and a cancel stops the workers within a line.

#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/encoding_detection.h"
#include "platform/user_interface.h"

namespace vellmora {

/// Where a file search puts its lines: straight into the document, or into a buffer.
class ResultSink {
public:
    /// The line number of a file's count line: after every line of the file.
    static constexpr long kAfterLastLine = LONG_MAX;

    virtual ~ResultSink() = default;
    /// Adds a result line found on the file's sourceLine (0 before its first line); hit lines
    /// count as hits. False when the line was refused (the run's line limit).
    virtual bool add(std::string_view line, long sourceLine, bool hit) = 0;
};

/// The sink of a file searched on the run's own thread: straight into the document.
class DocumentSink : public ResultSink {
public:
    explicit DocumentSink(std::function<bool(std::string_view)> add) : m_add(std::move(add)) {}
    bool add(std::string_view line, long, bool) override { return m_add(line); }

private:
    std::function<bool(std::string_view)> m_add;
};

/// What searching one file told its run: whether it opened, its hits, what it was read as.
struct FileSearchReport {
    bool opened = false;
    long hits = 0;
    InputEncoding encoding = InputEncoding::ShiftJis;
};

/// What searching one file gave a worker.
struct FileLines {
    /// A line's bytes are a stretch of text: one buffer for the file instead of an
    /// allocation a line, which a frequent keyword's millions of lines spend their time on.
    struct Line {
        std::size_t offset;
        std::size_t size;
        long sourceLine;
        bool hit;
    };
    bool searched = false;  ///< false: left to the run's own thread
    bool opened = false;
    InputEncoding encoding = InputEncoding::ShiftJis;
    std::string text;
    std::vector<Line> lines;
    std::string_view textOf(const Line& line) const { return {text.data() + line.offset, line.size}; }
    /// The binary-file guard counted a piece: the result holds only for a run whose count
    /// stood at 0 when the file began; guardCount is where it ends.
    bool guardCounted = false;
    int guardCount = 0;
};

/// The buffering sink of a worker.
class FileLinesSink : public ResultSink {
public:
    explicit FileLinesSink(FileLines& file) : m_file(file) {}
    bool add(std::string_view line, long sourceLine, bool hit) override {
        m_file.lines.push_back({m_file.text.size(), line.size(), sourceLine, hit});
        m_file.text.append(line);
        return true;
    }

private:
    FileLines& m_file;
};

/// Adds a buffered file's lines through add (the document's limit), as the search would have
/// added them: once a line is refused, the rest of that source line's hits are still tried
/// and counted, and nothing after them. goOn is asked before each later source line (the
/// message pump); false stops the file there. Returns the file's hits.
long replayFileLines(const FileLines& file, const std::function<bool(std::string_view)>& add,
                     const std::function<bool()>& goOn);

/// The user interface of a worker: no messages, no views; its pump passes on the run's stop.
class WorkerUserInterface : public UserInterface {
public:
    explicit WorkerUserInterface(const std::atomic<bool>& stop) : m_stop(stop) {}
    void beep() override {}
    Answer message(std::string_view, Buttons) override { return Answer::Ok; }
    void pump() override {
        if (m_stop.load(std::memory_order_relaxed)) requestCancel();
    }
    void showBusyTitle(DocumentId, std::string_view) override {}
    void restoreTitle(DocumentId) override {}
    void refreshViews(DocumentId) override {}
    void setWaitCursor(bool) override {}

private:
    const std::atomic<bool>& m_stop;
};

/// Workers that search the files of a list, at most a few files ahead of the one the run takes
/// next, so that memory stays flat however long the list is.
class ParallelFileSearch {
public:
    /// search(worker, index, ui, file) searches file index into file; ui is the worker's
    /// own. worker runs from 0 to workers - 1; each worker calls it on one thread.
    using SearchFile =
        std::function<void(int worker, std::size_t index, UserInterface& ui, FileLines& file)>;

    ParallelFileSearch(int workers, std::size_t files, SearchFile search);
    ~ParallelFileSearch();
    ParallelFileSearch(const ParallelFileSearch&) = delete;
    ParallelFileSearch& operator=(const ParallelFileSearch&) = delete;

    /// The result of file index, the next in order, once a worker has it; ui is pumped while
    /// waiting, and its cancel stops the workers. Null when the workers stopped before they
    /// came to the file.
    std::unique_ptr<FileLines> take(std::size_t index, UserInterface& ui);
    /// The workers stop their files within a line and take no more.
    void stop();

private:
    void work(int worker);

    SearchFile m_search;
    std::size_t m_files;
    std::size_t m_ahead;
    std::vector<std::unique_ptr<FileLines>> m_results;
    std::mutex m_mutex;
    std::condition_variable m_resultReady;
    std::condition_variable m_roomAhead;
    std::size_t m_next = 0;   // the next file a worker takes
    std::size_t m_taken = 0;  // files the run has taken
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_workers;
};

class BinaryFileGuard;
class Profile;
struct SearchOutcome;

/// What a run gives the file loop on several threads.
struct ParallelFileLoop {
    /// The corpus, in list order.
    std::vector<std::string> paths;
    int workers = 2;
    /// Searches path on worker (with that worker's own tools) into file: its lines, whether
    /// it opened, what the worker's guard counted.
    std::function<void(int worker, const std::string& path, UserInterface& ui, FileLines& file)>
        searchInWorker;
    /// Searches path on the run's thread, into the document, with the run's own guard.
    std::function<void(const std::string& path)> searchHere;
    /// Adds a line to the document (false when its limit refuses it).
    std::function<bool(std::string_view)> addLine;
    /// Told of each file whose buffered lines were added, on the run's thread; a file a
    /// worker read ahead of a cancel is never told.
    std::function<void(const std::string& path, const FileLines& file)> added;
};

/// The file loop of a run on several threads: each file in list order, excluded ones skipped
/// as Options/Exclude says when its turn comes, until the run is cancelled. The files'
/// lines reach the document through loop.addLine; the outcome counts the files opened and
/// their hits; guard is the run's binary-file guard; refresh is called after each file.
void runParallelFileLoop(const ParallelFileLoop& loop, Profile& profile, UserInterface& ui,
                         BinaryFileGuard& guard, SearchOutcome& outcome,
                         const std::function<void()>& refresh);

}  // namespace vellmora
