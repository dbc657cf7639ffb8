#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace vellmora {

class CStringTree;
class Profile;

/// The corpus of a search as the reference word list reads it: what the user named, before
/// expansion.
struct ReferenceFileSet {
    std::string fileName;         ///< patterns separated by ";"; empty when none was named
    std::string directory;        ///< the patterns' directory
    std::string resFile;          ///< response file name; empty when none was named
    std::string resFileDir;       ///< its directory
    bool subdirectories = false;  ///< Options/Subdir: matching directories are walked
    bool autoCode = false;  ///< Options/AutoCode: each file read in the encoding it shows
};

/// The file set of the last search: "Filename", "Directory", "ResFile" and "ResFileDir" of
/// section "Setting", with Options/Subdir.
ReferenceFileSet lastSearchFileSet(Profile& profile);

/// Where the settings file records which word-list file holds a file set's reference.
struct WordListEntry {
    std::string section;  ///< directory and file name joined, "null" when no file was named
    std::string key;      ///< response file's directory and name joined, "null" when none
};

WordListEntry wordListEntryOf(const ReferenceFileSet& files);

/// True when the settings file can hold entry so that it reads back under the same names:
/// no line end anywhere, no "]" in the section, no "=" in the key and no key that would
/// read as a section header.
bool entryFitsSettingsFile(const WordListEntry& entry);

/// Word-list files are numbered 0 ... kMaxWordListFiles - 1.
inline constexpr int kMaxWordListFiles = 1000;

/// "<folder>/wordlist.NNN" with number as three digits.
std::string wordListFilePath(const std::string& folder, int number);

/// The folder "WordList" of the data directory; empty when there is no data directory.
std::string defaultWordListFolder();

/// What the reference word list reads and where it keeps its cache.
struct ReferenceRequest {
    ReferenceFileSet files;
    std::string wordListFolder;  ///< empty: no cache is read or written
    DocumentId document = 0;     ///< the document whose title shows the progress
    std::string_view busyTitle;  ///< shown again after the corpus collection's own title
};

struct ReferenceOutcome {
    bool cancelled = false;  ///< stopped on request; the reference is incomplete
    bool fromCache = false;  ///< loaded from a word-list file, no corpus file read
    int filesRead = 0;       ///< corpus files opened and read
    std::string cachePath;   ///< the word-list file loaded or written; empty when none
};

/// Fills reference (emptied first) with every word of every corpus file, each occurrence
/// counted, words compared without regard to ASCII case.
///
/// The corpus is collected as a search collects it, and files the search would skip for
/// their extension are skipped. When the settings file records a word-list file for the file
/// set, that file loads whole and no corpus file is newer than it, the reference is loaded from
/// it. Otherwise every file is read as stored (no conversion, no tag removal; with AutoCode
/// each file converted as the search converts it), line by line, and split into words with
/// strword; files that cannot be opened are skipped. The new reference is then stored in the
/// first free word-list file and recorded in the settings file; one that cannot be written
/// whole is removed and not recorded, so a damaged cache is never trusted. Pumps once per
/// line and directory entry.
ReferenceOutcome buildReference(const ReferenceRequest& request, Profile& profile,
                                CStringTree& reference, UserInterface& ui);

}  // namespace vellmora
