#include "settings/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

std::string_view trimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

/// Section and key names match without regard to ASCII case, but a Japanese name must not
/// match another whose second bytes merely look like letters of another case.
bool sameName(std::string_view a, std::string_view b) {
    return equalsIgnoringAsciiCase(trimBlanks(a), trimBlanks(b));
}

/// The section name of a header line "[name]", or nullopt for any other line.
std::optional<std::string_view> sectionHeader(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return trimBlanks(line);
}

/// Splits "key=value"; nullopt for a line without "=".
std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return std::make_pair(line.substr(0, equals), line.substr(equals + 1));
}

/// text cut to at most limit bytes without splitting a double-byte character.
std::string cutWholeCharacters(std::string_view text, std::size_t limit) {
    std::size_t length = 0;
    while (length < text.size()) {
        std::size_t step = ximo::isLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
        if (length + step > limit) break;
        length += step;
    }
    return std::string(text.substr(0, std::min(length, text.size())));
}

std::string_view beforeLineEnd(std::string_view value) {
    std::size_t end = value.find_first_of("\r\n");
    return end == std::string_view::npos ? value : value.substr(0, end);
}

}  // namespace

Profile::Profile(std::string path) : m_path(std::move(path)) {}

Profile::~Profile() {
    // Writes of a caller that forgot its flush are not lost.
    if (hasPendingWrites()) flush();
}

std::string Profile::defaultPath() {
    if (const char* explicitPath = std::getenv("PYXO_INI"); explicitPath && *explicitPath)
        return explicitPath;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        base = ".";
    }
    return base + "/vellmora/pyxo.ini";
}

int Profile::readInt(std::string_view section, std::string_view key, int defaultValue) {
    refresh();
    std::optional<std::string_view> value = lookup(section, key);
    return value ? parseDecimal(*value) : defaultValue;
}

std::string Profile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) {
    refresh();
    std::optional<std::string_view> value = lookup(section, key);
    return cutWholeCharacters(value ? *value : defaultValue, kMaxStringRead);
}

std::optional<std::string> Profile::readRaw(std::string_view section, std::string_view key) {
    refresh();
    std::optional<std::string_view> value = lookup(section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

void Profile::writeInt(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void Profile::writeString(std::string_view section, std::string_view key,
                          std::string_view value) {
    refresh();
    PendingWrite write{std::string(trimBlanks(section)), std::string(trimBlanks(key)),
                       std::string(beforeLineEnd(value))};
    apply(write);
    m_pending.push_back(std::move(write));
}

bool Profile::flush() {
    if (m_pending.empty()) return true;
    refresh();  // keeps hand edits made since the last read
    std::string reason;
    if (!writeFile(reason)) {
        if (m_reportFailure && !m_failureReported) m_reportFailure(reason);
        m_failureReported = true;
        return false;
    }
    m_failureReported = false;
    m_pending.clear();
    m_stamp = currentStamp();
    return true;
}

bool Profile::writeFile(std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target(m_path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);

    std::string temporary = m_path + ".tmp-" + std::to_string(getpid());
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    bool written = true;
    int failure = 0;
    const auto note = [&](bool ok) {
        if (!ok && failure == 0) failure = errno;
        written = written && ok;
    };
    for (const Line& line : m_lines) {
        if (!written) break;
        note(std::fwrite(line.text.data(), 1, line.text.size(), out) == line.text.size());
        note(std::fwrite(line.ending.data(), 1, line.ending.size(), out) == line.ending.size());
    }
    note(std::fflush(out) == 0);
    note(fsync(fileno(out)) == 0);
    note(std::fclose(out) == 0);
    if (written && std::rename(temporary.c_str(), m_path.c_str()) != 0) note(false);
    if (!written) {
        std::remove(temporary.c_str());
        reason = std::strerror(failure != 0 ? failure : EIO);
        return false;
    }
    return true;
}

Profile::FileStamp Profile::currentStamp() const {
    struct stat info;
    FileStamp stamp;
    if (stat(m_path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL +
                       info.st_mtim.tv_nsec;
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    return stamp;
}

void Profile::refresh() {
    FileStamp stamp = currentStamp();
    if (m_loaded && stamp == m_stamp) return;
    m_stamp = stamp;
    m_loaded = true;
    load();
    for (const PendingWrite& write : m_pending) apply(write);
}

void Profile::load() {
    m_lines.clear();
    m_sectionHeaders.clear();
    std::FILE* in = std::fopen(m_path.c_str(), "rb");
    if (in == nullptr) return;
    std::string content;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        content.append(buffer, got);
    std::fclose(in);

    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t newline = content.find('\n', start);
        Line line;
        if (newline == std::string::npos) {
            line.text = content.substr(start);
            start = content.size();
        } else {
            std::size_t end = newline;
            line.ending = "\n";
            if (end > start && content[end - 1] == '\r') {
                --end;
                line.ending = "\r\n";
            }
            line.text = content.substr(start, end - start);
            start = newline + 1;
        }
        m_lines.push_back(std::move(line));
    }
    indexSections();
}

void Profile::indexSections() {
    m_sectionHeaders.clear();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (sectionHeader(m_lines[i].text)) m_sectionHeaders.push_back(i);
    }
}

Profile::SectionRange Profile::findSection(std::string_view section) const {
    for (std::size_t k = 0; k < m_sectionHeaders.size(); ++k) {
        const std::size_t header = m_sectionHeaders[k];
        if (!sameName(*sectionHeader(m_lines[header].text), section)) continue;
        const std::size_t end =
            k + 1 < m_sectionHeaders.size() ? m_sectionHeaders[k + 1] : m_lines.size();
        return {true, header, end};
    }
    return {false, 0, 0};
}

std::optional<std::size_t> Profile::findKey(const SectionRange& range,
                                            std::string_view key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = keyValue(m_lines[i].text);
        if (entry && sameName(entry->first, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> Profile::lookup(std::string_view section,
                                                std::string_view key) const {
    SectionRange range = findSection(section);
    if (!range.found) return std::nullopt;
    std::optional<std::size_t> index = findKey(range, key);
    if (!index) return std::nullopt;
    return keyValue(m_lines[*index].text)->second;
}

void Profile::apply(const PendingWrite& write) {
    SectionRange range = findSection(write.section);
    if (range.found) {
        if (std::optional<std::size_t> index = findKey(range, write.key)) {
            Line& line = m_lines[*index];
            std::string_view storedKey = keyValue(line.text)->first;
            line.text = std::string(storedKey) + "=" + write.value;
            return;
        }
        // A new key goes after the section's last entry, before its trailing blank lines.
        std::size_t at = range.end;
        while (at > range.header + 1 && trimBlanks(m_lines[at - 1].text).empty()) --at;
        // The file's last line may have no line end; the new key must not join it.
        endLastLine(m_lines[at - 1]);
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at),
                       Line{write.key + "=" + write.value, newLineEnding()});
        indexSections();
        return;
    }
    if (!m_lines.empty()) endLastLine(m_lines.back());
    m_lines.push_back(Line{"[" + write.section + "]", newLineEnding()});
    m_lines.push_back(Line{write.key + "=" + write.value, newLineEnding()});
    indexSections();
}

void Profile::endLastLine(Line& line) const {
    if (!line.ending.empty()) return;
    // A CR the line ends in would join an LF into one line end and be lost.
    line.ending = !line.text.empty() && line.text.back() == '\r' ? "\r\n" : newLineEnding();
}

std::string Profile::newLineEnding() const {
    for (const Line& line : m_lines) {
        if (!line.ending.empty()) return line.ending;
    }
    return "\n";
}

}  // namespace vellmora
