#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;

class CExStringList;

/// Exit statuses of pyxo-cli.
enum ExitStatus : int {
    kExitDone = 0,
    kExitFailed = 1,  ///< the command ended with a failure message
    kExitUsage = 2,   ///< wrong usage, unreadable input, or a request a dialog refuses
};

/// What every command gets: the global options and its own arguments.
struct CliContext {
    std::string iniPath;  ///< --ini, else the default settings path
    bool utf8 = false;    ///< --utf8: output and keyword arguments in UTF-8
    std::vector<std::string> args;

    /// A keyword argument as the engine wants it: Shift-JIS bytes. False (with a message
    /// on standard error) when --utf8 is on and the text cannot be converted.
    bool keywordArgument(const std::string& text, std::string& sjis) const;
    /// Writes every line of list to standard output: as stored, or as UTF-8 with LF ends.
    void printList(const CExStringList& list) const;
    /// Writes one stored line (with its CR LF) the same way.
    void printLine(std::string_view line) const;
    /// Says on standard error when profile cannot store the settings.
    static void reportFlushFailures(Profile& profile);
};

/// Prints "pyxo-cli: " and the text on standard error.
void complain(std::string_view text);

int runKwic(const CliContext& context);
int runKwicPos(const CliContext& context);
int runKwoc(const CliContext& context);

}  // namespace vellmora
