#pragma once

#include <cstdio>
#include <string>

namespace vellmora {

/// Writes a file so that a failure never costs the old one: the bytes go to a temporary
/// file beside the target, which replaces the target only once it is complete and on disk.
/// A symbolic link as target is followed, so the file it names is replaced, not the link.
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    /// Removes the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Creates the temporary file. False, with reason(), when the target is a directory or
    /// its directory cannot take a new file.
    bool open();
    /// The temporary file's stream (null before a successful open()). Do not close it.
    std::FILE* stream() const { return m_stream; }
    /// Flushes and syncs the temporary file and renames it over the target. False, with
    /// reason(), when any write failed or the rename did; the target is then untouched.
    bool commit();

    const std::string& reason() const { return m_reason; }

private:
    void discard();
    void failWith(int error);

    std::string m_target;
    std::string m_temporary;
    std::FILE* m_stream = nullptr;
    bool m_committed = false;
    std::string m_reason;
};

}  // namespace vellmora
