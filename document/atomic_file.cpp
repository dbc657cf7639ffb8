#include "document/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vellmora {
namespace {

std::string followLinks(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    // A dangling link: writing through it would need its directory chain; replace the link.
    return error ? path : resolved.string();
}

std::string temporaryName(const std::string& target, unsigned attempt) {
    const std::filesystem::path path(target);
    std::string name = "." + path.filename().string() + ".tmp-" + std::to_string(getpid()) + "-" +
                       std::to_string(attempt);
    return (path.parent_path() / name).string();
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(followLinks(target)) {}

AtomicFile::~AtomicFile() {
    if (!m_committed) discard();
}

void AtomicFile::failWith(int error) { m_reason = std::strerror(error); }

void AtomicFile::discard() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool AtomicFile::open() {
    discard();
    struct stat existing;
    const bool exists = stat(m_target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        failWith(EISDIR);
        return false;
    }
    int descriptor = -1;
    // Another writer's leftover (or a concurrent save) may hold a name: take the next one.
    for (unsigned attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        m_temporary = temporaryName(m_target, attempt);
        descriptor = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) break;
    }
    if (descriptor < 0) {
        failWith(errno);
        m_temporary.clear();
        return false;
    }
    // The replacement keeps the permissions the user gave the old file.
    if (exists) fchmod(descriptor, existing.st_mode & 07777);
    m_stream = fdopen(descriptor, "wb");
    if (m_stream == nullptr) {
        failWith(errno);
        close(descriptor);
        discard();
        return false;
    }
    static constexpr std::size_t kBufferSize = 1 << 16;
    std::setvbuf(m_stream, nullptr, _IOFBF, kBufferSize);
    return true;
}

bool AtomicFile::commit() {
    if (m_stream == nullptr) {
        if (m_reason.empty()) failWith(EBADF);
        return false;
    }
    if (std::ferror(m_stream)) {
        // errno no longer tells which write failed, or why.
        m_reason = "a write to the temporary file failed";
        discard();
        return false;
    }
    int error = 0;
    if (std::fflush(m_stream) != 0 || fsync(fileno(m_stream)) != 0) error = errno;
    const int closed = std::fclose(m_stream);
    m_stream = nullptr;
    if (error == 0 && closed != 0) error = errno;
    if (error == 0 && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) error = errno;
    if (error != 0) {
        failWith(error);
        discard();
        return false;
    }
    m_temporary.clear();
    m_committed = true;
    return true;
}

}  // namespace vellmora
