// Takes the account set's AMAssetPeriodLock, telling the caller before it waits, and installs
// the routine in account sets made before it existed.
#include "depreciation/PeriodLock.hpp"

#include <fstream>
#include <iterator>

#include "connect/Connection.hpp"
#include "connect/Session.hpp"
#include "depreciation/RoutineCall.hpp"
#include "frame/Context.hpp"
#include "provision/DatabaseFolder.hpp"

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

// The login owns its schema, the first on its search path, where the routine goes.
void PeriodLock::addIfMissing() {
    connect::Session& session = connection().session();
    connect::PgResult found = session.runNative(
        "SELECT 1 FROM pg_proc WHERE proname = 'amassetperiodlock' AND pronamespace = "
        "current_schema()::regnamespace");
    if (PQntuples(found.get()) > 0) return;
    std::ifstream in(DatabaseFolder() / "routines" / "005_period_lock.sql", std::ios::binary);
    session.runScript({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

}  // namespace tk::am
