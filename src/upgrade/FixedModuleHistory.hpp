// The older module's bookings besides the alterations, written once the cards are replayed.
#pragma once
#include <string>

namespace tk::am {

// What the older module booked besides the alterations, written into
// [NewUser] once the cards are replayed (FixAlterID_Temp maps old
// alterations to new versions): each period's depreciation as that period's
// balances, their apportionment over the account lines and one depreciation
// record per organisation and period.
class FixedModuleHistory {
  public:
    // Each returns false with the step's message and the error in strErrMsg.
    static bool WriteBalances(std::string& strErrMsg);
    static bool WriteApportionment(std::string& strErrMsg);
    static bool WriteDepreciationRecords(std::string& strErrMsg);
};

}  // namespace tk::am
