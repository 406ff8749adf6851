// The clsAMAssetSetting class: the fixed-asset module's options for one organisation.
#pragma once
#include <cstdint>
#include <string>

#include "host/Dispatchable.hpp"

namespace tk::am {

// The fixed-asset module's options for one organisation: default accounts,
// classifications, templates, depreciation defaults and the label switch.
class clsAMAssetSetting : public DispatchableBase<clsAMAssetSetting> {
  public:
    std::string_view className() const override { return "clsAMAssetSetting"; }
    static void describe(DispatchTable<clsAMAssetSetting>& t);

    // Fills the fields from the organisation's settings; a failure keeps the
    // fields not yet reached as they were.
    void LoadID(int32_t lngOrganizationID);

    int32_t lngAssetAccountID = 0;
    int32_t lngDepreciationAccountID = 0;
    int32_t lngDecAccountID = 0;
    int32_t lngClassID1 = 0;
    int32_t lngClassID2 = 0;
    std::string strCodBarTemplateID;
    int32_t lngAMAssetStateID = 0;
    int32_t lngCardTemplateID = 0;
    int32_t lngAddMethodID = 0;
    int32_t bytDepreciationtype = 0;
    int32_t bytDepreciationMethod = 0;
    double dblUsage = 0;
    double dblNetworthRate = 0;
    double dblDeprRate = 0;
    std::string strTreeype;
    int32_t blnDepartmentMust = 0;
    bool blnStartAMAssetLabel = false;
    int32_t lngStartAMAssetLabelPeriod = 0;

    std::string strAssetAccount;
    std::string strDepreciationAccount;
    std::string strDecAccount;
    std::string strClass1;
    std::string strClass2;
    std::string strAMAssetState;
    std::string strCardTemplate;
    std::string strAddMethod;
};

}  // namespace tk::am
