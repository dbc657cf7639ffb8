#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace vellmora {

class ArchiveReader;
class ArchiveWriter;
class CExStringList;
class UserInterface;

/// Counts how often each distinct string occurs and gives the strings back in ascending
/// order. Texts are terminated byte strings: a string is taken up to its first zero byte.
///
/// A tree holds one order. The first string added after creation or clear() (or load())
/// fixes it; an add of the other kind into a non-empty tree follows the order in use, so the
/// tree never ends up ordered two ways at once.
class CStringTree {
public:
    using Count = std::uint64_t;

    enum class Order {
        NoCase,  ///< ordered and matched with mbstricmp (ASCII letters folded)
        Exact,   ///< ordered and matched byte by byte
    };

    /// The line forms of writeSortedLines().
    enum class Form {
        Counts,                   ///< "%*lu : %s\r\n"
        CountsReversed,           ///< the same, each string turned back with mbstrrev
        CountsWithShare,          ///< "%*lu(%6.3f%%) : %s\r\n", the share of the total
        CountsWithShareReversed,  ///< the same, each string turned back with mbstrrev
    };

    struct Entry {
        std::string text;
        Count count;
    };

    static constexpr int kDefaultWidth = 15;
    static constexpr int kMaxWidth = 255;
    /// The longest string the stored form holds (its length byte counts the terminator).
    static constexpr std::size_t kMaxStoredLength = 254;

    CStringTree();
    ~CStringTree();
    CStringTree(const CStringTree&) = delete;
    CStringTree& operator=(const CStringTree&) = delete;
    /// Moving hands the content over; the source is left empty.
    CStringTree(CStringTree&& other) noexcept;
    CStringTree& operator=(CStringTree&& other) noexcept;

    /// Adds amount to the count of text under the case-insensitive order; the first spelling
    /// added is the one kept. A null text is ignored.
    void addNoCase(const char* text, Count amount = 1);
    void addNoCase(const std::string& text, Count amount = 1) { addNoCase(text.c_str(), amount); }
    /// Adds amount to the count of text under the byte-wise order. A null text is ignored.
    void addExact(const char* text, Count amount = 1);
    void addExact(const std::string& text, Count amount = 1) { addExact(text.c_str(), amount); }

    /// The count of text matched without regard to ASCII case; 0 when absent, empty or null.
    /// In a byte-wise tree the counts of every spelling that matches are added up (a scan).
    Count countOf(const char* text) const;
    Count countOf(const std::string& text) const { return countOf(text.c_str()); }

    bool isEmpty() const { return m_distinct == 0; }
    /// Releases every string; distinct and total become 0, the width stays.
    void clear();
    /// Number of distinct strings.
    std::size_t distinct() const { return m_distinct; }
    /// Sum of all counts.
    Count total() const { return m_total; }
    Order order() const { return m_order; }

    /// Width of the count column of the written lines, clamped to 0..kMaxWidth.
    int width() const { return m_width; }
    void setWidth(int width);

    /// Calls visit(const Entry&) for every string in ascending order.
    template <class Visit>
    void forEach(Visit&& visit) const {
        using Target = std::remove_reference_t<Visit>;
        walk([](const void* target,
                const Entry& entry) { (*static_cast<Target*>(const_cast<void*>(target)))(entry); },
             static_cast<const void*>(std::addressof(visit)));
    }

    /// Appends one line per string in ascending order, pumping after each line.
    void writeSortedLines(CExStringList& target, Form form, UserInterface& ui) const;
    /// Appends every string in ascending order, one per line (no line end added).
    void collectStrings(CExStringList& target) const;
    /// Sets target[string] to its count in decimal, for every string.
    template <class Map>
    void collectCounts(Map& target) const {
        forEach([&target](const Entry& entry) {
            target.insert_or_assign(entry.text, std::to_string(entry.count));
        });
    }

    /// Writes the stored form: distinct, total and width as 32-bit values, then a tree of
    /// node records whose in-order walk is the ascending content. A string longer than
    /// kMaxStoredLength is cut there (or one byte earlier so as not to split a double-byte
    /// character); strings that become equal by the cut are stored once with their counts
    /// added. Counts beyond 32 bits are stored as 0xFFFFFFFF. Returns archive.ok().
    bool store(ArchiveWriter& archive) const;
    /// Replaces the content with a stored tree in the given order. Any short, inconsistent or
    /// unordered input leaves the tree empty, marks the archive failed and gives false.
    bool load(ArchiveReader& archive, Order order = Order::NoCase);

private:
    struct Node;
    struct Inner;
    struct Storage;

    void add(Order order, const char* text, Count amount);
    // The entry equal to text under the tree's order, created with count 0 when missing;
    // a created entry takes its string from owned when given, else copies text.
    Entry& findOrCreate(const char* text, std::string* owned);
    const Entry* find(const char* text) const;
    Node* newNode(bool leaf);
    static Node** childrenOf(Node* node);
    static Node* const* childrenOf(const Node* node);
    void splitChild(Node* parent, int index);
    int locate(const Node* node, std::uint64_t prefix, const char* text, bool& found) const;
    void walk(void (*visit)(const void*, const Entry&), const void* target) const;
    void walkNode(const Node* node, void (*visit)(const void*, const Entry&),
                  const void* target) const;

    // A B-tree of up to 31 keys per node: a million strings sit five levels deep instead of
    // twenty, and each node keeps the first eight (folded) bytes of its keys side by side, so
    // most comparisons never touch the strings. Balanced whatever the order of insertion.
    Node* m_root = nullptr;
    std::unique_ptr<Storage> m_storage;  // owns every node and entry; null while empty
    std::size_t m_distinct = 0;
    Count m_total = 0;
    int m_width = kDefaultWidth;
    Order m_order = Order::NoCase;
};

}  // namespace vellmora
