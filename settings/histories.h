#pragma once

#include <array>
#include <string>
#include <string_view>

#include "containers/ex_string_list.h"

namespace vellmora {

class Profile;

/// The seven most-recently-used lists, each with its own section and slot keys.
enum class HistoryKind {
    Keyword1,        ///< "History", "Keyword1A" ... "Keyword1Z"
    Keyword2,        ///< "History", "Keyword2A" ... "Keyword2Z"
    Filename,        ///< "FileHistory", "FilenameA" ... "FilenameZ"
    Directory,       ///< "FileHistory", "DirectoryA" ... "DirectoryZ"
    ResFile,         ///< "ResFileHistory", "ResFileA" ... "ResFileZ"
    ResFileDir,      ///< "ResFileHistory", "ResFileDirA" ... "ResFileDirZ"
    ExtractionWord,  ///< "Extraction", "KeywordA" ... "KeywordZ"
};

inline constexpr int kHistoryKindCount = 7;

/// The last search entries of section "Setting", put back into the dialogs.
struct LastSearchValues {
    std::string keyword1;
    std::string keyword2;
    std::string filename = "*.*";
    std::string directory;
    std::string resFile;
    std::string resFileDir;
    std::string extractionWord;
    int kw2Group = 0;
    int kw2Tango = 0;
};

/// What the user typed into the search and extraction dialogs: seven lists, most recent
/// entry first, and the last value of each field. Loaded once at start-up and written back
/// at the end of the run; a run that ends abnormally loses the entries made during it.
///
/// Entries of a list are distinct under a comparison that folds only the ASCII letters A to
/// Z; the bytes of double-byte characters compare exactly.
class Histories {
public:
    /// Slots per list in the settings file, lettered A to Z.
    static constexpr int kSlotCount = 26;

    Histories() = default;
    Histories(const Histories&) = delete;
    Histories& operator=(const Histories&) = delete;

    /// Replaces everything in memory with the last values and the seven lists of the file.
    void load(Profile& profile);
    /// Writes the last values and the first 26 entries of each list, then flushes. Slots
    /// after a list's last entry keep what they held. False when the flush failed.
    bool save(Profile& profile) const;
    /// Writes the last values to "Setting" and flushes (a search starts), then enters each
    /// non-empty one into its list; keyword 2 only when the search uses it. False when the
    /// flush failed; the lists are updated all the same.
    bool saveLastValues(Profile& profile, bool keyword2Used);

    /// Records a use: an empty value changes nothing; an equal entry moves to the head in
    /// its stored spelling; any other value becomes the new head. Lists grow without limit
    /// during the run.
    void enter(HistoryKind kind, std::string_view value);

    const CExStringList& list(HistoryKind kind) const;
    LastSearchValues& lastValues() { return m_last; }
    const LastSearchValues& lastValues() const { return m_last; }

    /// Section and slot-key prefix of a list ("History", "Keyword1").
    static std::string_view section(HistoryKind kind);
    static std::string_view keyPrefix(HistoryKind kind);

private:
    CExStringList& mutableList(HistoryKind kind);

    std::array<CExStringList, kHistoryKindCount> m_lists;
    LastSearchValues m_last;
};

}  // namespace vellmora
