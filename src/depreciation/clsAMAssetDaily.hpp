// The class that rebuilds the daily journal of funding sources from scratch.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "host/Dispatchable.hpp"

namespace tk::am {

class clsAMAssetDeprection;

// Rebuilds the daily journal of funding sources from scratch: deletes the
// journal of one organisation (or all) and posts every period again through
// WriteDaily, in three passes: additions, then depreciation and alterations
// (alterations first when the account set posts them before depreciation).
class clsAMAssetDaily : public DispatchableBase<clsAMAssetDaily> {
  public:
    std::string_view className() const override { return "clsAMAssetDaily"; }
    static void describe(DispatchTable<clsAMAssetDaily>& t);

    // False on the first posting that fails or on a run-time error, with
    // "ExecuteAMAssetDaily:" (and the error) appended to strErrMsg.
    bool Execute(int32_t lngOrganizationID, std::string& strErrMsg);
    // Why the posting that ended the last Execute failed (its log has it too);
    // empty after a success or a run-time error, which strErrMsg carries.
    const std::string& ErrorMessage() const { return errorMessage_; }

  private:
    bool PostPass(const std::string& table, const std::string& filter, bool blnFromDepreciation,
                  std::shared_ptr<clsAMAssetDeprection>& depreciation);

    std::string errorMessage_;
};

}  // namespace tk::am
