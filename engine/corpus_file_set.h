#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"

namespace vellmora {

/// The corpus part of a search request: what the user named, before expansion.
struct CorpusRequest {
    /// File-name patterns separated by ";", each with "*" and "?"; empty for none.
    std::string fileName;
    /// The directory each pattern is appended to, verbatim: it should end with "/", and
    /// without one "/corpus" + "*.txt" names the pattern "corpus*.txt" in "/".
    std::string directory;
    /// Response-file directory followed by the response-file name; empty for none.
    std::string responseFile;
    /// Options/Subdir: walk the directories the patterns match.
    bool subdirectories = false;
};

/// Busy title shown while patterns are expanded with subdirectories.
inline constexpr std::string_view kCollectingTitle = "Collecting filenames...";

/// Appends the corpus of request to files, in this order: the matches of each pattern in
/// turn, then the response file's entries in file order. Within a directory the order is
/// the byte order of the names; duplicates are kept (a file named twice is searched twice).
///
/// Patterns: each found file is added as the pattern's directory part (directory + pattern
/// up to its last "/") + its name. With subdirectories, every matching directory is walked
/// and every file below it is collected, whatever its name; entries whose name begins with
/// "." are skipped below the top level, and "Collecting filenames..." is shown as the title
/// of document meanwhile. Without subdirectories, matching directories are ignored.
///
/// Response file: opened as given, or once more with ".lst" appended when its name has no
/// "." (with "lst" when the name ends in "."). Lines starting with "#" or ";" are comments;
/// a line with a wildcard is expanded like a pattern whose matching directories are always
/// walked; any other line, an empty one included, is added as written (CR LF or LF removed,
/// the text cut at a NUL byte). A response file that cannot be opened adds nothing.
///
/// Symbolic links to directories are never walked into, so link loops cannot trap the walk;
/// links to files are collected like files. Unreadable directories add nothing.
///
/// ui.pump() runs once per directory entry and once per response-file line; collecting stops
/// as soon as ui.cancelRequested() is true after a pump. Returns false when it stopped that
/// way: files then holds what was collected so far and the cancel request stays set for the
/// caller, which should not search the partial list.
bool collectCorpusFiles(const CorpusRequest& request, CExStringList& files, UserInterface& ui,
                        DocumentId document);

/// The patterns of a file-name field, split at each ";" that is a character of its own.
std::vector<std::string_view> splitPatterns(std::string_view field);

/// Appends a file dropped on a result view, as it is.
void addDroppedFile(CExStringList& files, std::string_view path);

/// The path the response file is tried under when path itself cannot be opened: with ".lst"
/// appended when the name (after the last "/") holds no ".", with "lst" when the name ends
/// in "."; nothing for a name with an extension.
std::optional<std::string> responseFileRetryPath(std::string_view path);

}  // namespace vellmora
