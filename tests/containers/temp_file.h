#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vellmora::testing {

/// An anonymous temporary file: write through file(), then read it all back with bytes(), or
/// start from given bytes and read them through file().
class TempFile {
public:
    explicit TempFile(std::string_view content = {}) : m_file(std::tmpfile()) {
        if (m_file == nullptr) return;
        if (!content.empty()) std::fwrite(content.data(), 1, content.size(), m_file);
        std::rewind(m_file);
    }
    ~TempFile() {
        if (m_file != nullptr) std::fclose(m_file);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::FILE* file() const { return m_file; }

    std::string bytes() const {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string content;
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, m_file)) > 0;)
            content.append(chunk, n);
        std::rewind(m_file);
        return content;
    }

private:
    std::FILE* m_file;
};

}  // namespace vellmora::testing
