// The class that carries one organisation's fixed-asset register into the next account set.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "carryforward/TurnScope.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Carries one organisation's fixed-asset register from the account set
// OldUser into the next one, NewUser, at TurnDate (结转): checks that the old
// set is ready, clears the organisation in the new set, copies the register,
// builds each asset's opening records from the old set's closing figures,
// recalculates and reposts, and re-aligns the id sequences.
//
// When the host has no transaction open, Execute runs in one transaction of
// its own: a failure leaves the new account set as it was, sequences included.
// Inside the host's transaction the host commits or rolls back.
class clsAMAssetTurn : public DispatchableBase<clsAMAssetTurn> {
  public:
    std::string_view className() const override { return "clsAMAssetTurn"; }
    static void describe(DispatchTable<clsAMAssetTurn>& t);

    // The context values (ConnBase, OldUser, NewUser) are set through the
    // frame; these are the object's own.
    TurnScope scope;
    int32_t TurnAMAssetID = 0;  // kept, not used
    // Told before each step runs: its name, its place from 1, and how many run.
    std::function<void(const std::string&, size_t, size_t)> onStep;

    // True when the carry-forward may run; otherwise false with the reason.
    bool Check(std::string& strErrMsg);
    bool Execute(std::string& strErrMsg);

  private:
    struct Step {
        std::string name;
        std::function<bool()> run;
    };

    bool HasAssets();
    bool CheckPriorDepreciation(int32_t year, int32_t period);
    bool CheckAllPosted();
    bool ReadPriorPeriod();
    bool ReadNewPeriod();
    // The steps in order; `beforeWriting` runs once the read-only ones are done.
    bool RunSteps(std::string& strErrMsg, const std::function<void()>& beforeWriting);
    bool RunInOwnTransaction(std::string& strErrMsg);

    // The run reached the whole-table copy, which reports by its result alone.
    bool copiedWholeTables_ = false;
};

}  // namespace tk::am
