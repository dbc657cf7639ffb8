#pragma once

#include <cstdint>

#include "containers/ex_string_list.h"

namespace vellmora {

/// Finds the node of a line by its index without walking from the head every time: it keeps
/// the last node it found and walks from whichever of the head, the tail and that node is
/// nearest. Scrolling by a page and jumping to the end of a list of a million lines cost a
/// few steps instead of a million.
///
/// The kept node is only trusted while the list is unchanged (the same list at the same
/// generation): any change may have freed it.
class LineCursor {
public:
    /// The node of line index of list, or null when index is out of range.
    CExStringList::Position seek(const CExStringList& list, int index);
    /// Forgets the kept node.
    void reset() { m_node = nullptr; }

    /// Nodes stepped over by the last seek (for measuring).
    long lastSteps() const { return m_lastSteps; }

private:
    const CExStringList* m_list = nullptr;
    std::uint64_t m_generation = 0;
    int m_count = 0;
    CExStringList::Position m_node = nullptr;
    int m_index = 0;
    long m_lastSteps = 0;
};

}  // namespace vellmora
