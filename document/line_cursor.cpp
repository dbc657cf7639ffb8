#include "document/line_cursor.h"

#include <cstdlib>

namespace vellmora {

CExStringList::Position LineCursor::seek(const CExStringList& list, int index) {
    m_lastSteps = 0;
    // Checked before the range, so that a list seen changed drops the kept node too: any
    // change may have freed it.
    if (m_list != &list || m_generation != list.generation()) m_node = nullptr;
    m_list = &list;
    m_generation = list.generation();
    m_count = list.count();
    if (index < 0 || index >= m_count) return nullptr;

    // Start from the nearest known node; distances fit in an int as indices do.
    CExStringList::Position node = list.headPosition();
    int at = 0;
    if (m_count - 1 - index < index) {
        node = list.tailPosition();
        at = m_count - 1;
    }
    if (m_node != nullptr && std::abs(index - m_index) < std::abs(index - at)) {
        node = m_node;
        at = m_index;
    }
    for (; at < index; ++at, ++m_lastSteps) node = CExStringList::next(node);
    for (; at > index; --at, ++m_lastSteps) node = CExStringList::prev(node);
    m_node = node;
    m_index = index;
    return node;
}

}  // namespace vellmora
