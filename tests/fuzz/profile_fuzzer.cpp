// The settings file as a hand edit or another program may leave it, then written to: every
// key that was readable stays readable with its value unless a write replaced it, every
// written key reads back (before and after the flush), and the lines no write touched are
// written back as they were.
//
// Input: the file's bytes, the separator line, then one write per line: section TAB key TAB
// value.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ascii_case.h"
#include "settings/profile.h"
#include "tests/fuzz/fuzz_support.h"

namespace vellmora {
namespace {

constexpr std::size_t kMaxWrites = 32;
constexpr std::size_t kMaxProbes = 64;

struct Entry {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return equalsIgnoringAsciiCase(trimmed(a), trimmed(b));
}

/// Names a caller may write under: the file can hold them so that they read back.
bool writable(std::string_view section, std::string_view key) {
    section = trimmed(section);
    key = trimmed(key);
    return !section.empty() && !key.empty() &&
           section.find_first_of("]\r\n") == std::string_view::npos &&
           key.find_first_of("=\r\n") == std::string_view::npos && key.front() != '[';
}

/// The lines as the settings file splits them: a line end is LF or CR LF, and a last line
/// without one keeps all its bytes.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        std::size_t end = newline > 0 && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(newline + 1);
    }
    return lines;
}

/// Section and key names the file seems to hold, each key with the header above it; the
/// profile itself decides what they read as.
std::vector<Entry> probesOf(std::string_view file) {
    std::vector<Entry> probes;
    std::string section;
    for (std::string_view line : linesOf(file)) {
        std::string_view name = trimmed(line);
        if (!name.empty() && name.front() == '[') {
            name.remove_prefix(1);
            section = std::string(name.substr(0, name.find(']')));
        } else if (std::size_t equals = line.find('='); equals != std::string_view::npos) {
            probes.push_back({section, std::string(line.substr(0, equals)), std::nullopt});
        }
        if (probes.size() == kMaxProbes) break;
    }
    return probes;
}

std::vector<Entry> writesOf(std::string_view text) {
    std::vector<Entry> writes;
    for (std::string_view line : linesOf(text)) {
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) continue;
        std::string_view section = line.substr(0, tab1);
        std::string_view key = line.substr(tab1 + 1, tab2 - tab1 - 1);
        if (!writable(section, key)) continue;
        writes.push_back(
            {std::string(section), std::string(key), std::string(line.substr(tab2 + 1))});
        if (writes.size() == kMaxWrites) break;
    }
    return writes;
}

/// The value a write stores: the file has no room for what follows a line end.
std::string stored(const std::string& value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

/// The last write to the key, if any.
const Entry* lastWrite(const std::vector<Entry>& writes, std::string_view section,
                       std::string_view key) {
    for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
        if (sameName(write->section, section) && sameName(write->key, key)) return &*write;
    }
    return nullptr;
}

void checkReads(Profile& profile, const std::vector<Entry>& probes,
                const std::vector<Entry>& writes) {
    for (const Entry& probe : probes) {
        const Entry* write = lastWrite(writes, probe.section, probe.key);
        const std::optional<std::string> expected = write ? stored(*write->value) : probe.value;
        fuzz::check(profile.readRaw(probe.section, probe.key) == expected,
                    "a key that was there keeps its value unless written");
    }
    for (const Entry& write : writes) {
        const std::optional<std::string> raw = profile.readRaw(write.section, write.key);
        fuzz::check(raw == stored(*lastWrite(writes, write.section, write.key)->value),
                    "a written key reads back its last value");
        const std::string cut = profile.readString(write.section, write.key, "");
        fuzz::check(cut.size() <= Profile::kMaxStringRead && raw->compare(0, cut.size(), cut) == 0,
                    "a string read is the stored value, cut");
        profile.readInt(write.section, write.key, 0);
    }
}

/// Every line of before that no write may have replaced stands in after, in the same order.
bool keepsUntouchedLines(std::string_view before, std::string_view after,
                         const std::vector<Entry>& writes) {
    const std::vector<std::string_view> old = linesOf(before);
    const std::vector<std::string_view> now = linesOf(after);
    std::size_t j = 0;
    for (std::string_view line : old) {
        const std::size_t equals = line.find('=');
        bool mayBeReplaced = false;
        for (const Entry& write : writes) {
            if (equals != std::string_view::npos && sameName(line.substr(0, equals), write.key))
                mayBeReplaced = true;
        }
        if (mayBeReplaced) continue;
        while (j < now.size() && now[j] != line) ++j;
        if (j == now.size()) return false;
        ++j;
    }
    return true;
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static fuzz::ScratchDir dir;
    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 2);
    const std::string_view file = parts[0];
    const std::vector<Entry> writes = writesOf(parts.size() > 1 ? parts[1] : std::string_view());
    const std::string path = dir.file("pyxo.ini");
    fuzz::writeFile(path, file);

    std::vector<Entry> probes = probesOf(file);
    {
        Profile profile(path);
        for (Entry& probe : probes) probe.value = profile.readRaw(probe.section, probe.key);
        for (const Entry& write : writes)
            profile.writeString(write.section, write.key, *write.value);
        checkReads(profile, probes, writes);
        fuzz::check(profile.flush(), "the settings file can be written");
    }
    Profile reread(path);
    checkReads(reread, probes, writes);
    fuzz::check(keepsUntouchedLines(file, fuzz::readFile(path), writes),
                "lines no write replaced are written back as they were");
    return 0;
}
