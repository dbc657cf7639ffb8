#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

/// One name found in a directory.
struct FinderEntry {
    std::string name;  ///< the entry's own name, without directory
    /// A directory, or a symbolic link to one. Links to files count as files.
    bool isDirectory = false;
    /// The entry is a symbolic link (to a file or a directory). Walks use it to keep out of
    /// linked directories, which can lead back to an ancestor.
    bool isSymlink = false;
};

/// True when text holds "*" or "?".
bool hasWildcard(std::string_view text);

/// Matches one file name against a wildcard pattern with the rules of findEntries(). Each is
/// read as UTF-8 when it is valid UTF-8 beyond ASCII, else as Shift-JIS: "?" stands for one
/// character (a multi-byte character counting as one), and only single-byte ASCII letters
/// are compared without regard to case.
bool matchesWildcard(std::string_view pattern, std::string_view name);

/// The entries of a directory whose names match a wildcard pattern, in byte order of their
/// names. pathPattern is a directory part and a pattern: the pattern is the text after the
/// last "/", the directory everything up to and including that "/" (the current directory
/// when there is none). So "/corpus/*.txt" lists "/corpus", and "*.txt" the current
/// directory.
///
/// Matching rules, chosen to behave as users of desktop file dialogs expect while staying
/// safe on a case-sensitive file system:
/// - "*" matches any run of characters, "?" exactly one; ASCII letters ignore case, so
///   "*.txt" lists "a.TXT" as well as "b.txt".
/// - A pattern ending in ".*" also matches names without that dot, so "*.*" lists every
///   name and "notes.*" lists "notes" too.
/// - A name beginning with "." is listed only by a pattern that begins with "." (as in a
///   shell): "*" and "*.*" leave out ".profile", ".*" lists it. "." and ".." are never
///   listed.
/// - An empty pattern ("/corpus/") matches nothing.
///
/// Only regular files and directories are listed, symbolic links being followed to see
/// which they are. Anything else (dangling links, FIFOs, sockets, devices) is left out: a
/// search that opened a FIFO or a device could block or never reach the end.
///
/// A directory that cannot be read gives an empty list; nothing is thrown.
std::vector<FinderEntry> findEntries(std::string_view pathPattern);

/// Every file and directory of directory except "." and "..", dot names included, in byte
/// order, with the same kinds of entries left out as in findEntries(). directory may end in
/// "/" or not.
std::vector<FinderEntry> listDirectory(std::string_view directory);

/// directory and name joined with one "/" between them: none is added when directory
/// already ends with "/" or is empty.
std::string joinPath(std::string_view directory, std::string_view name);

/// True when path names a directory, following symbolic links.
bool isDirectory(std::string_view path);

}  // namespace vellmora
