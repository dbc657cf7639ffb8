#include "settings/excluded_types.h"

#include <optional>

#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/profile.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

struct Category {
    const SettingKey& enabled;
    const SettingKey& list;
};

constexpr Category kCategories[] = {
    {settingKey("Exclude", "Exec"), settingKey("Exclude", "ExecExt")},
    {settingKey("Exclude", "Pict"), settingKey("Exclude", "PictExt")},
    {settingKey("Exclude", "Data"), settingKey("Exclude", "DataExt")},
    {settingKey("Exclude", "Arc"), settingKey("Exclude", "ArcExt")},
    {settingKey("Exclude", "User"), settingKey("Exclude", "UserExt")},
};

/// Offset of the first "|" of text that stands as a character of its own, or npos: 0x7C is
/// also the second byte of double-byte characters (ポ is 0x83 0x7C).
std::size_t findBar(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (ximo::isLeadByte(c)) {
            ++i;
        } else if (c == '|') {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view fileExtension(std::string_view path) {
    // Neither "/" nor "." is ever the second byte of a double-byte character, so a plain
    // byte search finds them.
    std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.front() == '.') return {};
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return name.substr(dot + 1);
}

void CExcludeFile::build(Profile& profile) {
    m_extensions.removeAll();
    for (const Category& category : kCategories) {
        if (readInt(profile, category.enabled) != 1) continue;
        // The lists are edited by hand and no dialog bounds them: read them whole, since a
        // value cut at the 259-byte limit would drop extensions and could leave a cut one
        // (".HT" of ".HTML") that excludes the wrong files.
        std::optional<std::string> stored =
            profile.readRaw(category.list.section, category.list.key);
        std::string_view value = stored ? std::string_view(*stored) : category.list.defaultValue;
        while (!value.empty()) {
            std::size_t bar = findBar(value);
            std::string_view piece = value.substr(0, bar);
            if (!piece.empty()) m_extensions.addTail(piece);
            if (bar == std::string_view::npos) break;
            value.remove_prefix(bar + 1);
        }
    }
}

bool CExcludeFile::isExcluded(std::string_view path) const {
    std::string tested = ".";
    tested += fileExtension(path);
    for (const std::string& extension : m_extensions) {
        if (equalsIgnoringAsciiCase(extension, tested)) return true;
    }
    return false;
}

}  // namespace vellmora
