#include "containers/ex_string_list.h"

#include <algorithm>
#include <new>
#include <utility>

#include "containers/archive.h"
#include "platform/user_interface.h"

namespace vellmora {

static_assert(sizeof(CExPlex) % alignof(std::max_align_t) == 0,
              "element storage right after the header must be aligned for any object");

CExPlex* CExPlex::create(CExPlex*& head, unsigned capacity, unsigned elementSize) {
    const std::size_t bytes = sizeof(CExPlex) + static_cast<std::size_t>(capacity) *
                                                    static_cast<std::size_t>(elementSize);
    void* memory = ::operator new(bytes);
    head = new (memory) CExPlex(head, capacity);
    return head;
}

void CExPlex::freeDataChain() {
    // A loop, not recursion: a long-lived list can own a very long chain.
    CExPlex* block = this;
    while (block != nullptr) {
        CExPlex* next = block->m_next;
        block->~CExPlex();
        ::operator delete(block);
        block = next;
    }
}

CExStringList::CExStringList(int blockSize) : m_blockSize(std::max(blockSize, 1)) {}

CExStringList::~CExStringList() { removeAll(); }

CExStringList::CExStringList(CExStringList&& other) noexcept : m_blockSize(other.m_blockSize) {
    swap(other);
}

CExStringList& CExStringList::operator=(CExStringList&& other) noexcept {
    if (this != &other) {
        removeAll();
        swap(other);
    }
    return *this;
}

void CExStringList::swap(CExStringList& other) noexcept {
    std::swap(m_head, other.m_head);
    std::swap(m_tail, other.m_tail);
    std::swap(m_count, other.m_count);
    std::swap(m_free, other.m_free);
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_blockCount, other.m_blockCount);
    std::swap(m_blockSize, other.m_blockSize);
    std::swap(m_longest, other.m_longest);
    ++m_generation;
    ++other.m_generation;
}

CExStringList::Node* CExStringList::insertNode(Node* after, std::string&& text) {
    ++m_generation;
    if (m_free == nullptr) {
        CExPlex* block =
            CExPlex::create(m_blocks, static_cast<unsigned>(m_blockSize), sizeof(Node));
        ++m_blockCount;
        auto* storage = static_cast<unsigned char*>(block->data());
        // Threaded from the last slot so that the block's first slot is handed out first.
        for (int i = m_blockSize - 1; i >= 0; --i)
            m_free = new (storage + static_cast<std::size_t>(i) * sizeof(Node)) FreeSlot{m_free};
    }
    FreeSlot* slot = m_free;
    m_free = slot->next;
    Node* next = after != nullptr ? after->next : m_head;
    Node* node = new (static_cast<void*>(slot)) Node{next, after, std::move(text)};
    (after != nullptr ? after->next : m_head) = node;
    (next != nullptr ? next->prev : m_tail) = node;
    ++m_count;
    // Only a known cache is raised: an unknown one is computed when first asked for.
    if (m_longest >= 0) m_longest = std::max<std::int64_t>(m_longest, node->text.size());
    return node;
}

void CExStringList::freeNode(Node* node) {
    ++m_generation;
    node->~Node();
    m_free = new (static_cast<void*>(node)) FreeSlot{m_free};
    --m_count;
}

CExStringList::Position CExStringList::addTail(std::string_view text) {
    return insertNode(m_tail, std::string(text));
}

CExStringList::Position CExStringList::addTail(std::string&& text) {
    return insertNode(m_tail, std::move(text));
}

CExStringList::Position CExStringList::addHead(std::string_view text) {
    return insertNode(nullptr, std::string(text));
}

void CExStringList::addTail(const CExStringList& other) {
    // Counted, so that appending a list to itself copies it once.
    Node* node = other.m_head;
    for (int left = other.m_count; left > 0; --left, node = node->next) addTail(node->text);
}

void CExStringList::addHead(const CExStringList& other) {
    Node* node = other.m_tail;
    for (int left = other.m_count; left > 0; --left, node = node->prev) addHead(node->text);
}

CExStringList::Position CExStringList::insertBefore(Position position, std::string_view text) {
    return insertNode(position != nullptr ? position->prev : nullptr, std::string(text));
}

CExStringList::Position CExStringList::insertAfter(Position position, std::string_view text) {
    return insertNode(position != nullptr ? position : m_tail, std::string(text));
}

void CExStringList::setAt(Position position, std::string_view text) {
    ++m_generation;
    position->text.assign(text);
    if (m_longest >= 0) m_longest = std::max<std::int64_t>(m_longest, text.size());
}

void CExStringList::removeAt(Position position) {
    (position->prev != nullptr ? position->prev->next : m_head) = position->next;
    (position->next != nullptr ? position->next->prev : m_tail) = position->prev;
    freeNode(position);
}

std::string CExStringList::removeHead() {
    if (m_head == nullptr) return {};
    std::string text = std::move(m_head->text);
    removeAt(m_head);
    return text;
}

std::string CExStringList::removeTail() {
    if (m_tail == nullptr) return {};
    std::string text = std::move(m_tail->text);
    removeAt(m_tail);
    return text;
}

void CExStringList::removeAll() {
    for (Node* node = m_head; node != nullptr;) {
        Node* next = node->next;
        node->~Node();
        node = next;
    }
    if (m_blocks != nullptr) m_blocks->freeDataChain();
    m_head = m_tail = nullptr;
    m_count = 0;
    m_free = nullptr;
    m_blocks = nullptr;
    m_blockCount = 0;
    m_longest = -1;
    ++m_generation;
}

CExStringList::Position CExStringList::findIndex(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    Node* node = m_head;
    while (index-- > 0) node = node->next;
    return node;
}

CExStringList::Position CExStringList::find(std::string_view text, Position startAfter) const {
    for (Node* node = startAfter != nullptr ? startAfter->next : m_head; node != nullptr;
         node = node->next) {
        if (node->text == text) return node;
    }
    return nullptr;
}

std::int64_t CExStringList::longestLength() {
    std::int64_t longest = 0;
    for (const std::string& text : *this)
        longest = std::max<std::int64_t>(longest, static_cast<std::int64_t>(text.size()));
    m_longest = std::max(m_longest, longest);
    return longest;
}

std::int64_t CExStringList::cachedLongestLength() {
    if (m_longest < 0) longestLength();
    return m_longest;
}

std::int64_t CExStringList::totalLength() const {
    std::int64_t total = 0;
    for (const std::string& text : *this) total += static_cast<std::int64_t>(text.size());
    return total;
}

bool CExStringList::store(ArchiveWriter& archive, UserInterface& ui) const {
    archive.writeU32(static_cast<std::uint32_t>(m_count));
    for (const std::string& text : *this) {
        archive.writeString(text);
        ui.pump();
    }
    return archive.ok();
}

bool CExStringList::load(ArchiveReader& archive, UserInterface& ui) {
    std::uint32_t count;
    if (!archive.readU32(count)) return false;
    std::string text;
    // Every string takes at least one byte, so a lying count ends at the end of the input.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!archive.readString(text)) return false;
        addTail(std::move(text));
        ui.pump();
    }
    return true;
}

void CExStringList::digitSort(int width, bool ascending, UserInterface& ui) {
    ++m_generation;
    constexpr int kBuckets = 11;  // not a digit, then '0' to '9'
    for (int column = width - 1; column >= 0; --column) {
        Node* heads[kBuckets] = {};
        Node* tails[kBuckets] = {};
        bool anyDigit = false;
        for (Node* node = m_head; node != nullptr;) {
            Node* following = node->next;
            int bucket = 0;
            if (static_cast<std::size_t>(column) < node->text.size()) {
                const unsigned char byte = static_cast<unsigned char>(node->text[column]);
                if (byte >= '0' && byte <= '9') bucket = byte - '0' + 1;
            }
            anyDigit = anyDigit || bucket != 0;
            node->prev = tails[bucket];
            node->next = nullptr;
            (tails[bucket] != nullptr ? tails[bucket]->next : heads[bucket]) = node;
            tails[bucket] = node;
            ui.pump();
            node = following;
        }
        m_head = m_tail = nullptr;
        for (int bucket = 0; bucket < kBuckets; ++bucket) {
            if (heads[bucket] == nullptr) continue;
            heads[bucket]->prev = m_tail;
            (m_tail != nullptr ? m_tail->next : m_head) = heads[bucket];
            m_tail = tails[bucket];
        }
        // Columns further left cannot hold digits of a right-aligned number either.
        if (!anyDigit) break;
    }
    if (!ascending) {
        for (Node* node = m_head; node != nullptr; node = node->prev)
            std::swap(node->next, node->prev);
        std::swap(m_head, m_tail);
    }
}

}  // namespace vellmora
