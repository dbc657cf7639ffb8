#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellmora {

/// The folders the program keeps in its data directory.
inline constexpr std::string_view kWordListFolder = "WordList";
inline constexpr std::string_view kMacroFolder = "Macro";
inline constexpr std::string_view kErrorLogFolder = "ErrorLog";
/// The optional message file, looked for in the data directory, then beside the program.
inline constexpr std::string_view kMessageFileName = "corpus.mes";

/// Where the program keeps its working files: $PYXO_DATA_DIR when set, else
/// $XDG_DATA_HOME/vellmora, else $HOME/.local/share/vellmora (the home directory taken from
/// the password database when $HOME is unset). Empty and relative values of the variables
/// count as unset, as the XDG rules ask. The path has no trailing "/" (unless it is "/");
/// it is empty only when no home directory can be found at all.
std::string dataDirectory();

/// The outcome of preparing the data directory.
struct DataDirectoryStatus {
    enum class Problem {
        None,
        CannotCreate,  ///< a folder is missing and could not be made (or a file is in the way)
        NotWritable,   ///< everything exists, but the program could not save its files there
    };
    Problem problem = Problem::None;
    /// For the caller to show later: which path and why, e.g.
    /// "/home/me/.local/share/vellmora/Macro: Permission denied". Empty when all is well.
    std::string detail;

    bool ok() const { return problem == Problem::None; }
};

/// Creates directory (with any missing parents, private to the user) and its folders
/// "WordList", "Macro" and "ErrorLog", then checks that they can be written. Stops at the
/// first failure. Nothing is shown: start-up runs before there is a window to show it in.
DataDirectoryStatus prepareDataDirectory(const std::string& directory);

/// The message file to read: "corpus.mes" in dataDir when it is a readable file there, else
/// the one in programDir, else nothing (the caller then uses its built-in message).
std::optional<std::string> findMessageFile(const std::string& dataDir,
                                           const std::string& programDir);

}  // namespace vellmora
