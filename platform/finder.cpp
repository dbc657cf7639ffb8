#include "platform/finder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/text_encoding.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

/// How the bytes of a name (or a pattern) form characters. The names on disk are most often
/// UTF-8: read as Shift-JIS, the last byte of a UTF-8 character would take the "." after it
/// into a character of its own, and "*.txt" would miss the file.
enum class NameEncoding { ShiftJis, Utf8 };

NameEncoding encodingOf(std::string_view text) {
    return isUtf8BeyondAscii(text) ? NameEncoding::Utf8 : NameEncoding::ShiftJis;
}

/// Byte length of the character at text[i]. In Shift-JIS a lead byte takes the byte after it
/// along (whatever it is, so that a trail byte is never read as ASCII), a lone last lead byte
/// stands alone; in UTF-8 a character is its lead byte and its continuation bytes.
std::size_t unitLength(std::string_view text, std::size_t i, NameEncoding encoding) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (encoding == NameEncoding::ShiftJis) return ximo::isLeadByte(c) && i + 1 < text.size() ? 2 : 1;
    if (c < 0x80) return 1;
    std::size_t length = 1;
    while (length < 4 && i + length < text.size() &&
           (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

bool sameCharacter(std::string_view pattern, std::size_t p, std::size_t pLength,
                   std::string_view name, std::size_t n, std::size_t nLength) {
    if (pLength != nLength) return false;
    if (pLength > 1) return pattern.substr(p, pLength) == name.substr(n, nLength);
    return ximo::toLower(static_cast<unsigned char>(pattern[p])) ==
           ximo::toLower(static_cast<unsigned char>(name[n]));
}

/// Plain wildcard matching over whole characters. A star remembers where it stood so that a
/// failed attempt resumes one character further; this never backtracks more than one star,
/// which keeps hostile patterns linear in practice and quadratic at worst.
bool matchUnits(std::string_view pattern, std::string_view name) {
    const NameEncoding patternEncoding = encodingOf(pattern);
    const NameEncoding nameEncoding = encodingOf(name);
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        std::size_t nLength = unitLength(name, n, nameEncoding);
        if (p < pattern.size()) {
            std::size_t pLength = unitLength(pattern, p, patternEncoding);
            if (pLength == 1 && pattern[p] == '*') {
                starP = ++p;
                starN = n;
                continue;
            }
            if ((pLength == 1 && pattern[p] == '?') ||
                sameCharacter(pattern, p, pLength, name, n, nLength)) {
                p += pLength;
                n += nLength;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        // Let the last star swallow one more character and try again after it.
        starN += unitLength(name, starN, nameEncoding);
        n = starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

/// True when the pattern's last two characters are "." and "*" (a lead byte before the dot
/// would make the dot its second byte).
bool endsWithDotStar(std::string_view pattern) {
    if (pattern.size() < 2 || pattern.substr(pattern.size() - 2) != ".*") return false;
    const NameEncoding encoding = encodingOf(pattern);
    std::size_t i = 0;
    while (i < pattern.size() - 2) i += unitLength(pattern, i, encoding);
    return i == pattern.size() - 2;
}

/// Classifies one directory entry, following links. False for what is neither a regular
/// file nor a directory once links are followed.
bool classify(int directoryFd, const dirent& entry, FinderEntry& out) {
    unsigned char type = entry.d_type;
    struct stat status;
    if (type == DT_UNKNOWN) {
        if (fstatat(directoryFd, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
        if (S_ISLNK(status.st_mode)) {
            type = DT_LNK;
        } else if (S_ISDIR(status.st_mode)) {
            type = DT_DIR;
        } else if (S_ISREG(status.st_mode)) {
            type = DT_REG;
        } else {
            return false;
        }
    }
    switch (type) {
        case DT_DIR:
            out.isDirectory = true;
            return true;
        case DT_REG:
            out.isDirectory = false;
            return true;
        case DT_LNK:
            out.isSymlink = true;
            if (fstatat(directoryFd, entry.d_name, &status, 0) != 0) return false;
            if (S_ISDIR(status.st_mode)) {
                out.isDirectory = true;
                return true;
            }
            out.isDirectory = false;
            return S_ISREG(status.st_mode);
        default:
            return false;
    }
}

/// Lists directory, keeping the names accepted by keep, sorted by bytes.
template <typename Keep>
std::vector<FinderEntry> readDirectory(std::string_view directory, Keep keep) {
    std::vector<FinderEntry> entries;
    // A NUL inside the path would silently name another directory.
    if (directory.empty() || directory.find('\0') != std::string_view::npos) return entries;
    DIR* stream = opendir(std::string(directory).c_str());
    if (stream == nullptr) return entries;
    int fd = dirfd(stream);
    while (const dirent* entry = readdir(stream)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (!keep(name)) continue;
        FinderEntry found;
        if (!classify(fd, *entry, found)) continue;
        found.name = name;
        entries.push_back(std::move(found));
    }
    closedir(stream);
    // std::string compares through char_traits<char>, which orders bytes as unsigned.
    std::sort(entries.begin(), entries.end(),
              [](const FinderEntry& a, const FinderEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace

bool hasWildcard(std::string_view text) {
    // Neither "*" (0x2A) nor "?" (0x3F) can be the second byte of a double-byte character.
    return text.find_first_of("*?") != std::string_view::npos;
}

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    if (pattern.empty() || name.empty()) return false;
    if (name.front() == '.' && pattern.front() != '.') return false;
    if (matchUnits(pattern, name)) return true;
    return endsWithDotStar(pattern) && matchUnits(pattern.substr(0, pattern.size() - 2), name);
}

std::vector<FinderEntry> findEntries(std::string_view pathPattern) {
    std::size_t slash = pathPattern.rfind('/');
    std::string_view directory = ".";
    std::string_view pattern = pathPattern;
    if (slash != std::string_view::npos) {
        directory = pathPattern.substr(0, slash + 1);
        pattern = pathPattern.substr(slash + 1);
    }
    if (pattern.empty()) return {};
    return readDirectory(
        directory, [pattern](std::string_view name) { return matchesWildcard(pattern, name); });
}

std::vector<FinderEntry> listDirectory(std::string_view directory) {
    return readDirectory(directory, [](std::string_view) { return true; });
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

bool isDirectory(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return false;
    struct stat status;
    return stat(std::string(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace vellmora
