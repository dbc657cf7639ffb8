#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace vellmora::testing {

/// A fresh directory under /tmp, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/vellmora_test.XXXXXX";
        if (mkdtemp(pattern) != nullptr) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    /// The path of name inside the directory.
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFileBytes(const std::string& path, std::string_view content) {
    std::ofstream(path, std::ios::binary) << content;
}

}  // namespace vellmora::testing
