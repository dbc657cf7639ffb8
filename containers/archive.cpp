#include "containers/archive.h"

#include <algorithm>

namespace vellmora {
namespace {

constexpr std::uint8_t kWideLength = 0xFF;
constexpr std::uint16_t kLongLength = 0xFFFF;
// The writer never produces a 16-bit length of 0xFFFE (it switches to 32 bits first), so
// one in the input is damage, not a length.
constexpr std::uint16_t kForeignMarker = 0xFFFE;
constexpr std::size_t kChunk = 1 << 20;

}  // namespace

void ArchiveWriter::writeBytes(const void* data, std::size_t size) {
    if (!m_ok || size == 0) return;
    if (std::fwrite(data, 1, size, m_file) != size) m_ok = false;
}

void ArchiveWriter::writeU8(std::uint8_t value) { writeBytes(&value, 1); }

void ArchiveWriter::writeU16(std::uint16_t value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value),
                                    static_cast<unsigned char>(value >> 8)};
    writeBytes(bytes, sizeof bytes);
}

void ArchiveWriter::writeI16(std::int16_t value) { writeU16(static_cast<std::uint16_t>(value)); }

void ArchiveWriter::writeU32(std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    writeBytes(bytes, sizeof bytes);
}

void ArchiveWriter::writeI32(std::int32_t value) { writeU32(static_cast<std::uint32_t>(value)); }

void ArchiveWriter::writeString(std::string_view text) {
    const std::size_t length = text.size();
    if (length < kWideLength) {
        writeU8(static_cast<std::uint8_t>(length));
    } else if (length < kForeignMarker) {
        writeU8(kWideLength);
        writeU16(static_cast<std::uint16_t>(length));
    } else if (length <= 0xFFFFFFFFu) {
        writeU8(kWideLength);
        writeU16(kLongLength);
        writeU32(static_cast<std::uint32_t>(length));
    } else {
        // Writing a wrapped length would corrupt everything after this string.
        m_ok = false;
        return;
    }
    writeBytes(text.data(), length);
}

bool ArchiveWriter::flush() {
    if (m_ok && std::fflush(m_file) != 0) m_ok = false;
    return m_ok;
}

bool ArchiveReader::readBytes(void* data, std::size_t size) {
    if (!m_ok) {
        std::fill_n(static_cast<unsigned char*>(data), size, 0);
        return false;
    }
    if (size != 0 && std::fread(data, 1, size, m_file) != size) {
        m_ok = false;
        std::fill_n(static_cast<unsigned char*>(data), size, 0);
    }
    return m_ok;
}

bool ArchiveReader::readU8(std::uint8_t& value) { return readBytes(&value, 1); }

bool ArchiveReader::readU16(std::uint16_t& value) {
    unsigned char bytes[2];
    readBytes(bytes, sizeof bytes);
    value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    return m_ok;
}

bool ArchiveReader::readI16(std::int16_t& value) {
    std::uint16_t raw;
    readU16(raw);
    value = static_cast<std::int16_t>(raw);
    return m_ok;
}

bool ArchiveReader::readU32(std::uint32_t& value) {
    unsigned char bytes[4];
    readBytes(bytes, sizeof bytes);
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return m_ok;
}

bool ArchiveReader::readI32(std::int32_t& value) {
    std::uint32_t raw;
    readU32(raw);
    value = static_cast<std::int32_t>(raw);
    return m_ok;
}

bool ArchiveReader::readString(std::string& text) {
    text.clear();
    std::uint8_t shortLength;
    if (!readU8(shortLength)) return false;
    std::size_t length = shortLength;
    if (shortLength == kWideLength) {
        std::uint16_t wideLength;
        if (!readU16(wideLength)) return false;
        length = wideLength;
        if (wideLength == kForeignMarker) {
            m_ok = false;
            return false;
        }
        if (wideLength == kLongLength) {
            std::uint32_t longLength;
            if (!readU32(longLength)) return false;
            length = longLength;
        }
    }
    while (text.size() < length) {
        const std::size_t done = text.size();
        const std::size_t step = std::min(kChunk, length - done);
        text.resize(done + step);
        if (!readBytes(text.data() + done, step)) {
            text.clear();
            text.shrink_to_fit();
            return false;
        }
    }
    return true;
}

}  // namespace vellmora
