#include "depreciation/PeriodLock.hpp"

#include "depreciation/RoutineCall.hpp"

namespace tk::am {

void PeriodLock::takeAlone(int32_t organizationID, const std::function<void()>& beforeWaiting) {
    auto take = [&](bool wait) {
        return RoutineCall().function(
            "AMAssetPeriodLock",
            {RoutineInput::integer(Variant(organizationID)), RoutineInput::integer(Variant(1)),
             RoutineInput::integer(Variant(wait ? 1 : 0))});
    };
    if (take(false)) return;
    if (beforeWaiting) beforeWaiting();
    take(true);
}

}  // namespace tk::am
