#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/file_outcome.h"

namespace vellmora {

class CPyxoDoc;
class Profile;
class UserInterface;

/// The version this program writes; it reads 5 and above.
inline constexpr std::uint16_t kFormattedFileVersion = 11;
inline constexpr std::uint16_t kOldestReadableVersion = 5;

inline constexpr std::string_view kCannotReadMessage = "This Program cannot read this file.";
inline constexpr std::string_view kOpenFailedMessage = "Failed to open document.";
inline constexpr std::string_view kSaveFailedMessage = "Failed to save document.";
inline constexpr std::string_view kDamagedFileMessage =
    "This file is damaged or incomplete: it cannot be read.";
inline constexpr std::string_view kEmptyFileMessage = "This file is empty: it holds no result.";
/// Shown in a small window without title while a document is written or read.
inline constexpr std::string_view kSerializingNotice = "I'm serializing data... Please wait...";

/// Writes document as a formatted result file at path, replacing any file there only once
/// the new one is complete. A document without search result lines gives a zero-length
/// file. On failure it shows kSaveFailedMessage through ui and returns it; the old file is
/// left as it was.
FileOutcome writeFormattedFile(const CPyxoDoc& document, const std::string& path,
                               UserInterface& ui);

/// Reads the formatted result file at path into document: its five lists, display
/// snapshot (the usable width excepted), collocation values and reserved fields. On
/// success the displayed kind is the first history entry, the document is unmodified and
/// its file is path. On failure (a file that cannot be opened, a version below 5, a short,
/// empty or damaged file) the message is shown through ui (with the beep that profile
/// allows) and returned, and the document is left empty.
FileOutcome readFormattedFile(const std::string& path, CPyxoDoc& document, UserInterface& ui,
                              Profile& profile);

/// Whether the file at path holds a formatted result, by its name (".vm2" or ".vm1" in any
/// case) or by its first bytes (a version the reader knows): text must not go over it
/// unasked.
bool holdsFormattedResult(const std::string& path);

/// The name "Save to Text File" offers: the document's file with ".txt" in place of a
/// formatted file's extension (or added to a formatted file's name without one), the
/// document's file itself when that is text, else its title.
std::string textSaveName(const CPyxoDoc& document);

}  // namespace vellmora
