#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "engine/encoding_detection.h"
#include "engine/keyword_matcher.h"
#include "engine/search_expressions.h"
#include "engine/result_layout.h"
#include "engine/parallel_files.h"
#include "engine/search_options.h"

namespace vellmora {

class CPyxoDoc;
class FileScan;
class ResultSink;
class Profile;
class UserInterface;

/// One search request as the search dialog confirms it.
struct SearchRequest {
    KeywordSpec keyword1;
    KeywordSpec keyword2;
    std::string fileName;    ///< patterns separated by ";"
    std::string directory;   ///< ends with "/"
    std::string resFile;     ///< response file name, or empty
    std::string resFileDir;  ///< its directory
    /// Files dropped on the view: when set, exactly these are searched, in this order, and
    /// the fields above name no corpus. Must outlive the run.
    const CExStringList* droppedFiles = nullptr;
};

/// The state a result view keeps of its search and its result.
struct SearchState {
    int resultState = 0;  ///< 0 empty or prepared for adding, 1 holds a result
    int resultKind = 0;   ///< 0 none, 1 KWIC, 2 KWOC
    bool busy = false;
    CExStringList files;  ///< the corpus file list of the running search
    LayoutValues layout;
    long resultLines = 0;  ///< result lines when the run ended
};

/// A test every hit must pass besides keyword 1's own: the positioned search puts its word
/// positions here in place of the keyword-2 range test.
class HitCondition {
public:
    virtual ~HitCondition() = default;
    /// context is the hit's context buffer with keyword 1 (k1 bytes) at byte l; w its width.
    virtual bool accepts(std::string_view context, int l, std::size_t k1, int w) = 0;
};

/// What the whole program knows of searches: one runs at a time, in whichever window.
struct ApplicationSearchFlags {
    bool running = false;
};

/// The busy protocol of every search command: while a search runs anywhere, or the view is
/// busy, the command beeps (unless silenced), shows "I'm busy now. Please wait for a
/// minutes.m(__)m" and does nothing else. True when the command must stop.
bool refuseWhileBusy(const ApplicationSearchFlags& flags, const SearchState& state,
                     UserInterface& ui);

/// What a file of a run was read as: told to the user, never part of the result lines.
struct FileReadAs {
    std::string displayName;  ///< as the file's separator and count lines name it
    InputEncoding encoding = InputEncoding::ShiftJis;
};

/// The encodings the files of a run were read as. Only the run's own thread notes them, as
/// each file's lines go into the result: a file a worker read ahead of a cancel is not among
/// them.
class ReadAsRecord {
public:
    void note(const std::string& path, InputEncoding encoding) { m_byPath[path] = encoding; }
    /// The files noted, in the order of files, under their display names.
    std::vector<FileReadAs> inListOrder(const CExStringList& files,
                                        const SearchOptions& options) const;

private:
    std::map<std::string, InputEncoding> m_byPath;
};

/// How a run ended, for callers that report it (the batch front end's exit status).
struct SearchOutcome {
    int filesOpened = 0;
    long total = 0;
    bool cancelled = false;
    bool limitReached = false;
    /// With AutoCode, what each file opened was read as, in list order; else empty.
    std::vector<FileReadAs> readAs;
    bool failed() const { return filesOpened == 0 || total == 0; }
};

/// Runs one KWIC search: collects the corpus, reads every line of every file through an
/// eleven-line window, finds and tests each keyword occurrence and appends the laid-out hit
/// lines, separators and counts to the document's search result. Messages, the busy title,
/// refreshes and cancellation go through the user interface. One object per run.
class KwicSearchRun {
public:
    KwicSearchRun(const SearchOptions& options, Profile& profile, UserInterface& ui,
                  CPyxoDoc& document, SearchState& state);
    ~KwicSearchRun();
    KwicSearchRun(const KwicSearchRun&) = delete;
    KwicSearchRun& operator=(const KwicSearchRun&) = delete;

    /// Replaces the keyword-2 range test by condition (the positioned search); keyword 2's
    /// words are then taken as they are, never reversed. Set before run(). A search with
    /// regular expressions does not consult it: expression 2 is its keyword-2 test.
    void setHitCondition(HitCondition* condition) { m_condition = condition; }
    /// The wordings of the expression failures (each search command has its own). Set before
    /// run().
    void setExpressionMessages(const ExpressionMessages& messages) {
        m_expressionMessages = messages;
    }

    /// Runs the request to its end (or to a cancel) and shows the end-of-run messages. The
    /// application's running flag, when given, is set for as long as the run lasts.
    SearchOutcome run(const SearchRequest& request, ApplicationSearchFlags* flags = nullptr);

private:
    /// What a file search uses that a worker needs its own of.
    struct Tools {
        FileScan* scan;
        KeywordMatcher* matcher;
        ResultLayout* layout;
        SearchExpressions* expressions;
    };
    struct WorkerTools;
    using FileReport = FileSearchReport;

    FileReport searchFile(const Tools& tools, UserInterface& ui, ResultSink& sink,
                          const std::string& path);
    void searchOnThisThread(const std::string& path);
    bool searchesInParallel() const;
    bool prepareWorkers(const SearchRequest& request,
                        std::vector<std::unique_ptr<WorkerTools>>& workers, int count);
    void searchInParallel(const SearchRequest& request);
    void finishRun(const SearchRequest& request);
    bool addLine(std::string_view line);

    const SearchOptions& m_options;
    Profile& m_profile;
    UserInterface& m_ui;
    CPyxoDoc& m_document;
    SearchState& m_state;
    KeywordMatcher m_matcher;
    ResultLayout m_layout;
    SearchOutcome m_outcome;
    std::vector<std::string> m_prefilterNeedles;  // empty when every line must be searched
    ApplicationSearchFlags* m_flags = nullptr;  // cleared when the run ends
    HitCondition* m_condition = nullptr;
    std::unique_ptr<FileScan> m_scan;
    ReadAsRecord m_readAs;
    ExpressionMessages m_expressionMessages;
    SearchExpressions m_expressions;  // active for the length of a regular-expression run
};

}  // namespace vellmora
