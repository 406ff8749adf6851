// The upgrade route from an earlier release of this component.
#pragma once
#include <cstdint>
#include <string>

#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {

class clsAMAssetUpdate;

// Copies an earlier release's asset register from [OldUser] into the
// emptied asset tables of [NewUser], with the base data it refers to, then
// rebuilds the journal, links the vouchers and realigns the sequences.
class EarlierReleaseUpgrade {
  public:
    static constexpr int32_t kTotalProgress = 83;

    explicit EarlierReleaseUpgrade(clsAMAssetUpdate& update) : update_(update), steps_(update) {}
    bool Run(std::string& strErrMsg);

  private:
    bool RunSteps(std::string& strErrMsg);
    void CopyBaseData();
    void CopyBaseTable(const std::string& table);
    bool CopyTemplates(std::string& strErrMsg);
    bool CopyBalances(std::string& strErrMsg);
    bool CopyDepreciationRecords(std::string& strErrMsg);
    bool PostDaily(std::string& strErrMsg);
    bool LinkVouchers(std::string& strErrMsg);

    clsAMAssetUpdate& update_;
    UpgradeSteps steps_;
};

}  // namespace tk::am
