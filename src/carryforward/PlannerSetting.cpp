// Sets the planner setting for the transaction with set_config and puts the previous value back
// when the guard ends.
#include "carryforward/PlannerSetting.hpp"

#include <utility>

#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

// Sets the value for the rest of the transaction; returns what it was.
std::string Set(const std::string& name, const std::string& value) {
    connect::PgResult was = RunNative("SELECT current_setting($1)", {{name}, {}});
    std::string previous = PQgetvalue(was.get(), 0, 0);
    RunNative("SELECT set_config($1, $2, true)", {{name, value}, {}});
    return previous;
}

}  // namespace

PlannerSetting::PlannerSetting(std::string name, const std::string& value)
    : name_(std::move(name)), previous_(Set(name_, value)) {}

PlannerSetting::~PlannerSetting() {
    try {
        Set(name_, previous_);
    } catch (...) {
        // A lost connection ends the transaction, and the setting with it.
    }
}

}  // namespace tk::am
