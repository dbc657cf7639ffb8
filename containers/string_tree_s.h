#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace vellmora {

class UserInterface;

/// An ordered set of table rows keyed by a primary and a secondary key, each text key with
/// its own direction. Used to sort result lines (key word, then the whole line) and table
/// rows. Texts compare as terminated strings (up to their first zero byte).
class CStringTreeS {
public:
    enum class KeyForm {
        /// number (always ascending), then text1 with mbstricmp
        NumberThenText,
        /// text1, then text2, both with mbstricmp
        TextsNoCase,
        /// text1, then text2, both byte by byte
        TextsExact,
    };

    enum class Direction { Ascending = 1, Descending = -1 };

    /// One row. Which fields are keys depends on the key form; the others are payload.
    struct Entry {
        std::string text1 = {};
        std::string text2 = {};
        std::string text3 = {};
        std::int32_t number = 0;
    };

    explicit CStringTreeS(KeyForm form);
    CStringTreeS(const CStringTreeS&) = delete;
    CStringTreeS& operator=(const CStringTreeS&) = delete;

    struct InsertResult {
        const Entry* entry;  ///< the new entry, or the one already there with equal keys
        bool inserted;
    };

    /// Sets the directions that multiply the comparisons of text1 (first) and text2
    /// (second). Refused, returning false, once the set holds entries.
    bool setDirections(Direction first, Direction second);
    Direction firstDirection() const { return m_first; }
    Direction secondDirection() const { return m_second; }
    KeyForm keyForm() const { return m_form; }

    /// Adds a copy of entry unless an entry with equal keys is there; pumps between the
    /// steps of the descent.
    InsertResult insert(Entry entry, UserInterface& ui);

    std::size_t size() const { return m_set.size(); }
    bool isEmpty() const { return m_set.empty(); }
    /// Releases every entry; directions and key form stay.
    void clear() { m_set.clear(); }

    /// Entries in the set's order; rbegin()/rend() walk it backwards.
    auto begin() const { return m_set.begin(); }
    auto end() const { return m_set.end(); }
    auto rbegin() const { return m_set.rbegin(); }
    auto rend() const { return m_set.rend(); }

private:
    struct Less {
        const CStringTreeS* owner;
        bool operator()(const Entry& a, const Entry& b) const { return owner->compare(a, b) < 0; }
    };

    int compare(const Entry& a, const Entry& b) const;

    KeyForm m_form;
    Direction m_first = Direction::Ascending;
    Direction m_second = Direction::Ascending;
    UserInterface* m_pumping = nullptr;  // set while an insert descends
    std::set<Entry, Less> m_set;
};

}  // namespace vellmora
