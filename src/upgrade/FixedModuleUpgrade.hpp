// The upgrade route from the suite's older fixed-asset module.
#pragma once
#include <string>

#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {

class clsAMAssetUpdate;

// Converts the suite's older fixed-asset module ([OldUser]Fixed…) into this
// component's tables of [NewUser]: the reference data first; the cards and
// their history, replayed alteration by alteration with the item behind
// each card (other card, label, custom values, equipment, pictures,
// documents) and the depreciation each period booked, only after the old
// data passed its checks.
class FixedModuleUpgrade {
  public:
    explicit FixedModuleUpgrade(clsAMAssetUpdate& update) : update_(update), steps_(update) {}
    bool Run(std::string& strErrMsg);

  private:
    bool ConvertCards(std::string& strErrMsg);
    bool ReplayCards(std::string& strErrMsg);
    bool WriteRecords(std::string& strErrMsg);
    bool WriteHistory(std::string& strErrMsg);
    bool RebuildLineTexts(std::string& strErrMsg);
    bool CalculateAndPost(std::string& strErrMsg);

    clsAMAssetUpdate& update_;
    UpgradeSteps steps_;
};

}  // namespace tk::am
