#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/case_folding.h"
#include "engine/encoding_detection.h"
#include "engine/line_window.h"
#include "engine/preprocessor.h"
#include "engine/search_options.h"
#include "platform/line_reader.h"
#include "platform/user_interface.h"

namespace vellmora {

/// The reading side of a run: the line window, the reader and what works on each line. Made
/// once per run, so that no line costs an allocation.
class FileScan {
public:
    /// Bytes of one line slot: a whole piece, its marker and the terminator.
    static constexpr std::size_t kSlotSize = 8200;

    explicit FileScan(const SearchOptions& options)
        : m_shaper(options.lineEndMarker(), options.ignoreKeta),
          m_storage(LineWindow::kSlots * kSlotSize),
          m_copy(kSlotSize) {
        for (int i = 0; i < LineWindow::kSlots; ++i) m_slot[i] = m_storage.data() + i * kSlotSize;
        emptyWindow();
    }

    /// What the reader's prefilter looks for in every file it may look in; none for none.
    void setNeedles(const std::vector<std::string>& needles, bool ignoreCase) {
        m_needles = needles;
        m_ignoreCase = ignoreCase;
        m_needlesSet = !needles.empty();
        m_reader.setNeedles(needles, ignoreCase);
    }

    /// Prepares the rewrites for the file the reader has just opened. With AutoCode its
    /// encoding is told from the reader's first buffer (read once, for the lines as well) and
    /// decides its conversion; a converted file's raw bytes say nothing of a Shift-JIS keyword,
    /// so the prefilter is off for it. Returns the encoding the file is read as.
    InputEncoding startFile(const SearchOptions& options) {
        m_fileConverted = false;
        if (!options.autoCode) {
            m_preprocessor.startFile();
            return InputEncoding::ShiftJis;
        }
        const InputEncoding encoding =
            detectInputEncoding(m_reader.peekStart(kDetectionPrefixBytes));
        m_preprocessor.startFile(encoding);
        m_fileConverted = encoding != InputEncoding::ShiftJis;
        const bool wanted = !m_fileConverted && !m_needles.empty();
        if (wanted != m_needlesSet) {
            m_reader.setNeedles(wanted ? m_needles : std::vector<std::string>{}, m_ignoreCase);
            m_needlesSet = wanted;
        }
        return encoding;
    }
    /// The current file's lines are converted to Shift-JIS (always false without AutoCode).
    bool fileConverted() const { return m_fileConverted; }
    /// The prefilter may pass over the current file's lines.
    bool prefiltering() const { return m_needlesSet; }

    void emptyWindow() {
        for (int i = 0; i < LineWindow::kSlots; ++i) emptySlot(i);
    }
    void emptySlot(int i) {
        const int p = at(i);
        m_slot[p][0] = '\0';
        m_length[p] = 0;
        m_candidate[p] = false;
    }
    /// Every slot moves down by one; slot 0's buffer comes back as the empty slot 10. The
    /// slots are a ring, so that a line read costs no shifting of the whole window.
    void rotate() {
        m_first = at(1);
        emptySlot(LineWindow::kSlots - 1);
    }
    /// No line waiting in slots 5 to 10 may hold the keyword.
    bool noCandidateAhead() const {
        for (int i = LineWindow::kCurrent; i < LineWindow::kSlots; ++i) {
            if (m_candidate[at(i)]) return false;
        }
        return true;
    }
    bool drained() const {
        for (int i = LineWindow::kCurrent; i < LineWindow::kSlots; ++i) {
            if (m_length[at(i)] != 0) return false;
        }
        return true;
    }
    LineWindow window() const {
        LineWindow view;
        for (int i = 0; i < LineWindow::kSlots; ++i) {
            view.text[i] = m_slot[at(i)];
            view.length[i] = m_length[at(i)];
        }
        return view;
    }

    /// Reads the next piece into slot i and shapes it; false when the read got nothing.
    /// abandon is set when the binary-file guard gives up the file.
    bool readInto(int i, bool guarded, bool& abandon) {
        const int p = at(i);
        abandon = false;
        // Straight into m_pending: only a piece read is ever shaped, and a copy of the piece
        // just written field by field stalls on every line.
        if (!m_reader.next(m_slot[p], m_pending)) {
            emptySlot(i);
            return false;
        }
        if (guarded && m_guard.abandons(m_slot[p], m_pending)) {
            abandon = true;
            return true;
        }
        m_length[p] = m_pending.length;
        m_candidate[p] = m_pending.mayHoldNeedle;
        return true;
    }
    /// Line end, TAB, the leading-bytes cut and the rewrites, after the turn's message pump.
    void shape(int i, bool preprocess) {
        const int p = at(i);
        m_length[p] = m_shaper.shape(m_slot[p], m_pending, m_reader);
        if (preprocess) {
            m_preprocessor.process(m_slot[p]);
            m_length[p] = std::strlen(m_slot[p]);
        }
    }

    /// The search copy of slot i: lower-cased when case is ignored, else the slot itself
    /// (nothing writes to it while it is searched).
    std::string_view searchCopy(int i, bool ignoreCase) {
        const int p = at(i);
        if (!ignoreCase) return std::string_view(m_slot[p], m_length[p]);
        lowerCaseCopy(m_copy.data(), m_slot[p], m_length[p]);
        m_copy[m_length[p]] = '\0';
        return std::string_view(m_copy.data(), m_length[p]);
    }

    const char* slot(int i) const { return m_slot[at(i)]; }
    /// The line in slot i may hold the keyword: false only when the reader's prefilter
    /// found no occurrence in its raw bytes.
    bool candidate(int i) const { return m_candidate[at(i)]; }
    std::size_t length(int i) const { return m_length[at(i)]; }
    LineReader& reader() { return m_reader; }
    BinaryFileGuard& guard() { return m_guard; }
    LinePreprocessor& preprocessor() { return m_preprocessor; }

private:
    /// Where window slot i is kept.
    int at(int i) const {
        const int p = m_first + i;
        return p < LineWindow::kSlots ? p : p - LineWindow::kSlots;
    }

    LineReader m_reader;
    LineShaper m_shaper;
    BinaryFileGuard m_guard;
    LinePreprocessor m_preprocessor;
    LinePiece m_pending;
    std::vector<char> m_storage;
    std::array<char*, LineWindow::kSlots> m_slot{};
    std::array<std::size_t, LineWindow::kSlots> m_length{};
    std::array<bool, LineWindow::kSlots> m_candidate{};
    std::vector<char> m_copy;
    int m_first = 0;  // where slot 0 is kept
    std::vector<std::string> m_needles;  // the run's prefilter
    bool m_ignoreCase = false;
    bool m_needlesSet = false;  // the reader has them for the current file
    bool m_fileConverted = false;
};

/// How one file's lines are read by a search run.
struct LineLoopMode {
    bool window = true;      ///< lines pass slot 5 of the window, with five on either side
    bool guarded = true;     ///< the binary-file guard watches the reads
    bool preprocess = false; ///< the line rewrites apply
    bool skipping = false;   ///< the reader's prefilter may pass over lines in bulk
};

/// The turn-by-turn reading of one file every search run shares: read a line, let the user
/// interface dispatch its messages (and so cancel), shape the line, refresh the views every
/// 5,000 lines when hits came in, and hand the line to searchLine(lineNumber) — at once in a
/// line loop, once it reaches slot 5 in a window loop, which then drains the five lines still
/// waiting at the end of the file. hits is the file's hit count as searchLine keeps it.
/// Returns true when the file was read to its end (not abandoned as binary, not cancelled).
template <class SearchLine>
bool readFileLines(FileScan& scan, const LineLoopMode& mode, UserInterface& ui, DocumentId document,
                   const long& hits, SearchLine&& searchLine) {
    constexpr long kRefreshEveryLines = 5000;
    const int readSlot = mode.window ? LineWindow::kSlots - 1 : 0;
    long linesRead = 0;
    long hitsAtRefresh = 0;
    long refreshBlock = 0;
    for (;;) {
        // Lines that cannot hold the keyword are passed over in bulk; the five before the next
        // line that might are read normally, so that its context is whole.
        if (mode.skipping && (!mode.window || scan.noCandidateAhead())) {
            std::size_t skipped = scan.reader().skipLines(mode.window ? LineWindow::kCurrent : 0);
            if (skipped > 0) {
                if (mode.window) scan.emptyWindow();
                linesRead += static_cast<long>(skipped);
                ui.pump();  // one message dispatch stands for the lines passed over
                if (ui.cancelRequested()) return false;
            }
        }
        bool abandon = false;
        bool got = scan.readInto(readSlot, mode.guarded, abandon);
        if (abandon) return false;  // looks binary: no count line, its hits stay in the total
        if (!got && (!mode.window || scan.drained())) return true;
        ui.pump();
        if (ui.cancelRequested()) return false;
        ++linesRead;
        if (got) scan.shape(readSlot, mode.preprocess);
        if (linesRead / kRefreshEveryLines != refreshBlock) {
            refreshBlock = linesRead / kRefreshEveryLines;
            if (hits != hitsAtRefresh) {
                ui.refreshViews(document);
                hitsAtRefresh = hits;
            }
        }
        if (!mode.window) {
            searchLine(linesRead);
        } else {
            if (linesRead > LineWindow::kCurrent) searchLine(linesRead - LineWindow::kCurrent);
            scan.rotate();
        }
    }
}

}  // namespace vellmora
