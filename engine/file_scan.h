#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "engine/case_folding.h"
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

    void emptyWindow() {
        for (int i = 0; i < LineWindow::kSlots; ++i) emptySlot(i);
    }
    void emptySlot(int i) {
        m_slot[i][0] = '\0';
        m_length[i] = 0;
        m_candidate[i] = false;
    }
    /// Every slot moves down by one; slot 0's buffer comes back as the empty slot 10.
    void rotate() {
        char* oldest = m_slot[0];
        for (int i = 0; i + 1 < LineWindow::kSlots; ++i) {
            m_slot[i] = m_slot[i + 1];
            m_length[i] = m_length[i + 1];
            m_candidate[i] = m_candidate[i + 1];
        }
        m_slot[LineWindow::kSlots - 1] = oldest;
        emptySlot(LineWindow::kSlots - 1);
    }
    /// No line waiting in slots 5 to 10 may hold the keyword.
    bool noCandidateAhead() const {
        for (int i = LineWindow::kCurrent; i < LineWindow::kSlots; ++i) {
            if (m_candidate[i]) return false;
        }
        return true;
    }
    bool drained() const {
        for (int i = LineWindow::kCurrent; i < LineWindow::kSlots; ++i) {
            if (m_length[i] != 0) return false;
        }
        return true;
    }
    LineWindow window() const {
        LineWindow view;
        for (int i = 0; i < LineWindow::kSlots; ++i) {
            view.text[i] = m_slot[i];
            view.length[i] = m_length[i];
        }
        return view;
    }

    /// Reads the next piece into slot i and shapes it; false when the read got nothing.
    /// abandon is set when the binary-file guard gives up the file.
    bool readInto(int i, bool guarded, bool& abandon) {
        LinePiece piece;
        abandon = false;
        if (!m_reader.next(m_slot[i], piece)) {
            emptySlot(i);
            return false;
        }
        if (guarded && m_guard.abandons(m_slot[i], piece)) {
            abandon = true;
            return true;
        }
        m_pending = piece;
        m_length[i] = piece.length;
        m_candidate[i] = piece.mayHoldNeedle;
        return true;
    }
    /// Line end, TAB, the leading-bytes cut and the rewrites, after the turn's message pump.
    void shape(int i, bool preprocess) {
        m_length[i] = m_shaper.shape(m_slot[i], m_pending, m_reader);
        if (preprocess) {
            m_preprocessor.process(m_slot[i]);
            m_length[i] = std::strlen(m_slot[i]);
        }
    }

    /// The search copy of slot i: lower-cased when case is ignored, else the slot itself
    /// (nothing writes to it while it is searched).
    std::string_view searchCopy(int i, bool ignoreCase) {
        if (!ignoreCase) return std::string_view(m_slot[i], m_length[i]);
        lowerCaseCopy(m_copy.data(), m_slot[i], m_length[i]);
        m_copy[m_length[i]] = '\0';
        return std::string_view(m_copy.data(), m_length[i]);
    }

    const char* slot(int i) const { return m_slot[i]; }
    /// The line in slot i may hold the keyword: false only when the reader's prefilter
    /// found no occurrence in its raw bytes.
    bool candidate(int i) const { return m_candidate[i]; }
    std::size_t length(int i) const { return m_length[i]; }
    LineReader& reader() { return m_reader; }
    BinaryFileGuard& guard() { return m_guard; }
    LinePreprocessor& preprocessor() { return m_preprocessor; }

private:
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
