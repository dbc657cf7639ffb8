#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

/// A few byte strings a search looks for in a buffer, the first of any of them wanted: the
/// keyword of a plain search, or the literals one of which every match of an expression
/// holds. Each string is found by its rarest byte, so that the scan runs at memory speed.
class NeedleSet {
public:
    /// With ignoreCase, ASCII letters of the needles match either case. Empty needles are
    /// dropped.
    void assign(const std::vector<std::string>& needles, bool ignoreCase);
    bool empty() const { return m_needles.empty(); }

    /// The buffer's bytes changed: every position found so far is forgotten.
    void forget();
    /// Where in base[from, end) the first needle begins that lies wholly before end, or end
    /// when none does. Calls for one buffer must not go back: from never decreases until
    /// forget().
    std::size_t next(const char* base, std::size_t from, std::size_t end);

private:
    struct Needle {
        std::string bytes;           // lower-cased when case is ignored
        std::size_t rareOffset = 0;  // the byte the scan looks for
        std::size_t next = kUnknown;
    };
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    void chooseRareBytes(const char* text, std::size_t length);
    const char* find(const Needle& needle, const char* text, const char* end) const;
    const char* scanFor(unsigned char rare, const char* from, const char* end) const;
    bool sameAs(const Needle& needle, const char* text) const;

    std::vector<Needle> m_needles;
    bool m_ignoreCase = false;
    bool m_rareChosen = false;
};

}  // namespace vellmora
