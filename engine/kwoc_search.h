#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keyword_matcher.h"
#include "engine/result_layout.h"
#include "engine/search_expressions.h"
#include "engine/parallel_files.h"
#include "engine/search_options.h"
#include "engine/search_run.h"

namespace vellmora {

class CPyxoDoc;
class FileScan;
class ResultSink;
class Profile;
class UserInterface;

/// Result kinds a view's SearchState records.
inline constexpr int kKwicResultKind = 1;
inline constexpr int kKwocResultKind = 2;

/// The wordings of the KWOC search's expression failures.
inline constexpr ExpressionMessages kKwocExpressionMessages{
    regex_messages::kInitializationError1, regex_messages::kCompilationFailure1,
    regex_messages::kInitializingFailure2, regex_messages::kCompilationFailure2};

/// Whether a search of kind (kKwicResultKind or kKwocResultKind) may start in a view: only
/// while the view takes new results (result state 0), and never on top of a retained result
/// of the other kind, so that the lines of one view are all of one kind.
bool searchAllowedInView(const SearchState& state, int kind);

/// The options of section "KWOCOptions" a KWOC run reads once when it starts.
struct KwocOptions {
    static constexpr int kMaxContextLines = 5;  ///< the window holds five lines on each side

    int linesBefore = 0;          ///< ContextMae, 0 to 5
    int linesAfter = 0;           ///< ContextAto, 0 to 5
    bool sepMatched = false;      ///< one separator per file, when no context lines are written
    bool orderSensitive = false;  ///< KWOrder: keyword 2 only from keyword 1 onward
};

/// Reads section "KWOCOptions". Context counts outside 0-5 (only a hand-edited file holds
/// them) are brought into range: the window has no more lines to give.
KwocOptions readKwocOptions(Profile& profile);

/// Finds the words of keyword 2 in a line for the KWOC line test: at character starts, each
/// occurrence standing as keyword 2's boundary mode requires, and running on into the next
/// line as keyword 1 may.
class LineWordFinder {
public:
    /// words are the (already case-folded) words in list order; marker is the line-end
    /// marker the window's lines end with.
    void prepare(std::vector<std::string> words, int boundaryMode, bool ignoreCase, char marker);

    bool empty() const { return m_words.empty(); }

    /// Whether any word stands in the search copy at or after from (a character start).
    /// nextLine is the following line of the window (raw, not case-folded); continues is set
    /// when the occurrence found runs on into it.
    bool findAny(std::string_view searchCopy, std::size_t from, const char* nextLine,
                 bool& continues);

private:
    bool standsAt(std::string_view text, std::size_t pos, std::size_t length) const;
    bool continuesAt(std::string_view line, std::size_t from, const char* nextLine,
                     std::size_t index);

    std::vector<std::string> m_words;
    std::vector<std::string> m_prefixes;  // continuation prefix per word; empty = none
    int m_mode = 0;
    bool m_ignoreCase = false;
    char m_marker = '/';
    std::string m_joined;  // the line's tail joined with the next line, reused
};

/// Runs one KWOC search: the corpus and file loop of the KWIC run, but every line that passes
/// the line test (keyword 1, then keyword 2 with AND, NOT or OR, optionally in order) is
/// written whole, with its own line number and up to five lines of context on either side.
/// The view's result kind becomes 2. One object per run.
/// With bGrep the keywords are regular expressions (OR joins them into one alternation); the
/// keywords are words when the engine cannot be loaded.
class KwocSearchRun {
public:
    KwocSearchRun(const SearchOptions& options, const KwocOptions& kwoc, Profile& profile,
                  UserInterface& ui, CPyxoDoc& document, SearchState& state);
    ~KwocSearchRun();
    KwocSearchRun(const KwocSearchRun&) = delete;
    KwocSearchRun& operator=(const KwocSearchRun&) = delete;

    /// Runs the request to its end (or to a cancel) and shows the end-of-run messages. The
    /// application's running flag, when given, is set for as long as the run lasts.
    SearchOutcome run(const SearchRequest& request, ApplicationSearchFlags* flags = nullptr);

private:
    /// The outcome of the line test on the current line.
    struct LineMatch {
        bool matched = false;
        bool continues = false;  ///< a keyword of the match runs on into the next line
    };

    /// What a file search uses that a worker needs its own of.
    struct Tools {
        FileScan* scan;
        KeywordMatcher* matcher;
        LineWordFinder* keyword2;
        ResultLayout* layout;
        SearchExpressions* expressions;
    };
    struct WorkerTools;
    using FileReport = FileSearchReport;

    FileReport searchFile(const Tools& tools, UserInterface& ui, ResultSink& sink,
                          const std::string& path);
    void searchOnThisThread(const std::string& path);
    void searchInParallel(const SearchRequest& request);
    LineMatch testLine(const Tools& tools, std::string_view copy, const char* nextLine);
    LineMatch testExpressionLine(const Tools& tools, std::string_view copy);
    void writeMatch(const Tools& tools, ResultSink& sink, std::string_view displayName,
                    long lineNumber, bool continues, bool& separatorPending, long& hits);
    void finishRun(const SearchRequest& request, ApplicationSearchFlags* flags);
    bool addLine(std::string_view line);

    SearchOptions m_options;  // as the run matches: no keyword-2 range, no line loop
    KwocOptions m_kwoc;
    Profile& m_profile;
    UserInterface& m_ui;
    CPyxoDoc& m_document;
    SearchState& m_state;
    KeywordMatcher m_matcher;
    SearchExpressions m_expressions;  // active for the length of a regular-expression run
    std::vector<std::string> m_prefilterNeedles;  // empty when every line must be searched
    LineWordFinder m_keyword2;
    ResultLayout m_layout;
    SearchOutcome m_outcome;
    std::unique_ptr<FileScan> m_scan;
    ReadAsRecord m_readAs;
};

}  // namespace vellmora
