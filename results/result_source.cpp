#include "results/result_source.h"

namespace vellmora {

ResultKind sourceKindOf(const DisplaySnapshot& snapshot) {
    const int kind = snapshot.history[0];
    if (kind < 0 || kind >= kResultKinds) return ResultKind::Original;
    return static_cast<ResultKind>(kind);
}

}  // namespace vellmora
