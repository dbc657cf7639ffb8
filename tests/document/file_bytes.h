#pragma once

// Builds and decodes the formatted file's bytes by hand, so that the tests check the
// document's reader and writer against the layout itself rather than against each other.

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora::testing {

class ByteBuilder {
public:
    ByteBuilder& u8(unsigned value) {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    ByteBuilder& u16(unsigned value) { return u8(value).u8(value >> 8); }
    ByteBuilder& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    ByteBuilder& str(std::string_view text) {
        if (text.size() < 255) {
            u8(static_cast<unsigned>(text.size()));
        } else if (text.size() < 0xFFFE) {
            u8(0xFF).u16(static_cast<unsigned>(text.size()));
        } else {
            u8(0xFF).u16(0xFFFF).u32(static_cast<std::uint32_t>(text.size()));
        }
        m_bytes.append(text);
        return *this;
    }
    ByteBuilder& list(const std::vector<std::string>& lines) {
        u32(static_cast<std::uint32_t>(lines.size()));
        for (const std::string& line : lines) str(line);
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : m_bytes(bytes) {}

    unsigned u8() {
        need(1);
        return static_cast<unsigned char>(m_bytes[m_at++]);
    }
    unsigned u16() {
        const unsigned low = u8();
        return low | u8() << 8;
    }
    int i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | static_cast<std::uint32_t>(u16()) << 16;
    }
    std::string str() {
        std::size_t length = u8();
        if (length == 0xFF) {
            length = u16();
            if (length == 0xFFFF) length = u32();
        }
        need(length);
        std::string text(m_bytes.substr(m_at, length));
        m_at += length;
        return text;
    }
    std::vector<std::string> list() {
        std::vector<std::string> lines(u32());
        for (std::string& line : lines) line = str();
        return lines;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    void need(std::size_t count) const {
        if (m_bytes.size() - m_at < count) throw std::out_of_range("past the end of the file");
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
};

/// Makes every file write of this process fail past limit bytes, as a full disk would,
/// for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    sighandler_t m_oldHandler;
};

}  // namespace vellmora::testing
