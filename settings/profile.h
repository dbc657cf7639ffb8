#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

/// The settings file pyxo.ini: sections of "key=value" lines. Names match without regard to
/// ASCII case after trimming blanks; values are the bytes after "=" up to the line end,
/// unchanged (Shift-JIS text stays as it is). Where a section or a key appears twice, the
/// first occurrence is read and written and the later ones are left alone.
///
/// The file is re-read whenever it changed on disk, so a hand edit made while the program
/// runs is seen by the next read. Writes are kept in memory until flush(), which re-reads
/// the file, applies them and replaces the file atomically; every other line (comments,
/// unknown sections, odd bytes) is written back exactly as it was.
class Profile {
public:
    /// Longest string a read returns: a longer stored value comes back cut.
    static constexpr std::size_t kMaxStringRead = 259;

    /// Works on the file at path; a missing file reads as empty and is created by flush().
    explicit Profile(std::string path);
    /// Flushes writes a caller left pending.
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    /// $PYXO_INI when set, else $XDG_CONFIG_HOME/vellmora/pyxo.ini, else
    /// ~/.config/vellmora/pyxo.ini.
    static std::string defaultPath();

    const std::string& path() const { return m_path; }

    /// The value as a decimal integer ("-6" parses; what does not parse reads as 0, digits
    /// are read up to the first other byte, out-of-range values are clamped), or
    /// defaultValue when the key is missing.
    int readInt(std::string_view section, std::string_view key, int defaultValue);
    /// The value cut to kMaxStringRead bytes (never inside a double-byte character), or
    /// defaultValue when the key is missing. A key written empty reads as empty.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue);
    /// The whole stored value, uncut; nullopt when the key is missing.
    std::optional<std::string> readRaw(std::string_view section, std::string_view key);

    void writeInt(std::string_view section, std::string_view key, int value);
    /// A line end inside value would break the file: the value is cut before it.
    void writeString(std::string_view section, std::string_view key, std::string_view value);

    /// Puts every pending write on disk (temporary file, then rename). Returns false, keeping
    /// the writes pending and the old file intact, when the file cannot be written.
    bool flush();
    bool hasPendingWrites() const { return !m_pending.empty(); }

    /// Told why, when a flush fails: once, until a flush succeeds again, so that a full disk
    /// is reported without a message at every setting the program stores.
    using FlushFailureReporter = std::function<void(const std::string& reason)>;
    void setFlushFailureReporter(FlushFailureReporter reporter) {
        m_reportFailure = std::move(reporter);
    }

private:
    bool writeFile(std::string& reason);

    struct Line {
        std::string text;    // without the line end
        std::string ending;  // "\r\n", "\n" or "" for a last line without one
    };
    struct PendingWrite {
        std::string section;
        std::string key;
        std::string value;
    };
    struct FileStamp {
        bool exists = false;
        long long size = 0;
        long long modifiedNs = 0;
        unsigned long long inode = 0;
        bool operator==(const FileStamp&) const = default;
    };

    /// Lines [header, end) of the first section of that name.
    struct SectionRange {
        bool found;
        std::size_t header;
        std::size_t end;
    };

    void refresh();
    void load();
    FileStamp currentStamp() const;
    /// Finds the section header lines again after the lines changed.
    void indexSections();
    SectionRange findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const SectionRange& range, std::string_view key) const;
    std::optional<std::string_view> lookup(std::string_view section, std::string_view key) const;
    void apply(const PendingWrite& write);
    /// Gives the file's last line, which may have none, the line end a new line needs before it.
    void endLastLine(Line& line) const;
    std::string newLineEnding() const;

    std::string m_path;
    FlushFailureReporter m_reportFailure;
    bool m_failureReported = false;
    std::vector<Line> m_lines;
    // Where each section starts: a settings file is read a key at a time, and a long one
    // would otherwise be scanned whole for every key.
    std::vector<std::size_t> m_sectionHeaders;
    std::vector<PendingWrite> m_pending;
    FileStamp m_stamp;
    bool m_loaded = false;
};

}  // namespace vellmora
