#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vellmora {

/// Writes the binary form shared by the formatted result file and the stored counting
/// trees: little-endian integers and length-prefixed byte strings. The first failed
/// write (disk full, closed stream) sticks: later writes do nothing and ok() stays false.
class ArchiveWriter {
public:
    /// The writer does not own the stream; a null stream makes a writer that has failed.
    explicit ArchiveWriter(std::FILE* file) : m_file(file), m_ok(file != nullptr) {}

    /// False once any write (or flush) has failed.
    bool ok() const { return m_ok; }

    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeI16(std::int16_t value);
    void writeU32(std::uint32_t value);
    void writeI32(std::int32_t value);
    void writeBytes(const void* data, std::size_t size);

    /// Length prefix (one byte below 255, 0xFF + 16 bits below 0xFFFE, else 0xFF 0xFFFF +
    /// 32 bits), then the bytes without terminator. A text of 4 GiB or more fails.
    void writeString(std::string_view text);

    /// Flushes the stream so that a late write error is seen; returns ok().
    bool flush();

private:
    std::FILE* m_file;
    bool m_ok;
};

/// Reads what ArchiveWriter writes. Bad or short input never throws: the first failed read
/// sticks, every later read fails too and yields zero or an empty string, and the caller
/// checks ok() (or the result of each read) where it matters.
class ArchiveReader {
public:
    /// The reader does not own the stream; a null stream makes a reader that has failed.
    explicit ArchiveReader(std::FILE* file) : m_file(file), m_ok(file != nullptr) {}

    /// False once any read has failed or fail() was called.
    bool ok() const { return m_ok; }
    /// Marks the input as unusable, for callers that find its content invalid.
    void fail() { m_ok = false; }

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readI16(std::int16_t& value);
    bool readU32(std::uint32_t& value);
    bool readI32(std::int32_t& value);
    bool readBytes(void* data, std::size_t size);

    /// Reads a length-prefixed string into text (emptied on failure). Memory grows with the
    /// bytes actually read, so a short file that claims 4 GiB fails at its end instead of
    /// allocating the claim.
    bool readString(std::string& text);

private:
    std::FILE* m_file;
    bool m_ok;
};

}  // namespace vellmora
