#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "document/file_outcome.h"
#include "document/result_document.h"

namespace vellmora {

class Profile;
class UserInterface;

/// The header written before the displayed list when "Displayed Result" is chosen.
inline constexpr std::string_view kDisplayedResultHeader = "===[ Displayed Result ]===\r\n";

/// The header of a kind's list in the text form.
std::string_view textSaveHeader(ResultKind kind);

/// What a save to text writes: the keys of section "SaveOptions", each on when it is 1.
struct TextSaveOptions {
    bool dispOnly = true;  ///< the displayed list, without a header
    bool disp = false;     ///< the displayed list under kDisplayedResultHeader
    bool saveAll = false;  ///< every non-empty list under its header (and the displayed one)
    bool searchResult = false;
    bool extracted = false;
    bool sorted = false;
    bool colloq = false;
    bool spreadsheet = false;
    /// "UTF8": every line written as UTF-8 (line ends kept), and an HTML conversion
    /// declaring that character set; otherwise the lines go out as stored, in Shift-JIS.
    bool utf8 = false;

    /// Reads the nine keys as they stand in the settings file now.
    static TextSaveOptions read(Profile& profile);
    /// Whether kind's own list is asked for (its key or "SaveAll").
    bool wants(ResultKind kind) const;
};

/// Writes the text form of document to out: lines exactly as stored (or their UTF-8 form),
/// headers as chosen. Lets ui process events after each line. False when a write failed.
bool writeTextForm(const CPyxoDoc& document, const TextSaveOptions& options, std::FILE* out,
                   UserInterface& ui);

/// Writes the text form chosen by the settings file's "SaveOptions" to path, replacing any
/// file there only once the new one is complete. On failure (a UTF-8 save also fails when the
/// system cannot convert Shift-JIS) it shows kSaveFailedMessage (of formatted_file.h) through
/// ui and returns it; the old file is left as it was.
FileOutcome writeTextFile(const CPyxoDoc& document, const std::string& path, Profile& profile,
                          UserInterface& ui);

}  // namespace vellmora
