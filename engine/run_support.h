#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/corpus_file_set.h"
#include "engine/file_scan.h"
#include "engine/keyword_matcher.h"
#include "engine/pattern_literals.h"
#include "engine/parallel_files.h"
#include "engine/preprocessor.h"
#include "engine/search_options.h"
#include "engine/search_expressions.h"
#include "engine/search_run.h"
#include "document/result_document.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"
#include "textlib/sjis.h"

namespace vellmora {

// Small pieces every search run variant needs in the same form, so that the KWIC, KWOC and
// later runs read the same corpus and name files the same way.

/// directory + name, with exactly one "/" between them when the directory is not empty.
inline std::string joinDirectory(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

/// The file-name part of a path: what follows its last "/".
inline std::string_view fileNamePart(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

/// The name separator, count and hit lines show for a file: the path as listed, or only its
/// file name with TagFName. Case is kept: the name must stay a valid path for the editor jump.
inline std::string displayNameOf(const SearchOptions& options, std::string_view path) {
    return std::string(options.tagFName ? fileNamePart(path) : path);
}

/// The corpus a request names: the patterns only when a file name is given, the response file
/// only when one is given.
inline CorpusRequest corpusRequestOf(const SearchRequest& request, const SearchOptions& options) {
    CorpusRequest corpus;
    if (!request.fileName.empty()) {
        corpus.fileName = request.fileName;
        corpus.directory = request.directory;
    }
    if (!request.resFile.empty())
        corpus.responseFile = joinDirectory(request.resFileDir, request.resFile);
    corpus.subdirectories = options.subdir;
    return corpus;
}

/// Fills files with the corpus of request: the dropped files as they are, or the files its
/// patterns and response file name. False when the collection was quit.
inline bool collectRequestFiles(const SearchRequest& request, const SearchOptions& options,
                                CExStringList& files, UserInterface& ui, DocumentId document) {
    files.removeAll();
    if (request.droppedFiles != nullptr) {
        for (const std::string& path : *request.droppedFiles) files.addTail(path);
        return true;
    }
    return collectCorpusFiles(corpusRequestOf(request, options), files, ui, document);
}

/// The line rewrites of the options snapshot.
inline PreprocessOptions preprocessOptionsOf(const SearchOptions& options) {
    PreprocessOptions pre;
    // With AutoCode each file brings its own conversion (FileScan::startFile).
    pre.utf8ToSjis = options.utf8ToSjis && !options.autoCode;
    pre.eucToSjis = options.eucToSjis && !options.autoCode;
    pre.jisToSjis = options.jisToSjis && !options.autoCode;
    pre.ctrlCode = options.ctrlCode;
    pre.delSpace1 = options.delSpace1;
    pre.delSpace3 = options.delSpace3;
    pre.deHtml = options.deHtml;
    return pre;
}

/// The bytes every line holding a hit must hold as they stand in the file (up to ASCII case
/// when case is ignored), or empty when no such bytes can be named. Shaping a line turns TABs
/// into blanks, trims trailing blanks, adds the marker and cuts the head; the rewrites change
/// bytes freely; a continuing keyword ends on the next line. Only a single keyword clear of
/// all of that lets the reader pass over the lines that do not hold it.
inline std::string prefilterNeedle(const SearchOptions& options, const KeywordMatcher& matcher) {
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

/// The literals one of which every line holding a match of pattern holds as it stands in the
/// file (up to ASCII case when case is ignored), or none. A blank in the line may have been a
/// TAB and the marker was a line end; the rewrites change bytes freely.
inline std::vector<std::string> expressionPrefilterNeedles(const SearchOptions& options,
                                                           std::string_view pattern) {
    if (!options.prefilter || options.preprocessing()) return {};
    std::string unusable = " ";
    if (options.lineEndMarker() != '\0') unusable += options.lineEndMarker();
    std::vector<std::string> literals = requiredLiterals(pattern, options.ignoreCase, unusable);
    // Looking for a single byte passes over too few lines to pay for itself.
    for (const std::string& literal : literals) {
        if (literal.size() < 2) return {};
    }
    return literals;
}

/// What the reader's prefilter of a run looks for: keyword 1's expression's literals, or the
/// single keyword; none when every line must be searched.
inline std::vector<std::string> prefilterNeedles(const SearchOptions& options,
                                                 const KeywordMatcher& matcher,
                                                 const SearchExpressions& expressions) {
    if (expressions.active()) return expressionPrefilterNeedles(options, expressions.firstPattern());
    std::string needle = prefilterNeedle(options, matcher);
    if (needle.empty()) return {};
    return {needle};
}

/// The file loop of every search run: each listed path in order, skipping excluded extensions
/// while Options/Exclude is 1 (read afresh for every file: it may change while the run goes
/// on), until the run is cancelled.
template <class SearchFile>
void forEachCorpusFile(Profile& profile, const CExStringList& files, UserInterface& ui,
                       SearchFile&& searchFile) {
    CExcludeFile exclusions;
    exclusions.build(profile);
    for (const std::string& path : files) {
        bool exclude = readInt(profile, settingKey("Options", "Exclude")) == 1;
        if (exclude && exclusions.isExcluded(path)) continue;
        searchFile(path);
        if (ui.cancelRequested()) break;
    }
}

/// A run given up before any file is read (an expression failed): the busy flags go, nothing
/// else happens.
inline void abandonSearchRun(SearchState& state, UserInterface& ui,
                             ApplicationSearchFlags* flags) {
    state.files.removeAll();
    ui.clearCancel();
    state.busy = false;
    if (flags != nullptr) flags->running = false;
}

/// The end of every search run after its total line: views refreshed, the title restored, the
/// result counted, the failure messages ("Failed to open files...(;_;)", "Failed to open
/// response files...(;_;)", "Failed to find...(--;)"), the view's state, the final beep and
/// the busy flags cleared.
inline void endSearchRun(const SearchRequest& request, const SearchOutcome& outcome,
                         CPyxoDoc& document, SearchState& state, UserInterface& ui,
                         ApplicationSearchFlags* flags) {
    ui.refreshViews(document.id());
    ui.restoreTitle(document.id());
    state.resultLines = document.searchResultCount();
    if (outcome.filesOpened == 0) {
        state.resultState = 0;
        state.resultKind = 0;
        // Quitting while the files were collected opened none on purpose: nothing failed.
        if (!outcome.cancelled) {
            if (!request.fileName.empty() || request.droppedFiles != nullptr)
                ui.alert("Failed to open files...(;_;)");
            if (!request.resFile.empty()) ui.alert("Failed to open response files...(;_;)");
        }
    } else if (outcome.total == 0) {
        state.resultState = 0;
        state.resultKind = 0;
        ui.alert("Failed to find...(--;)");
    }
    state.files.removeAll();
    ui.alertBeep();
    ui.clearCancel();
    state.busy = false;
    if (flags != nullptr) flags->running = false;
}

/// A worker's own scan, with the run's rewrites and prefilter.
inline std::unique_ptr<FileScan> workerScan(const SearchOptions& options,
                                            const std::vector<std::string>& needles) {
    auto scan = std::make_unique<FileScan>(options);
    scan->preprocessor().startRun(preprocessOptionsOf(options));
    scan->setNeedles(needles, options.ignoreCase);
    return scan;
}

/// A worker's own expressions, compiled as the run's were (the run's compiled, so these do
/// unless the engine fails them); true at once when the run searches none.
inline bool compileWorkerExpressions(SearchExpressions& expressions, bool runHasExpressions,
                                     const SearchRequest& request, const SearchOptions& options,
                                     Profile& profile, const ExpressionMessages& messages) {
    if (!runHasExpressions) return true;
    std::atomic<bool> never{false};
    WorkerUserInterface silent(never);
    return expressions.openEngine() &&
           expressions.compile(request.keyword1, request.keyword2, options.method,
                               options.ignoreCase, profile, messages, silent);
}

/// The worker side of a run's parallel file loop: a worker searches its file with its own
/// tools into the file's buffer and keeps what its binary-file guard counted; what each file
/// was read as is noted as its lines are added. (run.*searchFile)(tools, ui, sink, path) is
/// the run's search of one file; workers[i]->scan and workers[i]->tools() are worker i's.
template <class Workers, class Run, class SearchFile>
void searchInWorkers(ParallelFileLoop& loop, Workers& workers, Run& run, SearchFile searchFile,
                     const SearchOptions& options, ReadAsRecord& readAs) {
    loop.searchInWorker = [&workers, &run, searchFile](int worker, const std::string& path,
                                                       UserInterface& ui, FileLines& file) {
        FileScan& scan = *workers[worker]->scan;
        scan.guard().reset();
        FileLinesSink sink(file);
        const FileSearchReport report =
            (run.*searchFile)(workers[worker]->tools(), ui, sink, path);
        file.opened = report.opened;
        file.encoding = report.encoding;
        file.guardCounted = scan.guard().counted() != 0;
        file.guardCount = scan.guard().count();
    };
    loop.added = [&options, &readAs](const std::string& path, const FileLines& file) {
        if (options.autoCode) readAs.note(path, file.encoding);
    };
}

}  // namespace vellmora
