#pragma once

#include <string>
#include <string_view>

#include "containers/ex_string_list.h"

namespace vellmora {

class Profile;

/// The extension of the file name of path, as written: the text after the last "." of the
/// part after the last "/". Empty when the name has no ".", begins with one, or ends with
/// one. Unlike GetExtension it works on paths of any length.
std::string_view fileExtension(std::string_view path);

/// The exclusion lists of section "Exclude": the extensions (each with its leading ".") of
/// files a search or the file list maker skips. Built afresh for every search, so hand
/// edits of the section take effect at the next one.
class CExcludeFile {
public:
    CExcludeFile() = default;

    /// Replaces the list with the categories "Exec", "Pict", "Data", "Arc" and "User", in
    /// that order, whose switch is exactly 1: each list key is split at "|", empty pieces
    /// skipped.
    void build(Profile& profile);

    /// True when "." followed by the extension of path equals a listed entry, ASCII letters
    /// compared without regard to case. A name without extension is tested as ".".
    bool isExcluded(std::string_view path) const;

    const CExStringList& extensions() const { return m_extensions; }

private:
    CExStringList m_extensions;
};

}  // namespace vellmora
