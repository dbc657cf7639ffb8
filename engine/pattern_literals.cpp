#include "engine/pattern_literals.h"

#include <cctype>
#include <cstring>

#include "textlib/sjis.h"

namespace vellmora {
namespace {

/// Reads a pattern just far enough to name the literals its matches hold. Whatever it does
/// not understand makes it give up (failed): a wrong literal would lose hits, a missing one
/// only costs time.
class LiteralReader {
public:
    LiteralReader(std::string_view pattern, bool ignoreCase, std::string_view unusable)
        : m_pattern(pattern), m_ignoreCase(ignoreCase), m_unusable(unusable) {}

    /// The best literal of each alternative up to the end (or, inside a group, its ")").
    std::vector<std::string> alternation(int depth) {
        std::vector<std::string> alternatives{sequence(depth)};
        while (!m_failed && m_pos < m_pattern.size() && byte(m_pos) == '|') {
            ++m_pos;
            alternatives.push_back(sequence(depth));
        }
        return alternatives;
    }

    bool failed() const { return m_failed; }
    bool atEnd() const { return m_pos == m_pattern.size(); }

private:
    enum class Kind { Literal, Other, Group };
    struct Atom {
        Kind kind = Kind::Other;
        std::string bytes;  // a literal character, or a group's required literal
    };

    unsigned char byte(std::size_t i) const { return static_cast<unsigned char>(m_pattern[i]); }
    bool fail() {
        m_failed = true;
        return false;
    }

    /// The longest literal one alternative surely matches: runs of characters that stand
    /// once each, one after another, and the literal of a group that must match.
    std::string sequence(int depth) {
        std::string run;
        std::string best;
        auto endRun = [&] {
            if (run.size() > best.size()) best = run;
            run.clear();
        };
        while (!m_failed && m_pos < m_pattern.size()) {
            const unsigned char c = byte(m_pos);
            if (c == '|') break;
            if (c == ')') {
                if (depth == 0) fail();  // an unmatched ")" does not compile
                break;
            }
            Atom atom;
            if (!readAtom(atom)) break;
            bool optional = false;
            bool repeated = false;
            if (!readQuantifiers(optional, repeated)) break;
            if (atom.kind == Kind::Literal && !optional) {
                run += atom.bytes;
                if (repeated) endRun();  // what follows comes after any number of them
                continue;
            }
            endRun();
            if (atom.kind == Kind::Group && !optional && atom.bytes.size() > best.size())
                best = atom.bytes;
        }
        endRun();
        return best;
    }

    bool readAtom(Atom& atom) {
        const unsigned char c = byte(m_pos);
        if (ximo::isLeadByte(c)) {
            if (m_pos + 1 >= m_pattern.size() || !ximo::isTrailByte(byte(m_pos + 1))) return fail();
            return character(atom, 2, !m_ignoreCase);
        }
        if (c >= 0xA1 && c <= 0xDF) return character(atom, 1, !m_ignoreCase);  // kana
        if (c < 0x20 || c >= 0x7F) return fail();
        switch (c) {
        case '\\': return escape(atom);
        case '(': return group(atom);
        case '[': return characterClass();
        case '.':
        case '^':
        case '$': ++m_pos; return true;
        case '*':
        case '+':
        case '?':
        case '{':  // a repeat of nothing
        case ']':
        case '}': return fail();
        default: return character(atom, 1, true);
        }
    }

    /// The next size bytes as one character; literal only when its case cannot vary and no
    /// byte of it is unusable.
    bool character(Atom& atom, std::size_t size, bool caseFixed) {
        std::string_view bytes = m_pattern.substr(m_pos, size);
        m_pos += size;
        if (!caseFixed || bytes.find_first_of(m_unusable) != std::string_view::npos) return true;
        atom.kind = Kind::Literal;
        atom.bytes = std::string(bytes);
        return true;
    }

    bool escape(Atom& atom) {
        if (m_pos + 1 >= m_pattern.size()) return fail();
        const unsigned char c = byte(m_pos + 1);
        if (c >= 0x80 || c < 0x20) return fail();
        if (std::isalnum(c) == 0) {
            // The signs the syntax gives a meaning stand for themselves when escaped; some
            // others mean something of their own in some syntaxes (\<, \`).
            if (std::strchr(".*+?()[]{}|^$\\/-#", c) == nullptr) {
                m_pos += 2;
                return true;
            }
            ++m_pos;
            return character(atom, 1, true);
        }
        // Classes, anchors and single-character escapes; every other letter or digit may take
        // more characters after it (\x41, \p{Alpha}, \k<n>, \1) and is not read.
        if (std::strchr("dDwWsShHntrfveaRXNObBAzZGK", c) == nullptr) return fail();
        m_pos += 2;
        return true;
    }

    bool group(Atom& atom) {
        ++m_pos;
        if (m_pos < m_pattern.size() && byte(m_pos) == '?') {
            // Only a plain group: options change how the rest matches, look-arounds and
            // the like are not read.
            if (m_pos + 1 >= m_pattern.size() || byte(m_pos + 1) != ':') return fail();
            m_pos += 2;
        }
        std::vector<std::string> alternatives = alternation(1);
        if (m_failed) return false;
        if (m_pos >= m_pattern.size() || byte(m_pos) != ')') return fail();
        ++m_pos;
        atom.kind = Kind::Group;
        if (alternatives.size() == 1) atom.bytes = std::move(alternatives.front());
        return true;
    }

    /// Passes over a bracketed class, nested classes included.
    bool characterClass() {
        int depth = 0;
        while (m_pos < m_pattern.size()) {
            const unsigned char c = byte(m_pos);
            if (c == '[') {
                ++depth;
                ++m_pos;
                if (m_pos < m_pattern.size() && byte(m_pos) == '^') ++m_pos;
                // "[]" and "[]a]" read differently in different syntaxes.
                if (m_pos < m_pattern.size() && byte(m_pos) == ']') return fail();
            } else if (c == ']') {
                ++m_pos;
                if (--depth == 0) return true;
            } else if (c == '\\') {
                if (m_pos + 1 >= m_pattern.size()) return fail();
                ++m_pos;
                if (!skipCharacter()) return false;
            } else if (!skipCharacter()) {
                return false;
            }
        }
        return fail();
    }

    bool skipCharacter() {
        if (!ximo::isLeadByte(byte(m_pos))) {
            ++m_pos;
            return true;
        }
        // A second byte may look like "]" or "\": the pair is one character.
        if (m_pos + 1 >= m_pattern.size() || !ximo::isTrailByte(byte(m_pos + 1))) return fail();
        m_pos += 2;
        return true;
    }

    /// Reads the repeat operators after an atom: optional when it may be absent, repeated
    /// when it may stand more than once.
    bool readQuantifiers(bool& optional, bool& repeated) {
        while (m_pos < m_pattern.size()) {
            const unsigned char c = byte(m_pos);
            if (c == '?' || c == '+') {
                // Right after a repeat these make it lazy or possessive, or repeat it again:
                // how often the atom must stand does not change.
                if (!repeated) optional = optional || c == '?';
                repeated = true;
                ++m_pos;
            } else if (c == '*') {
                optional = true;
                repeated = true;
                ++m_pos;
            } else if (c == '{') {
                std::size_t least = 0;
                if (!interval(least)) return false;
                optional = optional || least == 0;
                repeated = true;
            } else {
                break;
            }
        }
        return true;
    }

    /// "{n}", "{n,}", "{n,m}" or "{,m}"; least is n (0 for "{,m}").
    bool interval(std::size_t& least) {
        std::size_t p = m_pos + 1;
        auto digits = [&](std::size_t& value) {
            const std::size_t start = p;
            value = 0;
            while (p < m_pattern.size() && std::isdigit(byte(p)) != 0 && p - start < 6)
                value = value * 10 + (byte(p++) - '0');
            return p > start;
        };
        std::size_t most = 0;
        const bool hasLeast = digits(least);
        bool hasMost = false;
        bool comma = p < m_pattern.size() && byte(p) == ',';
        if (comma) {
            ++p;
            hasMost = digits(most);
        }
        // Anything else is a literal "{" to the engine, which this reading does not follow.
        if (p >= m_pattern.size() || byte(p) != '}' || (!hasLeast && !hasMost) ||
            (!comma && !hasLeast))
            return fail();
        if (!hasLeast) least = 0;
        m_pos = p + 1;
        return true;
    }

    std::string_view m_pattern;
    bool m_ignoreCase;
    std::string_view m_unusable;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

}  // namespace

std::vector<std::string> requiredLiterals(std::string_view pattern, bool ignoreCase,
                                          std::string_view unusableBytes,
                                          std::size_t maxAlternatives) {
    LiteralReader reader(pattern, ignoreCase, unusableBytes);
    std::vector<std::string> alternatives = reader.alternation(0);
    if (reader.failed() || !reader.atEnd() || alternatives.size() > maxAlternatives) return {};
    for (const std::string& literal : alternatives) {
        if (literal.empty()) return {};
    }
    return alternatives;
}

}  // namespace vellmora
