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
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::string_view kBusyTitle = "<<Now Searching...>>";
constexpr std::string_view kBusy = "I'm busy now. Please wait for a minutes.m(__)m";

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
    const bool expressions = m_options.grep && m_expressions.openEngine();
    if (!expressions)
        m_matcher.prepare(m_options, m_profile, request.keyword1, request.keyword2,
                          m_condition != nullptr);
    m_ui.clearCancel();
    bool collected =
        collectRequestFiles(request, m_options, m_state.files, m_ui, m_document.id());
    if (expressions && collected &&
        !m_expressions.compile(request.keyword1, request.keyword2, m_options.method,
                               m_options.ignoreCase, m_profile, m_expressionMessages, m_ui)) {
        abandonSearchRun(m_state, m_ui, flags);
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
    m_prefilterNeedles = prefilterNeedles(m_options, m_matcher, m_expressions);
    m_scan->reader().setNeedles(m_prefilterNeedles, m_options.ignoreCase);

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
    bool separatorPending = o.sepMatched;
    ++m_outcome.filesOpened;
    scan.preprocessor().startFile();
    // A file abandoned as binary, or given up when a run was cancelled, leaves lines in the
    // window; they must not show as context of the next file's first hits.
    scan.emptyWindow();

    // Expressions are searched line by line, whatever bOneLine says.
    const bool expressions = m_expressions.active();
    const bool window = !o.oneLine && !expressions;
    // The binary-file guard watches every loop but the single-keyword and keyword-2 line loops.
    const bool guarded =
        window || expressions || (!m_matcher.singleKeyword1() && !m_matcher.hasKeyword2());
    const int boundaryMode1 = o.boundaryMode1();
    const int searchSlot = window ? LineWindow::kCurrent : 0;
    const LayoutValues& layout = m_layout.values();

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
        if (!scan.candidate(0)) return;
        m_layout.beginLine();
        const std::string_view line(scan.slot(0), scan.length(0));
        const std::string_view copy = scan.searchCopy(0, o.ignoreCase);
        std::size_t start = 0;
        while (std::optional<RegexMatch> hit = m_expressions.findFirst(copy, start)) {
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
            if (!m_expressions.secondAccepts(context.substr(1))) continue;
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

    LineLoopMode mode;
    mode.window = window;
    mode.guarded = guarded;
    mode.preprocess = o.preprocessing();
    mode.skipping = !m_prefilterNeedles.empty();
    const bool finished = readFileLines(scan, mode, m_ui, m_document.id(), hits, [&](long n) {
        searchLine(static_cast<unsigned long>(n));
    });
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
    m_expressions.release();
    endSearchRun(request, m_outcome, m_document, m_state, m_ui, m_flags);
}

}  // namespace vellmora
