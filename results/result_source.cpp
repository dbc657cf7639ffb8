#include "results/result_source.h"

#include "engine/search_run.h"

namespace vellmora {

ResultKind sourceKindOf(const DisplaySnapshot& snapshot) {
    return kindFromValue(snapshot.history[0]);
}

BusyScope::BusyScope(const ResultCommandPlace& place) : m_place(place) {
    m_place.flags.running = true;
    m_place.view.busy = true;
}

BusyScope::~BusyScope() {
    m_place.flags.running = false;
    m_place.view.busy = false;
}

}  // namespace vellmora
