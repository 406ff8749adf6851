// The clsAMAssetCode class: codes made from the category rules, and unused serials
// given back.
#pragma once
#include <cstdint>
#include <string>

#include "frame/PublicDef.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Asset codes, card numbers, label numbers and national codes made from the
// rules of the categories and national classifications, and the serial
// counters those rules draw on (AMAssetTypeNo).
class clsAMAssetCode : public DispatchableBase<clsAMAssetCode> {
  public:
    std::string_view className() const override { return "clsAMAssetCode"; }
    static void describe(DispatchTable<clsAMAssetCode>& t);

    // The code of the given kind, at most 50 characters followed by one
    // character of code 0. Advances the counter of every serial placeholder of
    // the rule; a counter another client changed meanwhile raises an error.
    std::string GetCode(AssetCodeTypeEnum enmType, const std::string& strDate,
                        int32_t lngOrganizationID, int32_t lngAssetTypeID,
                        int32_t lngAssetNationalTypeID, int32_t lngDutyDepartmentID,
                        int32_t lngMainDepartmentID, const std::string& strAMAssetCode = "",
                        bool blnHaveSep = false);

    // Steps an organisation's counter back after a drawn code went unused.
    bool RollbackCode(AssetCodeTypeEnum enmType, const std::string& strRule,
                      int32_t lngOrganizationID, int32_t lngAssetTypeID,
                      int32_t lngAssetNationalTypeID);
};

}  // namespace tk::am
