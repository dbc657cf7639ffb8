#include "engine/search_run.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <cstring>
#include <vector>

#include "document/result_document.h"
#include "engine/file_scan.h"
#include "engine/parallel_files.h"
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
    m_scan->setNeedles(m_prefilterNeedles, m_options.ignoreCase);

    if (collected && searchesInParallel()) {
        searchInParallel(request);
    } else if (collected) {
        forEachCorpusFile(m_profile, m_state.files, m_ui,
                          [this](const std::string& path) { searchOnThisThread(path); });
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

KwicSearchRun::FileReport KwicSearchRun::searchFile(const Tools& tools, UserInterface& ui,
                                                    ResultSink& sink, const std::string& path) {
    FileScan& scan = *tools.scan;
    KeywordMatcher& matcher = *tools.matcher;
    ResultLayout& layout = *tools.layout;
    SearchExpressions& expressions = *tools.expressions;
    const SearchOptions& o = m_options;
    FileReport report;
    if (!scan.reader().open(path)) return report;  // skipped silently, counted nowhere
    report.opened = true;

    const std::string displayName = displayNameOf(o, path);
    if (!o.noSeparator && !o.sepMatched && !o.tagAsIs && !o.tagFName)
        sink.add(ResultLayout::separatorLine(displayName), 0, false);
    long& hits = report.hits;
    bool separatorPending = o.sepMatched;
    report.encoding = scan.startFile(o);
    // A file abandoned as binary, or given up when a run was cancelled, leaves lines in the
    // window; they must not show as context of the next file's first hits.
    scan.emptyWindow();

    // Expressions are searched line by line, whatever bOneLine says.
    const bool searchingExpressions = expressions.active();
    const bool window = !o.oneLine && !searchingExpressions;
    // The binary-file guard watches every loop but the single-keyword and keyword-2 line loops.
    const bool guarded = window || searchingExpressions ||
                         (!matcher.singleKeyword1() && !matcher.hasKeyword2());
    const int boundaryMode1 = o.boundaryMode1();
    const int searchSlot = window ? LineWindow::kCurrent : 0;
    const LayoutValues& values = layout.values();

    auto output = [&](unsigned long lineNumber, std::string_view context) {
        const long source = static_cast<long>(lineNumber);
        if (separatorPending) {
            sink.add(ResultLayout::separatorLine(displayName), source, false);
            separatorPending = false;
        }
        std::string_view printed = layout.printedText(context);
        sink.add(layout.hitLine(displayName, lineNumber, printed), source, true);
        ++hits;  // a hit the limit refused still counts
    };

    // The engine reports each occurrence and its length, which is K1; the boundary test on
    // the context holds as for words, and expression 2 stands for the keyword-2 test.
    auto searchExpressionLine = [&](unsigned long lineNumber) {
        if (!scan.candidate(0)) return;
        layout.beginLine();
        const std::string_view line(scan.slot(0), scan.length(0));
        const std::string_view copy = scan.searchCopy(0, o.ignoreCase);
        std::size_t start = 0;
        while (std::optional<RegexMatch> hit = expressions.findFirst(copy, start)) {
            // A rejected match gives way to one that begins a byte later; after a hit the
            // search goes on at its end, since the tails of a match ("unning" of "running"
            // for \w+ing) are no occurrences of their own.
            start = hit->offset + 1;
            std::string_view context = layout.lineContext(line, hit->offset);
            if (boundaryMode1 != 0 &&
                wordcheck(boundaryMode1, context.data(), values.l,
                          static_cast<int>(hit->length)) != 0)
                continue;
            // From byte 1: byte 0 is never printed and may be the second half of a cut
            // character, which the engine would pair with the next byte.
            if (!expressions.secondAccepts(context.substr(1))) continue;
            output(lineNumber, context);
            start = hit->offset + hit->length;
        }
    };

    auto searchLine = [&](unsigned long lineNumber) {
        if (searchingExpressions) {
            searchExpressionLine(lineNumber);
            return;
        }
        if (!scan.candidate(searchSlot)) return;
        layout.beginLine();
        std::string_view copy = scan.searchCopy(searchSlot, o.ignoreCase);
        const char* nextLine = window ? scan.slot(LineWindow::kCurrent + 1) : nullptr;
        std::size_t start = 0;
        while (std::optional<Occurrence> hit = matcher.find(copy, start, nextLine)) {
            start = hit->offset + 1;
            std::string_view context =
                window ? layout.windowContext(scan.window(), hit->offset)
                       : layout.lineContext(std::string_view(scan.slot(searchSlot),
                                                             scan.length(searchSlot)),
                                            hit->offset);
            if (!matcher.acceptsContext(context, values.l, hit->length)) continue;
            if (m_condition != nullptr
                    ? !m_condition->accepts(context, values.l, hit->length, values.w)
                    : !matcher.acceptsKeyword2(context, values.l, hit->length, values.w))
                continue;
            output(lineNumber, context);
        }
    };

    LineLoopMode mode;
    mode.window = window;
    mode.guarded = guarded;
    mode.preprocess = o.preprocessing() || scan.fileConverted();
    mode.skipping = scan.prefiltering();
    const bool finished = readFileLines(scan, mode, ui, m_document.id(), hits, [&](long n) {
        searchLine(static_cast<unsigned long>(n));
    });
    if (finished && o.count && (!o.countMatched || hits > 0))
        sink.add(ResultLayout::countLine(displayName, hits), ResultSink::kAfterLastLine, false);
    scan.reader().close();
    return report;
}

void KwicSearchRun::searchOnThisThread(const std::string& path) {
    DocumentSink sink([this](std::string_view line) { return addLine(line); });
    const Tools tools{m_scan.get(), &m_matcher, &m_layout, &m_expressions};
    const FileReport report = searchFile(tools, m_ui, sink, path);
    if (!report.opened) return;
    if (m_options.autoCode) m_readAs.note(path, report.encoding);
    ++m_outcome.filesOpened;
    m_outcome.total += report.hits;
    m_ui.refreshViews(m_document.id());
}

bool KwicSearchRun::searchesInParallel() const {
    // A tag left open carries over into the next file, and the positioned search's test is
    // one object: those runs read their files one after another.
    return m_options.jobs > 1 && m_state.files.count() > 1 && m_condition == nullptr &&
           !m_options.deHtml;
}

struct KwicSearchRun::WorkerTools {
    std::unique_ptr<FileScan> scan;
    KeywordMatcher matcher;
    ResultLayout layout;
    SearchExpressions expressions;
    Tools tools() { return {scan.get(), &matcher, &layout, &expressions}; }
};

bool KwicSearchRun::prepareWorkers(const SearchRequest& request,
                                   std::vector<std::unique_ptr<WorkerTools>>& workers,
                                   int count) {
    for (int i = 0; i < count; ++i) {
        auto tools = std::make_unique<WorkerTools>();
        tools->scan = workerScan(m_options, m_prefilterNeedles);
        tools->matcher = m_matcher;
        tools->layout = m_layout;
        if (!compileWorkerExpressions(tools->expressions, m_expressions.active(), request,
                                      m_options, m_profile, m_expressionMessages))
            return false;
        workers.push_back(std::move(tools));
    }
    return true;
}

void KwicSearchRun::searchInParallel(const SearchRequest& request) {
    ParallelFileLoop loop;
    loop.paths.assign(m_state.files.begin(), m_state.files.end());
    loop.workers = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(m_options.jobs), loop.paths.size()));
    std::vector<std::unique_ptr<WorkerTools>> workers;
    loop.searchHere = [this](const std::string& path) { searchOnThisThread(path); };
    if (!prepareWorkers(request, workers, loop.workers)) {
        forEachCorpusFile(m_profile, m_state.files, m_ui, loop.searchHere);
        return;
    }
    searchInWorkers(loop, workers, *this, &KwicSearchRun::searchFile, m_options, m_readAs);
    loop.addLine = [this](std::string_view line) { return addLine(line); };
    runParallelFileLoop(loop, m_profile, m_ui, m_scan->guard(), m_outcome,
                        [this] { m_ui.refreshViews(m_document.id()); });
}

void KwicSearchRun::finishRun(const SearchRequest& request) {
    const SearchOptions& o = m_options;
    if (o.count && (!o.countMatched || m_outcome.total != 0))
        addLine(ResultLayout::totalLine(m_outcome.total));
    m_scan.reset();
    m_expressions.release();
    if (o.autoCode) m_outcome.readAs = m_readAs.inListOrder(m_state.files, o);
    endSearchRun(request, m_outcome, m_document, m_state, m_ui, m_flags);
}

std::vector<FileReadAs> ReadAsRecord::inListOrder(const CExStringList& files,
                                                  const SearchOptions& options) const {
    std::vector<FileReadAs> readAs;
    for (const std::string& path : files) {
        auto noted = m_byPath.find(path);
        if (noted != m_byPath.end()) readAs.push_back({displayNameOf(options, path), noted->second});
    }
    return readAs;
}

}  // namespace vellmora
