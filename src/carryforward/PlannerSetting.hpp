// A PostgreSQL planner setting held for one step of a carry-forward run.
#pragma once
#include <string>

namespace tk::am {

// A planner setting for the statements of one step of a run, within the
// run's transaction: set for the guard's life, then put back as it was.
class PlannerSetting {
  public:
    PlannerSetting(std::string name, const std::string& value);
    PlannerSetting(const PlannerSetting&) = delete;
    PlannerSetting& operator=(const PlannerSetting&) = delete;
    ~PlannerSetting();

  private:
    std::string name_, previous_;
};

}  // namespace tk::am
