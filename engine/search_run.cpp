#include "engine/search_run.h"

#include <array>
#include <cstring>
#include <vector>

#include "document/result_document.h"
#include "engine/file_scan.h"
#include "engine/run_support.h"
#include "engine/corpus_file_set.h"
#include "engine/preprocessor.h"
#include "platform/line_reader.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr long kRefreshEveryLines = 5000;

constexpr std::string_view kBusyTitle = "<<Now Searching...>>";
constexpr std::string_view kBusy = "I'm busy now. Please wait for a minutes.m(__)m";

/// The bytes every line holding a hit must hold as they stand in the file (up to ASCII case
/// when case is ignored), or empty when no such bytes can be named. Shaping a line turns TABs
/// into blanks, trims trailing blanks, adds the marker and cuts the head; the rewrites change
/// bytes freely; a continuing keyword ends on the next line. Only a single keyword clear of
/// all of that lets the reader pass over the lines that do not hold it.
std::string prefilterNeedle(const SearchOptions& options, const KeywordMatcher& matcher) {
    if (!options.prefilter || !matcher.singleKeyword1() || options.preprocessing()) return {};
    const std::string& keyword = matcher.keyword1Words().front();
    if (keyword.empty()) return {};
    // A keyword that begins with a double-byte character continues across a line end that
    // shows as nothing; a marker between the lines stops it (pieces cut short of their line
    // end are always candidates).
    if (options.lineEndMarker() == '\0' &&
        ximo::isLeadByte(static_cast<unsigned char>(keyword.front())))
        return {};
    for (char c : keyword) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') return {};
        if (options.lineEndMarker() != '\0' && c == options.lineEndMarker()) return {};
    }
    return keyword;
}

}  // namespace


KwicSearchRun::KwicSearchRun(const SearchOptions& options, Profile& profile, UserInterface& ui,
                             CPyxoDoc& document, SearchState& state)
    : m_options(options), m_profile(profile), m_ui(ui), m_document(document), m_state(state) {}

KwicSearchRun::~KwicSearchRun() = default;

bool refuseWhileBusy(const ApplicationSearchFlags& flags, const SearchState& state,
                     UserInterface& ui) {
    if (!flags.running && !state.busy) return false;
    ui.alert(kBusy);
    return true;
}

SearchOutcome KwicSearchRun::run(const SearchRequest& request, ApplicationSearchFlags* flags) {
    m_outcome = SearchOutcome{};
    m_ui.setBeepSilenced(m_options.beepSilenced);
    m_state.busy = true;
    if (flags != nullptr) flags->running = true;

    // Without the engine a bGrep search runs as a plain one: its keywords are words.
    const bool expressions = m_options.grep && openExpressionEngine();
    if (!expressions)
        m_matcher.prepare(m_options, m_profile, request.keyword1, request.keyword2,
                          m_condition != nullptr);
    CorpusRequest corpus = corpusRequestOf(request, m_options);
    m_state.files.removeAll();
    m_ui.clearCancel();
    bool collected = collectCorpusFiles(corpus, m_state.files, m_ui, m_document.id());
    if (expressions && collected && !compileExpressions(request)) {
        // Abandoned before any file is read: the busy flags go, nothing else happens.
        m_state.files.removeAll();
        m_ui.clearCancel();
        m_state.busy = false;
        if (flags != nullptr) flags->running = false;
        return m_outcome;
    }
    m_layout.start(m_options, m_state.files, static_cast<int>(request.keyword1.text.size()));
    m_state.layout = m_layout.values();

    // Start of the loop.
    m_ui.clearCancel();
    m_state.resultKind = 1;
    m_ui.showBusyTitle(m_document.id(), kBusyTitle);
    m_state.resultState = 1;
    m_scan = std::make_unique<FileScan>(m_options);
    m_scan->guard().reset();
    m_scan->preprocessor().startRun(preprocessOptionsOf(m_options));
    m_prefilterNeedle = expressions ? std::string() : prefilterNeedle(m_options, m_matcher);
    m_scan->reader().setNeedle(m_prefilterNeedle, m_options.ignoreCase);

    if (collected) {
        forEachCorpusFile(m_profile, m_state.files, m_ui,
                          [this](const std::string& path) { searchFile(path); });
    }
    m_outcome.cancelled = (m_ui.cancelRequested() && !m_outcome.limitReached) || !collected;
    m_flags = flags;
    finishRun(request);
    m_flags = nullptr;
    return m_outcome;
}

bool KwicSearchRun::openExpressionEngine() {
    m_regex = std::make_unique<RegexBinding>();
    // A failed initialisation shows up when the records are needed; only a missing engine
    // (version 0) turns the search into a plain one.
    m_regex->initialise();
    if (m_regex->version() != 0) return true;
    m_regex.reset();
    return false;
}

std::string KwicSearchRun::patternOf(const KeywordSpec& keyword) {
    return keyword.isGroup ? readGroupPattern(m_profile, keyword.text) : keyword.text;
}

bool KwicSearchRun::compileExpressions(const SearchRequest& request) {
    const ExpressionMessages& messages = m_expressionMessages;
    std::string pattern1 = patternOf(request.keyword1);
    m_secondExpression = !request.keyword2.text.empty();
    m_negateSecond = m_options.method == 1;
    if (m_secondExpression && m_options.method == 2) {
        // OR: keyword 2 is one more alternative of keyword 1, as in the KWOC search.
        pattern1 += "|" + patternOf(request.keyword2);
        m_secondExpression = false;
    }
    std::string_view failure;
    if (!m_regex->ensureOpened(1)) {
        failure = messages.initialise1;
    } else if (!m_regex->compile(1, pattern1, m_options.ignoreCase)) {
        failure = messages.compile1;
    } else if (m_secondExpression && !m_regex->ensureOpened(2)) {
        failure = messages.initialise2;
    } else if (m_secondExpression &&
               !m_regex->compile(2, patternOf(request.keyword2), m_options.ignoreCase)) {
        failure = messages.compile2;
    }
    if (failure.empty()) return true;
    m_ui.alert(failure);
    m_regex.reset();
    return false;
}

bool KwicSearchRun::addLine(std::string_view line) {
    if (m_document.addSearchLine(line, static_cast<unsigned>(m_options.maxLine))) return true;
    // The limit ends the run after the current line, as a cancel would.
    m_outcome.limitReached = true;
    m_ui.requestCancel();
    return false;
}

void KwicSearchRun::searchFile(const std::string& path) {
    FileScan& scan = *m_scan;
    const SearchOptions& o = m_options;
    if (!scan.reader().open(path)) return;  // skipped silently, counted nowhere

    const std::string displayName = displayNameOf(o, path);
    if (!o.noSeparator && !o.sepMatched && !o.tagAsIs && !o.tagFName)
        addLine(ResultLayout::separatorLine(displayName));
    long hits = 0;
    long linesRead = 0;
    long hitsAtRefresh = 0;
    long refreshBlock = 0;
    bool separatorPending = o.sepMatched;
    ++m_outcome.filesOpened;
    scan.preprocessor().startFile();
    // A file abandoned as binary, or given up when a run was cancelled, leaves lines in the
    // window; they must not show as context of the next file's first hits.
    scan.emptyWindow();

    // Expressions are searched line by line, whatever bOneLine says.
    const bool expressions = m_regex != nullptr;
    const bool window = !o.oneLine && !expressions;
    const bool preprocess = o.preprocessing();
    // The binary-file guard watches every loop but the single-keyword and keyword-2 line loops.
    const bool guarded =
        window || expressions || (!m_matcher.singleKeyword1() && !m_matcher.hasKeyword2());
    const int boundaryMode1 = o.boundaryMode1();
    const int readSlot = window ? LineWindow::kSlots - 1 : 0;
    const int searchSlot = window ? LineWindow::kCurrent : 0;
    const LayoutValues& layout = m_layout.values();
    bool finished = false;

    auto output = [&](unsigned long lineNumber, std::string_view context) {
        if (separatorPending) {
            addLine(ResultLayout::separatorLine(displayName));
            separatorPending = false;
        }
        std::string_view printed = m_layout.printedText(context);
        addLine(m_layout.hitLine(displayName, lineNumber, printed));
        ++hits;  // a hit the limit refused still counts
    };

    // The engine reports each occurrence and its length, which is K1; the boundary test on
    // the context holds as for words, and expression 2 stands for the keyword-2 test.
    auto searchExpressionLine = [&](unsigned long lineNumber) {
        m_layout.beginLine();
        const std::string_view line(scan.slot(0), scan.length(0));
        const std::string_view copy = scan.searchCopy(0, o.ignoreCase);
        std::size_t start = 0;
        while (std::optional<RegexMatch> hit = m_regex->match(1, copy, start)) {
            // A rejected match gives way to one that begins a byte later; after a hit the
            // search goes on at its end, since the tails of a match ("unning" of "running"
            // for \w+ing) are no occurrences of their own.
            start = hit->offset + 1;
            std::string_view context = m_layout.lineContext(line, hit->offset);
            if (boundaryMode1 != 0 &&
                wordcheck(boundaryMode1, context.data(), layout.l,
                          static_cast<int>(hit->length)) != 0)
                continue;
            // From byte 1: byte 0 is never printed and may be the second half of a cut
            // character, which the engine would pair with the next byte.
            if (m_secondExpression &&
                m_regex->match(2, context.substr(1), 0).has_value() == m_negateSecond)
                continue;
            output(lineNumber, context);
            start = hit->offset + hit->length;
        }
    };

    auto searchLine = [&](unsigned long lineNumber) {
        if (expressions) {
            searchExpressionLine(lineNumber);
            return;
        }
        if (!scan.candidate(searchSlot)) return;
        m_layout.beginLine();
        std::string_view copy = scan.searchCopy(searchSlot, o.ignoreCase);
        const char* nextLine = window ? scan.slot(LineWindow::kCurrent + 1) : nullptr;
        std::size_t start = 0;
        while (std::optional<Occurrence> hit = m_matcher.find(copy, start, nextLine)) {
            start = hit->offset + 1;
            std::string_view context =
                window ? m_layout.windowContext(scan.window(), hit->offset)
                       : m_layout.lineContext(std::string_view(scan.slot(searchSlot),
                                                               scan.length(searchSlot)),
                                              hit->offset);
            if (!m_matcher.acceptsContext(context, layout.l, hit->length)) continue;
            if (m_condition != nullptr
                    ? !m_condition->accepts(context, layout.l, hit->length, layout.w)
                    : !m_matcher.acceptsKeyword2(context, layout.l, hit->length, layout.w))
                continue;
            output(lineNumber, context);
        }
    };

    const bool skipping = !m_prefilterNeedle.empty();
    for (;;) {
        // Lines that cannot hold the keyword are passed over in bulk; the five before the next
        // line that might are read normally, so that its context is whole.
        if (skipping && (!window || scan.noCandidateAhead())) {
            std::size_t skipped = scan.reader().skipLines(window ? LineWindow::kCurrent : 0);
            if (skipped > 0) {
                if (window) scan.emptyWindow();
                linesRead += static_cast<long>(skipped);
                m_ui.pump();  // one message dispatch stands for the lines passed over
                if (m_ui.cancelRequested()) break;
            }
        }
        bool abandon = false;
        bool got = scan.readInto(readSlot, guarded, abandon);
        if (abandon) break;  // looks binary: no count line, its hits stay in the total
        if (!got && (!window || scan.drained())) {
            finished = true;
            break;
        }
        m_ui.pump();
        if (m_ui.cancelRequested()) break;
        ++linesRead;
        if (got) scan.shape(readSlot, preprocess);
        if (linesRead / kRefreshEveryLines != refreshBlock) {
            refreshBlock = linesRead / kRefreshEveryLines;
            if (hits != hitsAtRefresh) {
                m_ui.refreshViews(m_document.id());
                hitsAtRefresh = hits;
            }
        }
        if (!window) {
            searchLine(static_cast<unsigned long>(linesRead));
        } else {
            if (linesRead > LineWindow::kCurrent) searchLine(static_cast<unsigned long>(linesRead - 5));
            scan.rotate();
        }
    }
    if (finished && o.count && (!o.countMatched || hits > 0))
        addLine(ResultLayout::countLine(displayName, hits));
    scan.reader().close();
    m_outcome.total += hits;
    m_ui.refreshViews(m_document.id());
}

void KwicSearchRun::finishRun(const SearchRequest& request) {
    const SearchOptions& o = m_options;
    if (o.count && (!o.countMatched || m_outcome.total != 0))
        addLine(ResultLayout::totalLine(m_outcome.total));
    m_scan.reset();
    m_regex.reset();
    endSearchRun(request, m_outcome, m_document, m_state, m_ui, m_flags);
}

}  // namespace vellmora
