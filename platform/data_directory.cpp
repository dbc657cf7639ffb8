#include "platform/data_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/finder.h"

namespace vellmora {
namespace {

constexpr std::string_view kApplicationFolder = "vellmora";

/// The variable's value when it is set to an absolute path; relative values would make the
/// location depend on the current directory.
std::optional<std::string> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return std::string(value);
}

std::string homeDirectory() {
    if (auto home = absoluteVariable("HOME")) return *home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string describe(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

/// Makes path and its missing parents. Returns 0 or the errno of the step that failed.
int makeDirectories(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0) return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
    std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (int error = makeDirectories(path.substr(0, slash))) return error;
    }
    // Another process may have made it in the meantime; that is as good.
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    if (stat(path.c_str(), &status) != 0) return errno;
    return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

bool isReadableFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), R_OK) == 0;
}

}  // namespace

std::string dataDirectory() {
    if (auto chosen = absoluteVariable("PYXO_DATA_DIR")) return withoutTrailingSlashes(*chosen);
    if (auto xdg = absoluteVariable("XDG_DATA_HOME")) {
        return joinPath(withoutTrailingSlashes(*xdg), kApplicationFolder);
    }
    std::string home = homeDirectory();
    if (home.empty()) return {};
    return joinPath(joinPath(withoutTrailingSlashes(home), ".local/share"), kApplicationFolder);
}

DataDirectoryStatus prepareDataDirectory(const std::string& directory) {
    using Problem = DataDirectoryStatus::Problem;
    if (directory.empty()) return {Problem::CannotCreate, "no home directory"};
    std::vector<std::string> folders = {directory};
    for (std::string_view folder : {kWordListFolder, kMacroFolder, kErrorLogFolder}) {
        folders.push_back(joinPath(directory, folder));
    }
    for (const std::string& folder : folders) {
        if (int error = makeDirectories(folder)) {
            return {Problem::CannotCreate, describe(folder, error)};
        }
    }
    for (const std::string& folder : folders) {
        if (access(folder.c_str(), W_OK | X_OK) != 0) {
            return {Problem::NotWritable, describe(folder, errno)};
        }
    }
    return {};
}

std::optional<std::string> findMessageFile(const std::string& dataDir,
                                           const std::string& programDir) {
    for (const std::string* directory : {&dataDir, &programDir}) {
        if (directory->empty()) continue;
        std::string candidate = joinPath(*directory, kMessageFileName);
        if (isReadableFile(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace vellmora
