#include "platform/finder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "textlib/sjis.h"

namespace vellmora {
namespace {

/// Byte length of the character at text[i]: a lead byte takes the byte after it along
/// (whatever it is, so that a trail byte is never read as ASCII), a lone last lead byte
/// stands alone.
std::size_t unitLength(std::string_view text, std::size_t i) {
    return ximo::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool sameCharacter(std::string_view pattern, std::size_t p, std::size_t pLength,
                   std::string_view name, std::size_t n, std::size_t nLength) {
    if (pLength != nLength) return false;
    if (pLength == 2) return pattern[p] == name[n] && pattern[p + 1] == name[n + 1];
    return ximo::toLower(static_cast<unsigned char>(pattern[p])) ==
           ximo::toLower(static_cast<unsigned char>(name[n]));
}

/// Plain wildcard matching over whole characters. A star remembers where it stood so that a
/// failed attempt resumes one character further; this never backtracks more than one star,
/// which keeps hostile patterns linear in practice and quadratic at worst.
bool matchUnits(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        std::size_t nLength = unitLength(name, n);
        if (p < pattern.size()) {
            std::size_t pLength = unitLength(pattern, p);
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
        starN += unitLength(name, starN);
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
    std::size_t i = 0;
    while (i < pattern.size() - 2) i += unitLength(pattern, i);
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
