#include "results/result_source.h"

namespace vellmora {

ResultKind sourceKindOf(const DisplaySnapshot& snapshot) {
    return kindFromValue(snapshot.history[0]);
}

}  // namespace vellmora
