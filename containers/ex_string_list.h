#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace vellmora {

class ArchiveReader;
class ArchiveWriter;
class UserInterface;

/// One block of a chain of blocks that are freed together. The element storage starts
/// right after the header and is aligned for any object.
class CExPlex {
public:
    /// Allocates a block for capacity elements of elementSize bytes and makes it the new
    /// head of the chain (its next is the old head). Throws std::bad_alloc.
    static CExPlex* create(CExPlex*& head, unsigned capacity, unsigned elementSize);

    /// Start of the element storage.
    void* data() { return this + 1; }
    /// Frees this block and every block after it; the elements must be destroyed already.
    void freeDataChain();

    CExPlex* next() const { return m_next; }
    unsigned capacity() const { return m_capacity; }

private:
    CExPlex(CExPlex* next, unsigned capacity) : m_next(next), m_capacity(capacity) {}

    CExPlex* m_next;
    std::uint32_t m_capacity;
    std::uint32_t m_reserved = 0;
};

/// The list of byte strings (Shift-JIS lines, paths, words) used by every result kind and
/// most settings lists. Nodes come from blocks of blockSize nodes, are recycled through a
/// free list and go back to the heap only with removeAll() or the destructor, so filling and
/// emptying big result lists costs one allocation per block plus the strings themselves.
class CExStringList {
public:
    /// Opaque to callers: hold it as a Position and pass it back to the list.
    struct Node {
        Node* next;
        Node* prev;
        std::string text;
    };
    /// Names a node of the list; null means "none" (before the head or after the tail).
    using Position = Node*;

    static constexpr int kDefaultBlockSize = 10;

    /// Forward iteration over the strings, head to tail.
    class ConstIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;

        ConstIterator() = default;
        explicit ConstIterator(const Node* node) : m_node(node) {}
        reference operator*() const { return m_node->text; }
        pointer operator->() const { return &m_node->text; }
        ConstIterator& operator++() {
            m_node = m_node->next;
            return *this;
        }
        ConstIterator operator++(int) {
            ConstIterator before = *this;
            m_node = m_node->next;
            return before;
        }
        bool operator==(const ConstIterator&) const = default;
        /// The node the iterator stands on (null at the end).
        Position position() const { return const_cast<Position>(m_node); }

    private:
        const Node* m_node = nullptr;
    };

    explicit CExStringList(int blockSize = kDefaultBlockSize);
    ~CExStringList();
    CExStringList(const CExStringList&) = delete;
    CExStringList& operator=(const CExStringList&) = delete;
    /// Moving hands over nodes and blocks; the source is left empty.
    CExStringList(CExStringList&& other) noexcept;
    CExStringList& operator=(CExStringList&& other) noexcept;
    void swap(CExStringList& other) noexcept;

    /// Appends a copy of text; returns its position.
    Position addTail(std::string_view text);
    Position addTail(std::string&& text);
    Position addTail(const char* text) { return addTail(std::string_view(text)); }
    /// Prepends a copy of text; returns its position.
    Position addHead(std::string_view text);
    /// Appends copies of every string of other (which may be this list).
    void addTail(const CExStringList& other);
    /// Prepends copies of every string of other, keeping their order.
    void addHead(const CExStringList& other);
    /// Inserts before position (null: at the head); returns the new position.
    Position insertBefore(Position position, std::string_view text);
    /// Inserts after position (null: at the tail); returns the new position.
    Position insertAfter(Position position, std::string_view text);

    /// Removes the node; its storage waits on the free list for the next insertion.
    void removeAt(Position position);
    /// Removes and returns the first string; an empty list gives an empty string.
    std::string removeHead();
    /// Removes and returns the last string; an empty list gives an empty string.
    std::string removeTail();
    /// Destroys every string and frees every block; the caches start again from -1.
    void removeAll();

    Position headPosition() const { return m_head; }
    Position tailPosition() const { return m_tail; }
    /// The position after position (towards the tail), or null.
    static Position next(Position position) { return position->next; }
    /// The position before position (towards the head), or null.
    static Position prev(Position position) { return position->prev; }
    /// The string at position.
    static const std::string& at(Position position) { return position->text; }
    /// Replaces the string at position.
    void setAt(Position position, std::string_view text);

    ConstIterator begin() const { return ConstIterator(m_head); }
    ConstIterator end() const { return ConstIterator(); }

    int count() const { return m_count; }
    /// Grows with every change of the list (a line added, removed, replaced or moved), so
    /// that whoever keeps a position can tell whether it may still be valid.
    std::uint64_t generation() const { return m_generation; }
    bool isEmpty() const { return m_count == 0; }

    /// The position of the index-th node (0 = head), or null when index is out of range.
    Position findIndex(int index) const;
    /// The first node after startAfter (null: from the head) whose string equals text.
    Position find(std::string_view text, Position startAfter = nullptr) const;

    /// Walks the list for the byte length of its longest string (0 when empty) and raises
    /// the cache to it.
    std::int64_t longestLength();
    /// The cached longest length, computed first when unknown. It may be larger than the
    /// current longest string after removals (views keep a stable width), never smaller.
    std::int64_t cachedLongestLength();
    /// Sum of the byte lengths of all strings.
    std::int64_t totalLength() const;

    /// Writes the count and every string, pumping after each string; returns ok().
    bool store(ArchiveWriter& archive, UserInterface& ui) const;
    /// Appends the strings of a stored list, pumping after each. On short or bad input it
    /// returns false and keeps the strings read so far.
    bool load(ArchiveReader& archive, UserInterface& ui);

    /// Stable ordering of the first width bytes read as right-aligned numbers: a byte that is
    /// not an ASCII digit (or lies past the string's end) ranks below every digit. Descending
    /// order is the ascending order reversed, so equal keys come out in reverse input order.
    void digitSort(int width, bool ascending, UserInterface& ui);

    /// Number of blocks currently allocated.
    int blockCount() const { return m_blockCount; }
    int blockSize() const { return m_blockSize; }

private:
    struct FreeSlot {
        FreeSlot* next;
    };

    // Links a new node holding text after `after` (null: at the head).
    Node* insertNode(Node* after, std::string&& text);
    void freeNode(Node* node);

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
    FreeSlot* m_free = nullptr;
    CExPlex* m_blocks = nullptr;
    int m_blockCount = 0;
    int m_blockSize;
    std::int64_t m_longest = -1;
    std::uint64_t m_generation = 0;
};

}  // namespace vellmora
