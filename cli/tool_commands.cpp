// pyxo-cli convert, avelen and filelist: the conversion of a formatted file's shown list, and
// the two tools that read the corpus directly. Their dialogs are confirmed as they open, with
// what the command line gives typed in.

#include <cstdio>
#include <optional>

#include "cli/result_command.h"
#include "engine/search_run.h"
#include "platform/console_user_interface.h"
#include "results/avelen_dialog_model.h"
#include "results/convert_command.h"
#include "results/file_list_dialog_model.h"
#include "results/result_source.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

class ConvertCommand : public ResultCommand {
public:
    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool&) override {
        ApplicationSearchFlags flags;
        SearchState view;
        ResultCommandPlace place{profile, ui, document, flags, view};
        const DisplaySnapshot& shown = document.snapshot();
        ConversionInput input{sourceKindOf(shown), shown.keywordColumn,
                              static_cast<int>(shown.keyword1.size()), shown.formatSelector};
        if (runConvertCommand(place, input).end != ConversionCommandEnd::Done) return std::nullopt;
        return ResultKind::Spreadsheet;
    }
};

/// The value of option name at args[i + 1]; false (with a message) when it is missing.
bool optionValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
    if (i + 1 >= args.size()) {
        complain(args[i] + " needs a value");
        return false;
    }
    value = args[++i];
    return true;
}

}  // namespace

int runConvert(const CliContext& context) {
    ConvertCommand command;
    return runResultCommand(context, "convert", command);
}

int runAverageWordLength(const CliContext& context) {
    std::optional<std::string> directory;
    std::optional<std::string> pattern;
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if ((args[i] == "-d" || args[i] == "-f") && optionValue(args, i, value)) {
            (args[i - 1] == "-d" ? directory : pattern) = value;
        } else {
            if (args[i] != "-d" && args[i] != "-f") complain("avelen: unknown argument \"" + args[i] + "\"");
            return kExitUsage;
        }
    }
    Profile profile(context.iniPath);
    CliContext::reportFlushFailures(profile);
    ConsoleUserInterface ui;
    Histories histories;
    histories.load(profile);
    ApplicationSearchFlags flags;
    AverageWordLengthDialogModel dialog(profile, ui, histories, flags);
    dialog.open();
    if (directory) dialog.setDirectory(*directory);
    if (pattern) dialog.setFileName(*pattern);
    const AverageRunEnd end = dialog.calculate();
    context.printList(dialog.resultLines());
    return end == AverageRunEnd::Done ? kExitDone : kExitFailed;
}

int runFileList(const CliContext& context) {
    std::vector<std::string> positional;
    bool excludeBinary = false;
    for (const std::string& arg : context.args) {
        if (arg == "--exclude-binary") {
            excludeBinary = true;
        } else if (!arg.empty() && arg.front() == '-') {
            complain("filelist: unknown argument \"" + arg + "\"");
            return kExitUsage;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        complain("filelist: usage: filelist DIR OUT.LST [--exclude-binary]");
        return kExitUsage;
    }
    Profile profile(context.iniPath);
    CliContext::reportFlushFailures(profile);
    ConsoleUserInterface ui;
    CPyxoDoc document("pyxo-cli");
    ApplicationSearchFlags flags;
    SearchState view;
    ResultCommandPlace place{profile, ui, document, flags, view};
    FileListDialogModel dialog(profile, ui);
    dialog.open();
    dialog.setReferenceDirectory(positional[0]);
    dialog.setOutputFile(positional[1]);
    dialog.setExcludeBinary(excludeBinary);
    const FileListOutcome outcome = runFileListCommand(place, dialog);
    if (outcome.end == FileListEnd::Refused) return kExitUsage;  // the dialog's check refused
    return outcome.end == FileListEnd::Done ? kExitDone : kExitFailed;
}

}  // namespace vellmora
