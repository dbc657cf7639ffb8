#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_context.h"
#include "document/result_document.h"

namespace vellmora {

class Profile;
class UserInterface;

/// What sets the result commands (sort, extractions, statistics, conversion, show) apart;
/// reading the input file, printing the list and writing -o they do the same way.
class ResultCommand {
public:
    virtual ~ResultCommand() = default;
    /// Takes an argument of the command's own at args[i] (and its value, moving i on); false
    /// when it is not one.
    virtual bool takeArgument(const CliContext& context, const std::vector<std::string>& args,
                              std::size_t& i) {
        (void)context, (void)args, (void)i;
        return false;
    }
    /// Works on the document read from the input file. Returns the kind whose list is to be
    /// printed, or nothing when the command ended with a failure message (exit status 1).
    /// usage is set instead when the command's dialog refuses the request (exit status 2).
    virtual std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile,
                                          UserInterface& ui, bool& usage) = 0;
    /// Whether -o may write the document afterwards.
    virtual bool writesDocument() const { return true; }
};

/// The road of a result command: IN.vm2 [own arguments] [-o OUT.vm2]. The input is read as the
/// desktop program opens it (an unreadable file is exit status 2), the command runs, the list
/// it names goes to standard output, and with -o the document is written as a formatted file.
int runResultCommand(const CliContext& context, std::string_view name, ResultCommand& command);

int runShow(const CliContext& context);
int runCounts(const CliContext& context);
int runSaveText(const CliContext& context);
int runExtractRange(const CliContext& context);
int runExtractPos(const CliContext& context);
int runSort(const CliContext& context);
int runSortColumn(const CliContext& context);
int runConvert(const CliContext& context);
int runColloq(const CliContext& context);
int runColloqTable(const CliContext& context);
int runColloqExtended(const CliContext& context);
int runColloqStrength(const CliContext& context);
int runAverageWordLength(const CliContext& context);
int runFileList(const CliContext& context);

}  // namespace vellmora
