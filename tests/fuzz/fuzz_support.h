#pragma once

// What the fuzz programs share: a scratch directory for the files an input becomes, the
// splitting of an input into its parts, and a check that stops the run with a reproducer.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora::fuzz {

/// Stops the run when a property does not hold: libFuzzer keeps the input as a crash.
inline void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

/// One directory per process for the files the inputs become, under $TMPDIR (scripts/fuzz
/// points it at a memory file system, so that the many small writes never reach a disk).
/// Removed when the process ends normally.
class ScratchDir {
public:
    ScratchDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vellmora-fuzz.XXXXXX";
        check(mkdtemp(pattern.data()) != nullptr, "a scratch directory can be made");
        m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out.flush()), "a scratch file can be written");
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

/// The line that separates the parts of an input: readable in a seed file, unlikely in text.
inline constexpr std::string_view kPartSeparator = "\n--8<--\n";

/// The input cut at each separator line into at most maxParts parts; the last part takes the
/// rest, separators and all.
inline std::vector<std::string_view> splitParts(const std::uint8_t* data, std::size_t size,
                                                std::size_t maxParts) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const std::size_t cut = rest.find(kPartSeparator);
        if (cut == std::string_view::npos) break;
        parts.push_back(rest.substr(0, cut));
        rest.remove_prefix(cut + kPartSeparator.size());
    }
    parts.push_back(rest);
    return parts;
}

/// The text up to its first NUL byte: what a terminated string holds of it.
inline std::string_view terminatedPart(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace vellmora::fuzz
