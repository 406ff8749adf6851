// The class that apportions an organisation's depreciation to the departments and accounts.
#pragma once
#include <cstdint>
#include <string>

#include "host/Dispatchable.hpp"

namespace tk::am {

// Apportions an organisation's depreciation to the departments and accounts
// that bear it, through the account set's stored function AMAssetAmortise.
// Outside trade 32 the increased depreciation is cleared first.
class clsAMAssetAmortise : public DispatchableBase<clsAMAssetAmortise> {
  public:
    std::string_view className() const override { return "clsAMAssetAmortise"; }
    static void describe(DispatchTable<clsAMAssetAmortise>& t);

    // True when the stored function returned 0; strErrMsg is never written.
    bool Execute(int32_t lngOrganizationID, std::string& strErrMsg);
    // The run-time error the last Execute met (also in its log); empty after
    // a success.
    const std::string& ErrorMessage() const { return errorMessage_; }

  private:
    std::string errorMessage_;
};

}  // namespace tk::am
