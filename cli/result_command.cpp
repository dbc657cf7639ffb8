// The road the result commands of pyxo-cli share, and the commands that only look at a
// document: show, counts, save-text.

#include "cli/result_command.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "document/formatted_file.h"
#include "document/result_navigation.h"
#include "document/text_save.h"
#include "platform/console_user_interface.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

/// A formatted file opened as the desktop program opens it, with the settings and the
/// console to work on it.
struct InputDocument {
    explicit InputDocument(const CliContext& context) : profile(context.iniPath) {
        CliContext::reportFlushFailures(profile);
    }
    /// False (the message on standard error) when the file cannot be read.
    bool read(const std::string& path) {
        return static_cast<bool>(readFormattedFile(path, document, ui, profile));
    }

    Profile profile;
    ConsoleUserInterface ui;
    CPyxoDoc document{"pyxo-cli"};
};

}  // namespace

int runResultCommand(const CliContext& context, std::string_view name, ResultCommand& command) {
    const std::vector<std::string>& args = context.args;
    std::string input;
    std::string output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-o" && command.writesDocument()) {
            if (i + 1 >= args.size()) {
                complain("-o needs a value");
                return kExitUsage;
            }
            output = args[++i];
        } else if (command.takeArgument(context, args, i)) {
            continue;
        } else if (input.empty() && !arg.empty() && arg.front() != '-') {
            input = arg;
        } else {
            complain(std::string(name) + ": unknown argument \"" + arg + "\"");
            return kExitUsage;
        }
    }
    if (input.empty()) {
        complain(std::string(name) + ": no input file (IN.vm2) given");
        return kExitUsage;
    }

    InputDocument in(context);
    if (!in.read(input)) return kExitUsage;

    bool usage = false;
    std::optional<ResultKind> kind = command.run(in.document, in.profile, in.ui, usage);
    if (usage) return kExitUsage;
    if (!kind) return kExitFailed;
    context.printList(in.document.list(*kind));
    if (!output.empty() && !writeFormattedFile(in.document, output, in.ui)) return kExitFailed;
    return kExitDone;
}

namespace {

/// show: a list of the document as it stands, the displayed one unless --kind names another.
class ShowCommand : public ResultCommand {
public:
    bool takeArgument(const CliContext&, const std::vector<std::string>& args,
                      std::size_t& i) override {
        if (args[i] != "--kind" || i + 1 >= args.size()) return false;
        const std::string& value = args[++i];
        if (value.size() != 1 || value[0] < '0' || value[0] >= '0' + kResultKinds) {
            complain("--kind takes 0 to 4, not \"" + value + "\"");
            m_badKind = true;
            return true;
        }
        m_kind = static_cast<ResultKind>(value[0] - '0');
        return true;
    }
    std::optional<ResultKind> run(CPyxoDoc& document, Profile&, UserInterface&,
                                  bool& usage) override {
        usage = m_badKind;
        return m_kind.value_or(document.displayedKind());
    }
    bool writesDocument() const override { return false; }

private:
    std::optional<ResultKind> m_kind;
    bool m_badKind = false;
};

}  // namespace

int runShow(const CliContext& context) {
    ShowCommand command;
    return runResultCommand(context, "show", command);
}

int runCounts(const CliContext& context) {
    if (context.args.size() != 1) {
        complain("counts: usage: counts IN.vm2");
        return kExitUsage;
    }
    InputDocument in(context);
    if (!in.read(context.args[0])) return kExitUsage;
    // The program's own texts, like its messages: UTF-8 whatever --utf8 says.
    for (const ResultCountLine& line : resultCountLines(in.document))
        std::printf("%s\n", line.text.c_str());
    std::fflush(stdout);
    return kExitDone;
}

int runSaveText(const CliContext& context) {
    if (context.args.size() != 2) {
        complain("save-text: usage: save-text IN.vm2 OUT.txt");
        return kExitUsage;
    }
    InputDocument in(context);
    if (!in.read(context.args[0])) return kExitUsage;
    // The formatted file is never replaced by its text: that would lose every other list.
    std::error_code error;
    if (std::filesystem::equivalent(context.args[0], context.args[1], error)) {
        complain("save-text: OUT.txt must not be the formatted file itself");
        return kExitUsage;
    }
    return writeTextFile(in.document, context.args[1], in.profile, in.ui) ? kExitDone
                                                                          : kExitFailed;
}

}  // namespace vellmora
