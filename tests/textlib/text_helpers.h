#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace vellmora::test {

/// Builds a byte string from values, so that Shift-JIS bytes read as codes
/// instead of escape sequences (and no \x escape swallows the next letter).
inline std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

inline bool isLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

/// Splits text into characters the way the library walks it: a lead byte and
/// any following byte other than the terminator form one character.
inline std::size_t charLengthAt(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    if (isLead(static_cast<unsigned char>(s[i]))) return i + 1 < s.size() ? 2 : 0;
    return 1;
}

/// Reverses the order of characters, keeping each double-byte character whole:
/// the form leftward keywords take.
inline std::string reverseCharacters(std::string_view s) {
    std::string out;
    for (std::size_t i = 0, n; (n = charLengthAt(s, i)) != 0; i += n) out.insert(0, s.substr(i, n));
    return out;
}

/// A text in a heap block of exactly its length plus terminator, so that the
/// sanitizer reports any byte read past the terminator.
class HeapText {
  public:
    explicit HeapText(std::string_view text)
        : m_size(text.size()), m_data(new char[text.size() + 1]) {
        std::memcpy(m_data.get(), text.data(), text.size());
        m_data[text.size()] = '\0';
    }
    char* get() { return m_data.get(); }
    std::size_t size() const { return m_size; }
    std::string str() const { return std::string(m_data.get()); }
    bool contains(const char* p) const { return p >= m_data.get() && p <= m_data.get() + m_size; }

  private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_data;
};

}  // namespace vellmora::test
