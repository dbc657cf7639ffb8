#include "containers/string_tree.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <utility>
#include <vector>

#include "containers/archive.h"
#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr int kMinDegree = 16;
constexpr int kMaxKeys = 2 * kMinDegree - 1;
constexpr std::size_t kPrefixBytes = 8;

int compareTexts(CStringTree::Order order, const char* a, const char* b) {
    return order == CStringTree::Order::NoCase ? mbstricmp(a, b) : std::strcmp(a, b);
}

// The first eight bytes, folded as mbstricmp folds them, big-endian and zero-padded: two
// prefixes compare as the texts' first eight bytes do under the order, and a zero low byte
// means the text ended inside the prefix.
std::uint64_t prefixOf(CStringTree::Order order, const char* text) {
    std::uint64_t prefix = 0;
    std::size_t i = 0;
    for (; i < kPrefixBytes && text[i] != '\0'; ++i) {
        unsigned byte = static_cast<unsigned char>(text[i]);
        if (order == CStringTree::Order::NoCase && byte >= 'A' && byte <= 'Z') byte += 'a' - 'A';
        prefix = prefix << 8 | byte;
    }
    return i == 0 ? 0 : prefix << (8 * (kPrefixBytes - i));
}

std::uint32_t saturate32(CStringTree::Count value) {
    return static_cast<std::uint32_t>(
        std::min<CStringTree::Count>(value, std::numeric_limits<std::uint32_t>::max()));
}

// The stored length of a text longer than the stored form allows: cut before a double-byte
// character that would straddle the limit.
std::size_t cutLength(const std::string& text) {
    const int last = static_cast<int>(CStringTree::kMaxStoredLength) - 1;
    return is_nth_kanji(last, text.c_str()) == 0 ? CStringTree::kMaxStoredLength - 1
                                                 : CStringTree::kMaxStoredLength;
}

// Carves objects out of chunks that grow with the tree: a million strings cost a few thousand
// allocations besides their own text, and addresses never move.
template <class T, std::size_t kFirstChunk, std::size_t kLargestChunk>
class Chunks {
public:
    T* take() {
        if (m_used == m_chunkSize) {
            m_chunkSize = std::clamp(m_taken, kFirstChunk, kLargestChunk);
            // Default-initialised: slots are set up by whoever takes them.
            m_chunks.push_back(std::unique_ptr<T[]>(new T[m_chunkSize]));
            m_used = 0;
        }
        ++m_taken;
        return &m_chunks.back()[m_used++];
    }

private:
    std::vector<std::unique_ptr<T[]>> m_chunks;
    std::size_t m_chunkSize = 0;
    std::size_t m_used = 0;
    std::size_t m_taken = 0;
};

}  // namespace

// Leaves, most of the nodes, carry no child links.
struct CStringTree::Node {
    int keys;
    bool leaf;
    std::uint64_t prefix[kMaxKeys];
    Entry* entry[kMaxKeys];
};

struct CStringTree::Inner : Node {
    Node* child[kMaxKeys + 1];
};

CStringTree::Node** CStringTree::childrenOf(Node* node) { return static_cast<Inner*>(node)->child; }

CStringTree::Node* const* CStringTree::childrenOf(const Node* node) {
    return static_cast<const Inner*>(node)->child;
}

struct CStringTree::Storage {
    Chunks<Entry, 16, 1024> entries;
    Chunks<Node, 2, 64> leaves;
    Chunks<Inner, 1, 16> inners;
};

CStringTree::CStringTree() = default;
CStringTree::~CStringTree() = default;

CStringTree::CStringTree(CStringTree&& other) noexcept { *this = std::move(other); }

CStringTree& CStringTree::operator=(CStringTree&& other) noexcept {
    if (this != &other) {
        m_root = std::exchange(other.m_root, nullptr);
        m_storage = std::move(other.m_storage);
        m_distinct = std::exchange(other.m_distinct, 0);
        m_total = std::exchange(other.m_total, 0);
        m_width = other.m_width;
        m_order = other.m_order;
    }
    return *this;
}

void CStringTree::setWidth(int width) { m_width = std::clamp(width, 0, kMaxWidth); }

void CStringTree::clear() {
    m_root = nullptr;
    m_storage.reset();
    m_distinct = 0;
    m_total = 0;
}

void CStringTree::addNoCase(const char* text, Count amount) { add(Order::NoCase, text, amount); }

void CStringTree::addExact(const char* text, Count amount) { add(Order::Exact, text, amount); }

void CStringTree::add(Order order, const char* text, Count amount) {
    if (text == nullptr) return;
    if (m_distinct == 0) m_order = order;
    findOrCreate(text, nullptr).count += amount;
    m_total += amount;
}

CStringTree::Node* CStringTree::newNode(bool leaf) {
    Node* node = leaf ? m_storage->leaves.take() : m_storage->inners.take();
    node->keys = 0;
    node->leaf = leaf;
    return node;
}

// Moves the upper half of the full child at index into a new sibling and its middle key up.
void CStringTree::splitChild(Node* parent, int index) {
    Node* full = childrenOf(parent)[index];
    Node* sibling = newNode(full->leaf);
    sibling->keys = kMinDegree - 1;
    std::copy_n(full->prefix + kMinDegree, kMinDegree - 1, sibling->prefix);
    std::copy_n(full->entry + kMinDegree, kMinDegree - 1, sibling->entry);
    if (!full->leaf) std::copy_n(childrenOf(full) + kMinDegree, kMinDegree, childrenOf(sibling));
    full->keys = kMinDegree - 1;

    std::copy_backward(childrenOf(parent) + index + 1, childrenOf(parent) + parent->keys + 1,
                       childrenOf(parent) + parent->keys + 2);
    childrenOf(parent)[index + 1] = sibling;
    std::copy_backward(parent->prefix + index, parent->prefix + parent->keys,
                       parent->prefix + parent->keys + 1);
    std::copy_backward(parent->entry + index, parent->entry + parent->keys,
                       parent->entry + parent->keys + 1);
    parent->prefix[index] = full->prefix[kMinDegree - 1];
    parent->entry[index] = full->entry[kMinDegree - 1];
    ++parent->keys;
}

// The index of the first key not below text; found tells whether it equals text.
int CStringTree::locate(const Node* node, std::uint64_t prefix, const char* text,
                        bool& found) const {
    found = false;
    int i = 0;
    while (i < node->keys && node->prefix[i] < prefix) ++i;
    for (; i < node->keys && node->prefix[i] == prefix; ++i) {
        // Equal prefixes with a zero low byte: both texts ended at the same place.
        if ((prefix & 0xFF) == 0) {
            found = true;
            return i;
        }
        const int order =
            compareTexts(m_order, node->entry[i]->text.c_str() + kPrefixBytes, text + kPrefixBytes);
        if (order == 0) found = true;
        if (order >= 0) return i;
    }
    return i;
}

CStringTree::Entry& CStringTree::findOrCreate(const char* text, std::string* owned) {
    const std::uint64_t prefix = prefixOf(m_order, text);
    if (m_storage == nullptr) m_storage = std::make_unique<Storage>();
    if (m_root == nullptr) m_root = newNode(true);
    // Full nodes are split on the way down, so the leaf reached always has room.
    if (m_root->keys == kMaxKeys) {
        Node* root = newNode(false);
        childrenOf(root)[0] = m_root;
        m_root = root;
        splitChild(root, 0);
    }
    Node* node = m_root;
    for (;;) {
        bool found;
        const int i = locate(node, prefix, text, found);
        if (found) return *node->entry[i];
        if (node->leaf) {
            Entry* entry = m_storage->entries.take();
            if (owned != nullptr)
                entry->text = std::move(*owned);
            else
                entry->text.assign(text);
            entry->count = 0;
            std::copy_backward(node->prefix + i, node->prefix + node->keys,
                               node->prefix + node->keys + 1);
            std::copy_backward(node->entry + i, node->entry + node->keys,
                               node->entry + node->keys + 1);
            node->prefix[i] = prefix;
            node->entry[i] = entry;
            ++node->keys;
            ++m_distinct;
            return *entry;
        }
        Node* child = childrenOf(node)[i];
        if (child->keys == kMaxKeys) {
            splitChild(node, i);
            continue;  // the key moved up may be the one looked for
        }
        node = child;
    }
}

const CStringTree::Entry* CStringTree::find(const char* text) const {
    const std::uint64_t prefix = prefixOf(m_order, text);
    for (const Node* node = m_root; node != nullptr;) {
        bool found;
        const int i = locate(node, prefix, text, found);
        if (found) return node->entry[i];
        node = node->leaf ? nullptr : childrenOf(node)[i];
    }
    return nullptr;
}

CStringTree::Count CStringTree::countOf(const char* text) const {
    if (text == nullptr || *text == '\0') return 0;
    if (m_order == Order::NoCase) {
        const Entry* entry = find(text);
        return entry != nullptr ? entry->count : 0;
    }
    Count count = 0;
    forEach([&](const Entry& entry) {
        if (mbstricmp(entry.text.c_str(), text) == 0) count += entry.count;
    });
    return count;
}

void CStringTree::walk(void (*visit)(const void*, const Entry&), const void* target) const {
    if (m_root != nullptr) walkNode(m_root, visit, target);
}

// Recursion is bounded by the height of the B-tree, about log16 of the string count.
void CStringTree::walkNode(const Node* node, void (*visit)(const void*, const Entry&),
                           const void* target) const {
    for (int i = 0; i < node->keys; ++i) {
        if (!node->leaf) walkNode(childrenOf(node)[i], visit, target);
        visit(target, *node->entry[i]);
    }
    if (!node->leaf) walkNode(childrenOf(node)[node->keys], visit, target);
}

void CStringTree::writeSortedLines(CExStringList& target, Form form, UserInterface& ui) const {
    const bool reversed = form == Form::CountsReversed || form == Form::CountsWithShareReversed;
    const bool share = form == Form::CountsWithShare || form == Form::CountsWithShareReversed;
    std::array<char, kMaxWidth + 64> head;
    std::string shown;
    forEach([&](const Entry& entry) {
        const auto count = static_cast<unsigned long>(entry.count);
        if (share) {
            // A tree of zero amounts has a zero total; its shares are 0, not NaN.
            const double percent =
                m_total == 0 ? 0.0 : static_cast<double>(entry.count) * 100.0 / m_total;
            std::snprintf(head.data(), head.size(), "%*lu(%6.3f%%)", m_width, count, percent);
        } else {
            std::snprintf(head.data(), head.size(), "%*lu", m_width, count);
        }
        shown = entry.text;
        if (reversed) mbstrrev(shown.data());
        std::string line;
        line.reserve(std::strlen(head.data()) + shown.size() + 5);
        line.append(head.data()).append(" : ").append(shown).append("\r\n");
        target.addTail(std::move(line));
        ui.pump();
    });
}

void CStringTree::collectStrings(CExStringList& target) const {
    forEach([&target](const Entry& entry) { target.addTail(entry.text); });
}

bool CStringTree::store(ArchiveWriter& archive) const {
    struct Item {
        const char* text;
        std::size_t length;
        Count count;
    };
    std::vector<Item> items;
    items.reserve(m_distinct);
    std::deque<std::string> cuts;
    forEach([&](const Entry& entry) {
        if (entry.text.size() <= kMaxStoredLength) {
            items.push_back({entry.text.c_str(), entry.text.size(), entry.count});
            return;
        }
        cuts.push_back(entry.text.substr(0, cutLength(entry.text)));
        items.push_back({cuts.back().c_str(), cuts.back().size(), entry.count});
    });
    if (!cuts.empty()) {
        // A cut can make two strings equal, or move a string past its neighbour (a cut before
        // a double-byte character drops a byte that ranks above the next string's).
        const Order order = m_order;
        std::stable_sort(items.begin(), items.end(), [order](const Item& a, const Item& b) {
            return compareTexts(order, a.text, b.text) < 0;
        });
        std::size_t kept = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (kept > 0 && compareTexts(order, items[kept - 1].text, items[i].text) == 0)
                items[kept - 1].count += items[i].count;
            else
                items[kept++] = items[i];
        }
        items.resize(kept);
    }

    archive.writeU32(static_cast<std::uint32_t>(items.size()));
    archive.writeU32(saturate32(m_total));
    archive.writeI32(m_width);
    if (items.empty()) return archive.ok();

    // A balanced shape over the sorted items, written in record order: node, left flag, left
    // subtree, right flag, right subtree. The explicit stack stays O(log n) deep.
    struct Task {
        std::size_t begin, end;
        bool rightFlag;  // write the right flag of a node whose subtree is [begin, end)
    };
    std::vector<Task> tasks{{0, items.size(), false}};
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        if (task.rightFlag) {
            archive.writeU8(task.begin < task.end ? 1 : 0);
            if (task.begin < task.end) tasks.push_back({task.begin, task.end, false});
            continue;
        }
        const std::size_t middle = task.begin + (task.end - task.begin) / 2;
        const Item& item = items[middle];
        archive.writeU8(static_cast<std::uint8_t>(item.length + 1));
        archive.writeBytes(item.text, item.length);
        archive.writeU8(0);
        archive.writeU32(saturate32(item.count));
        archive.writeU8(task.begin < middle ? 1 : 0);
        tasks.push_back({middle + 1, task.end, true});
        if (task.begin < middle) tasks.push_back({task.begin, middle, false});
    }
    return archive.ok();
}

bool CStringTree::load(ArchiveReader& archive, Order order) {
    clear();
    std::vector<Entry> sorted;
    std::uint32_t distinct = 0;
    std::uint32_t storedTotal = 0;
    std::int32_t width = 0;
    std::uint32_t nodesRead = 0;

    auto readNode = [&](Entry& node) {
        if (++nodesRead > distinct) return false;
        std::uint8_t size;
        char bytes[256];
        if (!archive.readU8(size) || size == 0 || !archive.readBytes(bytes, size)) return false;
        if (bytes[size - 1] != '\0' || std::memchr(bytes, '\0', size - 1u) != nullptr) return false;
        node.text.assign(bytes, size - 1u);
        std::uint32_t count;
        if (!archive.readU32(count)) return false;
        node.count = count;
        return true;
    };
    auto readFlag = [&](bool& flag) {
        std::uint8_t byte;
        if (!archive.readU8(byte) || byte > 1) return false;
        flag = byte == 1;
        return true;
    };
    // Nodes arrive here in in-order; they must rise strictly under the order.
    auto emit = [&](Entry&& node) {
        if (!sorted.empty() &&
            compareTexts(order, sorted.back().text.c_str(), node.text.c_str()) >= 0)
            return false;
        sorted.push_back(std::move(node));
        return true;
    };
    // Pre-order records turned into in-order without recursion: a node with a left subtree
    // waits on the stack until that subtree is complete. The stack only holds nodes already
    // read, so a deeply nested file costs memory in proportion to its size, never stack.
    auto readTree = [&]() {
        std::vector<Entry> waiting;
        for (;;) {
            Entry node;
            bool hasLeft;
            if (!readNode(node) || !readFlag(hasLeft)) return false;
            if (hasLeft) {
                waiting.push_back(std::move(node));
                continue;
            }
            if (!emit(std::move(node))) return false;
            for (;;) {
                bool hasRight;
                if (!readFlag(hasRight)) return false;
                if (hasRight) break;
                if (waiting.empty()) return true;
                Entry parent = std::move(waiting.back());
                waiting.pop_back();
                if (!emit(std::move(parent))) return false;
            }
        }
    };

    bool valid = archive.readU32(distinct) && archive.readU32(storedTotal) &&
                 archive.readI32(width) && width >= 0 && width <= kMaxWidth;
    if (valid && distinct > 0) valid = readTree() && sorted.size() == distinct;
    Count total = 0;
    for (const Entry& entry : sorted) total += entry.count;
    if (!valid || saturate32(total) != storedTotal) {
        archive.fail();
        return false;
    }

    m_order = order;
    m_width = width;
    for (Entry& entry : sorted) findOrCreate(entry.text.c_str(), &entry.text).count = entry.count;
    m_total = total;
    return true;
}

}  // namespace vellmora
