// The upgrade route for an account set that already holds this component's register.
#pragma once
#include <string>

#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {

class clsAMAssetUpdate;

// Brings the asset register an account set already holds ([NewUser]) up to
// this release: templates, the creation columns of "a.83.20130430", the
// style-and-model text of the other cards, then the depreciation balances,
// a recalculation of assets never depreciated, and the journal.
class MaintenanceUpgrade {
  public:
    explicit MaintenanceUpgrade(clsAMAssetUpdate& update) : update_(update), steps_(update) {}
    bool Run(std::string& strErrMsg);

  private:
    bool FixTemplatesAndTexts(std::string& strErrMsg);
    void FillCreationColumns();
    bool WriteBalances();

    clsAMAssetUpdate& update_;
    UpgradeSteps steps_;
};

}  // namespace tk::am
