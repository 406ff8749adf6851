// The class that carries the asset self-service platform's tables into the next account set.
#pragma once
#include <string>

#include "carryforward/TurnScope.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Carries the asset self-service platform's tables (alteration item types,
// alteration and reduction requests with their detail rows) into the next
// account set, then removes the organisation's closed requests and detail
// rows there. Nothing to do when either account set lacks the platform.
class clsAMAssetOnlineTurn : public DispatchableBase<clsAMAssetOnlineTurn> {
  public:
    std::string_view className() const override { return "clsAMAssetOnlineTurn"; }
    static void describe(DispatchTable<clsAMAssetOnlineTurn>& t);

    // Only the organisation steers the work; the rest is logged.
    TurnScope scope;

    bool Execute(std::string& strErrMsg);

  private:
    bool HasPlatformTables();
    bool CopyPlatformData(std::string& strErrMsg);
};

}  // namespace tk::am
