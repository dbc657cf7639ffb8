// A whole KWIC search over a fuzzed corpus with fuzzed settings: the run must end, write only
// whole result lines, and give exactly the same result, outcome and messages whether or not
// the reader's prefilter passes over the lines that cannot hold the keyword, and, for one
// input in sixteen, whether two worker threads search the files.
//
// Input, in parts split at the separator line: the settings file (pyxo.ini as is), keyword 1
// (a leading "@" names a word group), keyword 2, then up to three corpus files.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/result_document.h"
#include "engine/regex_binding.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/fuzz/fuzz_support.h"

namespace vellmora {
namespace {

constexpr std::size_t kCorpusFiles = 3;

struct Setup {
    fuzz::ScratchDir dir;
    std::string settings = dir.file("pyxo.ini");
    std::string corpus = dir.file("corpus");

    Setup() {
        std::filesystem::create_directory(corpus);
        // Nothing the run does may reach the settings or data of the person running this.
        setenv("PYXO_INI", settings.c_str(), 1);
        setenv("PYXO_DATA_DIR", dir.file("data").c_str(), 1);
        unsetenv("PYXO_JRE");
    }
};

struct Result {
    std::vector<std::string> lines;
    std::vector<std::string> messages;
    SearchOutcome outcome;
};

/// A keyword as the dialog's one-line field can hold it: nothing after a line end.
bool typeable(std::string_view keyword) {
    return keyword.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

KeywordSpec keywordOf(std::string_view part) {
    if (!part.empty() && part.front() == '@') return {std::string(part.substr(1)), true};
    return {std::string(part), false};
}

Result search(const SearchRequest& request, SearchOptions options, bool prefilter, int jobs = 1) {
    Profile profile(Profile::defaultPath());
    options.prefilter = prefilter;
    options.jobs = jobs;
    RecordingUserInterface ui;
    CPyxoDoc document("Result1");
    SearchState state;
    Result result;
    {
        KwicSearchRun run(options, profile, ui, document, state);
        result.outcome = run.run(request);
    }
    for (const std::string& line : document.list(ResultKind::Original)) {
        fuzz::check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0 &&
                        line.find('\n') == line.size() - 1,
                    "a result line is one line with its CR LF");
        result.lines.push_back(line);
    }
    result.messages = ui.messages();
    return result;
}

bool sameOutcome(const SearchOutcome& a, const SearchOutcome& b) {
    return a.filesOpened == b.filesOpened && a.total == b.total && a.cancelled == b.cancelled &&
           a.limitReached == b.limitReached;
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static Setup setup;
    // A binding alive between runs keeps the expression engine loaded, as a second window
    // does; each run then opens its records on first use.
    static RegexBinding keepEngineLoaded;
    static const bool engineLoaded = keepEngineLoaded.initialise();
    fuzz::check(engineLoaded, "the expression engine loads from beside the program");

    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 3 + kCorpusFiles);
    if (parts.size() < 4 || parts[1].empty() || !typeable(parts[1]) || !typeable(parts[2]))
        return 0;
    fuzz::writeFile(setup.settings, parts[0]);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(setup.corpus))
        std::filesystem::remove(entry.path(), ignored);
    for (std::size_t i = 3; i < parts.size(); ++i)
        fuzz::writeFile(setup.corpus + "/" + std::to_string(i - 2) + ".txt", parts[i]);

    SearchRequest request;
    request.keyword1 = keywordOf(parts[1]);
    request.keyword2 = keywordOf(parts[2]);
    request.fileName = "*.txt";
    request.directory = setup.corpus + "/";

    // Both runs take the options from the same settings file; reading them once halves the
    // time an input takes, most of which goes to reading a large fuzzed settings file.
    const SearchOptions options = [&] {
        Profile settings(setup.settings);
        return readSearchOptions(settings);
    }();
    const Result filtered = search(request, options, true);
    // The run may have written the settings file: the second one starts from the same one.
    fuzz::writeFile(setup.settings, parts[0]);
    const Result plain = search(request, options, false);
    fuzz::check(filtered.lines == plain.lines, "the prefilter does not change the result");
    fuzz::check(sameOutcome(filtered.outcome, plain.outcome) && filtered.messages == plain.messages,
                "the prefilter does not change how the run ends");
    // Starting threads costs more than the rest of a run under the sanitizers: only some
    // inputs, the same ones every time, also run on two.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (std::hash<std::string_view>{}(input) % 16 == 0) {
        fuzz::writeFile(setup.settings, parts[0]);
        const Result parallel = search(request, options, true, 2);
        fuzz::check(parallel.lines == filtered.lines, "two threads give the result of one");
        fuzz::check(sameOutcome(parallel.outcome, filtered.outcome) &&
                        parallel.messages == filtered.messages,
                    "two threads end the run as one does");
    }
    return 0;
}
