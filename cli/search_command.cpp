// The road the search commands of pyxo-cli share.

#include "cli/search_command.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "document/formatted_file.h"
#include "document/result_document.h"
#include "engine/result_accumulation.h"
#include "engine/search_dialog_model.h"
#include "engine/search_options.h"
#include "platform/console_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

struct SearchArguments {
    bool hasKeyword1 = false;
    std::string keyword1;
    std::string keyword2;
    bool group1 = false;
    bool group2 = false;
    std::string directory;
    bool hasPatterns = false;
    std::string patterns;
    bool hasResponseFile = false;
    std::string responseFile;
    std::string output;  ///< -o: the formatted file to write
};

std::string withTrailingSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

std::string currentDirectory() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return "./";
    return buffer;
}

/// Parses the command's arguments; false (with a message) on wrong usage.
bool parse(const CliContext& context, std::string_view name, SearchArguments& out) {
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                complain(arg + " needs a value");
                return false;
            }
            target = args[++i];
            return true;
        };
        if (arg == "-1") {
            std::string text;
            if (!value(text) || !context.keywordArgument(text, out.keyword1)) return false;
            out.hasKeyword1 = true;
        } else if (arg == "-2") {
            std::string text;
            if (!value(text) || !context.keywordArgument(text, out.keyword2)) return false;
        } else if (arg == "--group1") {
            out.group1 = true;
        } else if (arg == "--group2") {
            out.group2 = true;
        } else if (arg == "-d") {
            if (!value(out.directory)) return false;
        } else if (arg == "-f") {
            if (!value(out.patterns)) return false;
            out.hasPatterns = true;
        } else if (arg == "-r") {
            if (!value(out.responseFile)) return false;
            out.hasResponseFile = true;
        } else if (arg == "-o") {
            if (!value(out.output)) return false;
        } else {
            complain(std::string(name) + ": unknown argument \"" + arg + "\"");
            return false;
        }
    }
    return true;
}

/// Fills the dialog's fields from the command line, as if the user had typed them.
void fillDialog(const SearchArguments& args, SearchDialogFields& fields) {
    if (args.hasKeyword1) fields.keyword1 = args.keyword1;
    fields.keyword1IsGroup = args.group1;
    fields.keyword2 = args.keyword2;
    fields.keyword2IsGroup = args.group2;
    if (!args.hasPatterns && !args.hasResponseFile) return;  // the dialog's own fields stand
    const std::string directory =
        withTrailingSlash(args.directory.empty() ? currentDirectory() : args.directory);
    fields.corpus.filename = args.hasPatterns ? args.patterns : std::string();
    fields.corpus.directory = directory;
    fields.corpus.resFile.clear();
    fields.corpus.resFileDir.clear();
    if (args.hasResponseFile) {
        std::size_t slash = args.responseFile.rfind('/');
        if (slash == std::string::npos) {
            fields.corpus.resFile = args.responseFile;
            fields.corpus.resFileDir = directory;
        } else {
            fields.corpus.resFile = args.responseFile.substr(slash + 1);
            fields.corpus.resFileDir = args.responseFile.substr(0, slash + 1);
        }
    }
}

/// Streams the search result to standard output as it is found: nothing waits in memory.
class StdoutSink : public SearchLineSink {
public:
    explicit StdoutSink(const CliContext& context) : m_context(context) {}
    void take(std::string_view line) override { m_context.printLine(line); }

private:
    const CliContext& m_context;
};

}  // namespace

KwicDialogCommand::KwicDialogCommand() = default;
KwicDialogCommand::~KwicDialogCommand() = default;

SearchDialogFields& KwicDialogCommand::openDialog(Profile& profile, UserInterface& ui,
                                                  const Histories& histories) {
    m_dialog = std::make_unique<SearchDialogModel>(profile, ui, histories);
    m_dialog->open();
    return m_dialog->fields();
}

bool KwicDialogCommand::confirmDialog() { return m_dialog->search(); }

void KwicDialogCommand::copyRequestTo(LastSearchValues& values) const {
    m_dialog->copyRequestTo(values);
}

int runSearchCommand(const CliContext& context, std::string_view name, SearchCommand& command) {
    SearchArguments args;
    if (!parse(context, name, args)) return kExitUsage;

    Profile profile(context.iniPath);
    CliContext::reportFlushFailures(profile);
    ConsoleUserInterface ui;
    Histories histories;
    histories.load(profile);

    SearchDialogFields& fields = command.openDialog(profile, ui, histories);
    fillDialog(args, fields);
    if (!command.confirmDialog()) return kExitUsage;  // the dialog's message is on stderr

    // The driver stores the request and enters it into the histories before any file opens.
    command.copyRequestTo(histories.lastValues());
    histories.saveLastValues(profile, !fields.keyword2.empty());

    SearchOptions options = readSearchOptions(profile);
    options.jobs = defaultSearchJobs();
    CPyxoDoc document("pyxo-cli");
    // Without a file to write, nothing needs the lines once they are printed.
    StdoutSink sink(context);
    if (args.output.empty()) document.setSearchLineSink(&sink);
    SearchState state;
    const SearchRequest request = searchRequestOf(fields);
    SearchOutcome outcome = command.run(options, profile, ui, document, state, request);
    histories.save(profile);

    if (!args.output.empty()) {
        context.printList(document.list(ResultKind::Original));
        // The keyword column and kind as the view held them when the run ended.
        recordSearchInDocument(state, request.keyword1.text, request.keyword2.text, document);
        if (!writeFormattedFile(document, args.output, ui)) return kExitFailed;
    }
    std::fflush(stdout);
    return outcome.failed() ? kExitFailed : kExitDone;
}

}  // namespace vellmora
