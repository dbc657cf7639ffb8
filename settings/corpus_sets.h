#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vellmora {

class Profile;

/// The four corpus fields of a search dialog.
struct CorpusFields {
    std::string filename;  ///< file patterns separated by ";"
    std::string directory;
    std::string resFile;     ///< response file name
    std::string resFileDir;  ///< its directory

    bool operator==(const CorpusFields&) const = default;
};

/// One stored combination of corpus fields, section "CorpusSet", keys "001Title" ...
/// "006ResDir". A set whose title is empty is not defined, whatever its other keys hold.
struct CorpusSet {
    std::string title;
    CorpusFields fields;

    bool isDefined() const { return !title.empty(); }
};

inline constexpr int kCorpusSetCount = 6;
/// The caption of the button of an undefined set.
inline constexpr std::string_view kUndefinedSetCaption = "=-=-=";

/// The key of set number (1 to 6) and name ("Title", "File", ...): "003File".
std::string corpusSetKey(int number, std::string_view name);

/// Reads the five keys of set number (1 to 6). Functions taking a set number throw
/// std::out_of_range for any other number.
CorpusSet readCorpusSet(Profile& profile, int number);
/// Writes the five keys of set number and flushes; false when the flush failed.
bool writeCorpusSet(Profile& profile, int number, const CorpusSet& set);
/// Writes the empty string to the five keys (nothing deletes a key) and flushes.
bool clearCorpusSet(Profile& profile, int number);

/// Model of the "File Set" dialog that defines or edits one set.
class CFileSetDlg {
public:
    /// Opens for set number (1 to 6) with the given title and corpus fields.
    CFileSetDlg(int number, CorpusSet initial);

    /// "No." followed by the set number.
    std::string windowTitle() const;
    int number() const { return m_number; }

    /// The fields "Title", "Filename", "Directory", "Response file" and "Directory of
    /// response file", edited by the view.
    CorpusSet& set() { return m_set; }
    const CorpusSet& set() const { return m_set; }

    /// "OK": writes the set's five keys and flushes; the dialog closes. False when the flush
    /// failed (the values stay pending in the profile).
    bool accept(Profile& profile) const;

private:
    int m_number;
    CorpusSet m_set;
};

/// Model of the six corpus-set buttons of a search dialog.
class CorpusSetButtons {
public:
    /// What the search dialog does after a click.
    enum class Click {
        Loaded,          ///< the set's four fields were put into the dialog's fields
        DefineRequested  ///< undefined: show fileSetDialog(), on OK call applyFileSet()
    };

    CorpusSetButtons();

    /// Opening a search dialog: reads the six titles.
    void load(Profile& profile);

    /// Caption of button number (1 to 6): the set's title, or "=-=-=".
    std::string caption(int number) const;
    bool isDefined(int number) const;

    /// Clicking button number: a defined set's four fields are read from the file into
    /// fields; an undefined set asks for the "File Set" dialog.
    Click click(Profile& profile, int number, CorpusFields& fields);

    /// The "File Set" dialog that defines set number from the dialog's current fields.
    static CFileSetDlg fileSetDialog(int number, const CorpusFields& fields);
    /// The "File Set" dialog that edits the stored set number (its title and fields).
    static CFileSetDlg editDialog(Profile& profile, int number);

    /// After "OK" of a "File Set" dialog (already written by accept()): its four fields go
    /// into the search dialog's fields and the button takes its title.
    void applyFileSet(const CFileSetDlg& dialog, CorpusFields& fields);
    /// Clears set number in the file; its button shows "=-=-=" again.
    bool clear(Profile& profile, int number);

private:
    std::array<std::string, kCorpusSetCount> m_titles;
};

}  // namespace vellmora
