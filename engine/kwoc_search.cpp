#include "engine/kwoc_search.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <cstring>
#include <optional>
#include <utility>

#include "document/result_document.h"
#include "engine/corpus_file_set.h"
#include "engine/file_scan.h"
#include "engine/parallel_files.h"
#include "engine/run_support.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr int kCurrent = LineWindow::kCurrent;

constexpr std::string_view kBusyTitle = "<<Now Searching...>>";

/// True when pos starts a character of s, walking from known, itself a character start.
bool isCharacterStart(std::string_view s, std::size_t known, std::size_t pos) {
    std::size_t i = known;
    while (i < pos)
        i += ximo::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    return i == pos;
}

/// The bytes a continuation looks for in the line's last bytes: the text before the first
/// blank of a phrase, else the first character when it is a double-byte one.
std::string continuationPrefix(const std::string& word) {
    std::size_t blank = word.find(' ');
    if (blank != std::string::npos) return word.substr(0, blank);
    if (word.size() >= 2 && ximo::isLeadByte(static_cast<unsigned char>(word[0])))
        return word.substr(0, 2);
    return std::string();
}

}  // namespace

bool searchAllowedInView(const SearchState& state, int kind) {
    return state.resultState == 0 && (state.resultKind == 0 || state.resultKind == kind);
}

KwocOptions readKwocOptions(Profile& profile) {
    KwocOptions k;
    k.linesBefore = std::clamp(readStringAsInt(profile, settingKey("KWOCOptions", "ContextMae")), 0,
                               KwocOptions::kMaxContextLines);
    k.linesAfter = std::clamp(readStringAsInt(profile, settingKey("KWOCOptions", "ContextAto")), 0,
                              KwocOptions::kMaxContextLines);
    k.sepMatched = readInt(profile, settingKey("KWOCOptions", "SepMatched")) == 1;
    k.orderSensitive = readInt(profile, settingKey("KWOCOptions", "KWOrder")) == 1;
    return k;
}

void LineWordFinder::prepare(std::vector<std::string> words, int boundaryMode, bool ignoreCase,
                             char marker) {
    m_words = std::move(words);
    m_prefixes.clear();
    for (const std::string& word : m_words) m_prefixes.push_back(continuationPrefix(word));
    m_mode = boundaryMode;
    m_ignoreCase = ignoreCase;
    m_marker = marker;
}

bool LineWordFinder::standsAt(std::string_view text, std::size_t pos, std::size_t length) const {
    // text is terminated right after its end, as wordcheck reads it.
    return m_mode == 0 ||
           wordcheck(m_mode, text.data(), static_cast<int>(pos), static_cast<int>(length)) == 0;
}

bool LineWordFinder::findAny(std::string_view searchCopy, std::size_t from, const char* nextLine,
                             bool& continues) {
    continues = false;
    if (from > searchCopy.size()) return false;
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        const std::string& word = m_words[i];
        // Every occurrence is tried: one inside a longer word must not hide a later one that
        // stands free.
        for (const char* at = mbstrstr(searchCopy.data() + from, word.c_str()); at != nullptr;) {
            std::size_t pos = static_cast<std::size_t>(at - searchCopy.data());
            if (standsAt(searchCopy, pos, word.size())) return true;
            at = mbstrstr(at + std::max<std::size_t>(1, ximo::charLength(at, 0)), word.c_str());
        }
        if (continuesAt(searchCopy, from, nextLine, i)) {
            continues = true;
            return true;
        }
    }
    return false;
}

bool LineWordFinder::continuesAt(std::string_view line, std::size_t from, const char* nextLine,
                                 std::size_t index) {
    const std::string& prefix = m_prefixes[index];
    const std::string& word = m_words[index];
    if (prefix.empty() || nextLine == nullptr) return false;
    const std::size_t n = line.size();
    const std::size_t k = word.size();
    // Only the first occurrence of the prefix (at a character start) in the line's last k
    // bytes is tried, as for keyword 1.
    std::size_t at = std::max(from, n > k ? n - k : 0);
    for (;; ++at) {
        at = line.find(prefix, at);
        if (at == std::string_view::npos) return false;
        if (isCharacterStart(line, from, at)) break;
    }
    // The joined text: one byte before the occurrence for the boundary test, the rest of the
    // line with a "/" line end read as a blank, then enough of the next line.
    const std::size_t before = at > 0 ? 1 : 0;
    m_joined.assign(line.substr(at - before));
    if (m_marker == '/' && !m_joined.empty() && m_joined.back() == '/') m_joined.back() = ' ';
    const std::size_t lineBytes = m_joined.size();
    const std::size_t wanted = before + k + 1;
    if (wanted > lineBytes) {
        m_joined.append(nextLine, strnlen(nextLine, wanted - lineBytes));
        if (m_ignoreCase) mbstrlwr(m_joined.data() + lineBytes);
    }
    if (m_joined.size() < before + k || m_joined.compare(before, k, word) != 0) return false;
    return at + k > n && standsAt(m_joined, before, k);
}

KwocSearchRun::KwocSearchRun(const SearchOptions& options, const KwocOptions& kwoc,
                             Profile& profile, UserInterface& ui, CPyxoDoc& document,
                             SearchState& state)
    : m_options(options),
      m_kwoc(kwoc),
      m_profile(profile),
      m_ui(ui),
      m_document(document),
      m_state(state) {
    // The line test knows no keyword-2 range: keyword 2 is looked for in the line itself,
    // read forwards. The context lines need the window whatever bOneLine says.
    m_options.mae = false;
    m_options.bummatsu = false;
    m_options.oneLine = false;
    m_kwoc.linesBefore = std::clamp(m_kwoc.linesBefore, 0, KwocOptions::kMaxContextLines);
    m_kwoc.linesAfter = std::clamp(m_kwoc.linesAfter, 0, KwocOptions::kMaxContextLines);
}

KwocSearchRun::~KwocSearchRun() = default;

SearchOutcome KwocSearchRun::run(const SearchRequest& request, ApplicationSearchFlags* flags) {
    const SearchOptions& o = m_options;
    m_outcome = SearchOutcome{};
    m_ui.setBeepSilenced(o.beepSilenced);
    m_state.busy = true;
    if (flags != nullptr) flags->running = true;

    // Without the engine a bGrep search runs as a plain one: its keywords are words.
    const bool expressions = o.grep && m_expressions.openEngine();
    if (!expressions) {
        // With OR the matcher makes keyword 2's words alternatives of keyword 1.
        m_matcher.prepare(o, m_profile, request.keyword1, request.keyword2);
        m_keyword2.prepare(m_matcher.keyword2Words(), o.boundaryMode2(), o.ignoreCase,
                           o.lineEndMarker());
    }

    m_ui.clearCancel();
    bool collected = collectRequestFiles(request, o, m_state.files, m_ui, m_document.id());
    if (expressions && collected &&
        !m_expressions.compile(request.keyword1, request.keyword2, o.method, o.ignoreCase,
                               m_profile, kKwocExpressionMessages, m_ui)) {
        abandonSearchRun(m_state, m_ui, flags);
        return m_outcome;
    }
    m_layout.start(o, m_state.files, static_cast<int>(request.keyword1.text.size()));
    m_state.layout = m_layout.values();

    m_ui.clearCancel();
    m_state.resultKind = kKwocResultKind;
    m_ui.showBusyTitle(m_document.id(), kBusyTitle);
    m_state.resultState = 1;
    m_scan = std::make_unique<FileScan>(o);
    m_scan->guard().reset();
    m_scan->preprocessor().startRun(preprocessOptionsOf(o));
    m_prefilterNeedles = prefilterNeedles(o, m_matcher, m_expressions);
    m_scan->setNeedles(m_prefilterNeedles, o.ignoreCase);

    // A tag left open carries over into the next file: such runs read one file after another.
    if (collected && o.jobs > 1 && m_state.files.count() > 1 && !o.deHtml) {
        searchInParallel(request);
    } else if (collected) {
        forEachCorpusFile(m_profile, m_state.files, m_ui,
                          [this](const std::string& path) { searchOnThisThread(path); });
    }
    m_outcome.cancelled = (m_ui.cancelRequested() && !m_outcome.limitReached) || !collected;
    finishRun(request, flags);
    return m_outcome;
}

bool KwocSearchRun::addLine(std::string_view line) {
    if (m_document.addSearchLine(line, static_cast<unsigned>(m_options.maxLine))) return true;
    // The limit ends the run after the current line, as a cancel would.
    m_outcome.limitReached = true;
    m_ui.requestCancel();
    return false;
}

KwocSearchRun::LineMatch KwocSearchRun::testLine(const Tools& tools, std::string_view copy,
                                                 const char* nextLine) {
    // The earliest occurrence of any keyword-1 word that stands as a word is the one to test
    // keyword 2 against: keyword 2 after it is keyword 2 after some keyword-1 word. The
    // matcher finds a single word byte-wise; this test wants whole characters.
    std::optional<Occurrence> hit;
    for (std::size_t start = 0; (hit = tools.matcher->find(copy, start, nextLine));
         start = hit->offset + 1) {
        if (isCharacterStart(copy, 0, hit->offset)) break;
    }
    if (!hit) return {};
    if (tools.keyword2->empty()) return {true, hit->continues};
    bool keyword2Continues = false;
    const std::size_t from = m_kwoc.orderSensitive ? hit->offset : 0;
    const bool found = tools.keyword2->findAny(copy, from, nextLine, keyword2Continues);
    const bool notSearch = m_options.method == 1;
    if (found == notSearch) return {};
    return {true, hit->continues || (found && keyword2Continues)};
}

KwocSearchRun::LineMatch KwocSearchRun::testExpressionLine(const Tools& tools,
                                                           std::string_view copy) {
    // The first match that stands as keyword 1's boundary mode requires is the one keyword 2
    // is looked for after; an expression never runs on into the next line.
    const int boundaryMode1 = m_options.boundaryMode1();
    std::optional<RegexMatch> hit;
    for (std::size_t start = 0; (hit = tools.expressions->findFirst(copy, start));
         start = hit->offset + 1) {
        if (boundaryMode1 == 0 ||
            wordcheck(boundaryMode1, copy.data(), static_cast<int>(hit->offset),
                      static_cast<int>(hit->length)) == 0)
            break;
    }
    if (!hit) return {};
    const std::size_t from = m_kwoc.orderSensitive ? hit->offset : 0;
    return {tools.expressions->secondAccepts(copy.substr(from)), false};
}

void KwocSearchRun::writeMatch(const Tools& tools, ResultSink& sink, std::string_view displayName,
                               long lineNumber, bool continues, bool& separatorPending,
                               long& hits) {
    const FileScan& scan = *tools.scan;
    const int before = m_kwoc.linesBefore;
    const int after = m_kwoc.linesAfter;
    if (!m_options.noSeparator) {
        const bool oncePerFile = m_kwoc.sepMatched && before == 0 && after == 0;
        if (!oncePerFile || separatorPending)
            sink.add(ResultLayout::separatorLine(displayName), lineNumber, false);
        separatorPending = false;
    }
    // The matched line counts as the hit; its context lines are lines of the same match.
    auto write = [&](int slot, long number) {
        std::string_view text(scan.slot(slot), scan.length(slot));
        sink.add(tools.layout->hitLine(displayName, static_cast<unsigned long>(number), text),
                 lineNumber, slot == kCurrent);
    };
    // The window was emptied when the file opened: lines before the file's first are not
    // written at all, not even as empty ones.
    const int shown = static_cast<int>(std::min<long>(before, lineNumber - 1));
    for (int i = shown; i >= 1; --i) write(kCurrent - i, lineNumber - i);
    write(kCurrent, lineNumber);
    ++hits;  // a match the limit refused still counts
    // The rest of a keyword that runs on into the next line is shown even without context.
    const int shownAfter = after + (continues && after < KwocOptions::kMaxContextLines ? 1 : 0);
    for (int i = 1; i <= shownAfter; ++i) write(kCurrent + i, lineNumber + i);
}

KwocSearchRun::FileReport KwocSearchRun::searchFile(const Tools& tools, UserInterface& ui,
                                                    ResultSink& sink, const std::string& path) {
    FileScan& scan = *tools.scan;
    const SearchOptions& o = m_options;
    FileReport report;
    if (!scan.reader().open(path)) return report;  // skipped silently, counted nowhere
    report.opened = true;

    // Every match brings its own separator, so none is written when the file opens.
    const std::string displayName = displayNameOf(o, path);
    bool separatorPending = true;
    report.encoding = scan.startFile(o);
    // Lines of the previous file (abandoned or cancelled) must not show as context here.
    scan.emptyWindow();

    const bool expressions = tools.expressions->active();
    LineLoopMode mode;
    mode.preprocess = o.preprocessing() || scan.fileConverted();
    mode.skipping = scan.prefiltering();
    long& hits = report.hits;
    const bool finished =
        readFileLines(scan, mode, ui, m_document.id(), hits, [&](long lineNumber) {
            if (!scan.candidate(kCurrent)) return;
            std::string_view copy = scan.searchCopy(kCurrent, o.ignoreCase);
            LineMatch match = expressions ? testExpressionLine(tools, copy)
                                          : testLine(tools, copy, scan.slot(kCurrent + 1));
            if (match.matched)
                writeMatch(tools, sink, displayName, lineNumber, match.continues,
                           separatorPending, hits);
        });
    if (finished && o.count && (!o.countMatched || hits > 0))
        sink.add(ResultLayout::countLine(displayName, hits), ResultSink::kAfterLastLine, false);
    scan.reader().close();
    return report;
}

void KwocSearchRun::searchOnThisThread(const std::string& path) {
    DocumentSink sink([this](std::string_view line) { return addLine(line); });
    const Tools tools{m_scan.get(), &m_matcher, &m_keyword2, &m_layout, &m_expressions};
    const FileReport report = searchFile(tools, m_ui, sink, path);
    if (!report.opened) return;
    if (m_options.autoCode) m_readAs.note(path, report.encoding);
    ++m_outcome.filesOpened;
    m_outcome.total += report.hits;
    m_ui.refreshViews(m_document.id());
}

struct KwocSearchRun::WorkerTools {
    std::unique_ptr<FileScan> scan;
    KeywordMatcher matcher;
    LineWordFinder keyword2;
    ResultLayout layout;
    SearchExpressions expressions;
    Tools tools() { return {scan.get(), &matcher, &keyword2, &layout, &expressions}; }
};

void KwocSearchRun::searchInParallel(const SearchRequest& request) {
    ParallelFileLoop loop;
    loop.paths.assign(m_state.files.begin(), m_state.files.end());
    loop.workers = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(m_options.jobs), loop.paths.size()));
    loop.searchHere = [this](const std::string& path) { searchOnThisThread(path); };
    std::vector<std::unique_ptr<WorkerTools>> workers;
    for (int i = 0; i < loop.workers; ++i) {
        auto tools = std::make_unique<WorkerTools>();
        tools->scan = workerScan(m_options, m_prefilterNeedles);
        tools->matcher = m_matcher;
        tools->keyword2 = m_keyword2;
        tools->layout = m_layout;
        if (!compileWorkerExpressions(tools->expressions, m_expressions.active(), request,
                                      m_options, m_profile, kKwocExpressionMessages)) {
            forEachCorpusFile(m_profile, m_state.files, m_ui, loop.searchHere);
            return;
        }
        workers.push_back(std::move(tools));
    }
    searchInWorkers(loop, workers, *this, &KwocSearchRun::searchFile, m_options, m_readAs);
    loop.addLine = [this](std::string_view line) { return addLine(line); };
    runParallelFileLoop(loop, m_profile, m_ui, m_scan->guard(), m_outcome,
                        [this] { m_ui.refreshViews(m_document.id()); });
}

void KwocSearchRun::finishRun(const SearchRequest& request, ApplicationSearchFlags* flags) {
    const SearchOptions& o = m_options;
    if (o.count && (!o.countMatched || m_outcome.total != 0))
        addLine(ResultLayout::totalLine(m_outcome.total));
    m_scan.reset();
    m_expressions.release();
    if (o.autoCode) m_outcome.readAs = m_readAs.inListOrder(m_state.files, o);
    endSearchRun(request, m_outcome, m_document, m_state, m_ui, flags);
}

}  // namespace vellmora
