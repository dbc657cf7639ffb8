// Splitting paths and resolving what the user typed as a file name or pattern.
// Paths use '/' and keep their case: names are case-sensitive here.

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "textlib/internal.h"
#include "textlib/ximo.h"

namespace ximo {
namespace {

constexpr std::size_t kPathCopyLimit = 259;
constexpr std::size_t kParseOutputSize = 4096;

/// Offset of the last '/' of s, or -1. '/' is never a second byte, but the
/// walk keeps to characters all the same.
long lastSlash(const char* s) {
    long last = -1;
    for (std::size_t i = 0; std::size_t step = charLength(s, i); i += step) {
        if (s[i] == '/') last = static_cast<long>(i);
    }
    return last;
}

/// Appends text[0, length) to out (holding `used` bytes), never beyond
/// kParseOutputSize - 1 bytes and never splitting a character.
std::size_t appendBounded(char* out, std::size_t used, const char* text, std::size_t length) {
    std::size_t room = kParseOutputSize - 1 - used;
    if (length > room) {
        length = 0;
        while (std::size_t step = charLength(text, length)) {
            if (length + step > room) break;
            length += step;
        }
    }
    std::memcpy(out + used, text, length);
    out[used + length] = '\0';
    return used + length;
}

std::size_t appendBounded(char* out, std::size_t used, const char* text) {
    return appendBounded(out, used, text, std::strlen(text));
}

/// The working directory with one trailing '/'.
std::size_t currentDirectory(char* out) {
    char cwd[kParseOutputSize];
    if (getcwd(cwd, sizeof cwd) == nullptr) std::strcpy(cwd, ".");
    std::size_t used = appendBounded(out, 0, cwd);
    if (used == 0 || out[used - 1] != '/') used = appendBounded(out, used, "/");
    return used;
}

bool hasWildcards(const char* s) { return std::strpbrk(s, "*?") != nullptr; }

bool isDirectory(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const char* path) {
    struct stat info;
    return stat(path, &info) == 0;
}

}  // namespace
}  // namespace ximo

using namespace ximo;

extern "C" {

char* GetFilename(const char* path, char* out) {
    char copy[kPathCopyLimit + 1];
    copyWholeCharacters(copy, path, kPathCopyLimit);
    std::strcpy(out, copy + (lastSlash(copy) + 1));
    return out;
}

char* GetDirectory(const char* path, char* out) {
    char copy[kPathCopyLimit + 1];
    copyWholeCharacters(copy, path, kPathCopyLimit);
    copy[lastSlash(copy) + 1] = '\0';
    std::strcpy(out, copy);
    return out;
}

char* GetExtension(const char* path, char* out) {
    char name[kPathCopyLimit + 1];
    GetFilename(path, name);
    const char* dot = std::strrchr(name, '.');
    if (dot != nullptr && name[0] != '.') std::strcpy(out, dot + 1);
    return out;
}

int parse_filename(char* dirOut, char* patOut, char* fileSpec) {
    if (fileSpec[0] == '\0') {
        currentDirectory(dirOut);
        std::strcpy(patOut, "*.*");
        return 0;
    }
    long slash = lastSlash(fileSpec);
    if (slash < 0) {
        currentDirectory(dirOut);
        appendBounded(patOut, 0, fileSpec);
        return 0;
    }
    const char* last = fileSpec + slash + 1;
    if (*last == '\0') {
        // A directory: keep one trailing '/'.
        std::size_t end = static_cast<std::size_t>(slash);
        while (end > 0 && fileSpec[end - 1] == '/') --end;
        std::size_t used = appendBounded(dirOut, 0, fileSpec, end);
        appendBounded(dirOut, used, "/");
        std::strcpy(patOut, "*.*");
        return 0;
    }
    if (!hasWildcards(last) && isDirectory(fileSpec)) {
        std::size_t used = appendBounded(dirOut, 0, fileSpec);
        appendBounded(dirOut, used, "/");
        std::strcpy(patOut, "*.*");
        return 0;
    }
    appendBounded(dirOut, 0, fileSpec, static_cast<std::size_t>(slash) + 1);
    appendBounded(patOut, 0, last);
    // A plain name that names nothing is reported; the outputs still hold
    // the directory and the name, so no caller reads stale buffers.
    return !hasWildcards(last) && !exists(fileSpec) ? 1 : 0;
}

}  // extern "C"
