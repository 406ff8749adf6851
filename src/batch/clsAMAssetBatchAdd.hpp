// The clsAMAssetBatchAdd class: a prepared card row of the batch addition.
#pragma once
#include <cstdint>
#include <string>

#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// One prepared asset-card row of the batch addition, collected before the
// cards themselves are made. Texts are kept exactly as assigned (a blank one as
// a space, a blank flexible key as 310 zeros) and made safe only when written.
class clsAMAssetBatchAdd : public DispatchableBase<clsAMAssetBatchAdd> {
  public:
    std::string_view className() const override { return "clsAMAssetBatchAdd"; }
    static void describe(DispatchTable<clsAMAssetBatchAdd>& t);

    // Reads the row, or clears the record, its id included, when there is none.
    // Late-bound as a write-only property. Errors reach the caller.
    void LoadID(int32_t lngID);
    // Inserts a new row (an id below 1 takes one from the sequence) or updates
    // the row of this id, initial flag and organisation; the id, or 0 on failure.
    int32_t SaveCard();

    int32_t lngAMAssetBatchAddID = 0;
    int32_t lngAMAssetID = 0;
    RecordText strCreateDate{TextKind::AsAssigned};
    int32_t lngOperatorID = 0;
    RecordText strAMAssetCardCode{TextKind::AsAssigned};
    RecordText strAMAssetCode{TextKind::AsAssigned};
    RecordText strAMAssetName{TextKind::AsAssigned};
    int32_t lngAMAssetTypeID = 0;
    int32_t lngAMAssetMethodID = 0;
    int32_t bytAssetState = 0;
    int32_t bytDepreciationMethod = 0;
    int32_t bytDepreciationtype = 0;
    int32_t bytDepreciationFactor = 0;
    int32_t lngDutyDepartmentID = 0;
    int32_t lngMainDepartmentID = 0;
    int32_t lngCustomerID = 0;
    int32_t lngClassID1 = 0;
    int32_t lngClassID2 = 0;
    int32_t lngTemplateID = 0;
    int32_t lngCardTemplateID = 0;
    int32_t lngRefReceiptTypeID = 0;
    int32_t lngRefActivityDetailID = 0;
    int32_t lngUnitID = 0;
    RecordText strWorkUnit{TextKind::AsAssigned};
    int32_t dblQuantity = 0;
    RecordText strDate{TextKind::AsAssigned};
    int32_t intYear = 0;
    int32_t bytPeriod = 0;
    int32_t lngAMFundID = 0;
    double dblAmount = 0;
    double dblDepreciation = 0;
    double dblDecAmount = 0;
    double dblNetworth = 0;
    double dblUsage = 0;
    int32_t lngExpenseDepartmentID = 0;
    int32_t lngExpenseAccountID = 0;
    int32_t lngDepreciationAccountID = 0;
    int32_t lngOutAccountID = 0;
    int32_t lngPayAccountID = 0;
    int32_t lngFixUpAccountID = 0;
    int32_t lngSpecialAccountID = 0;
    int32_t lngAddToAccountID = 0;
    int32_t lngAssetAccountID = 0;
    int32_t lngAssetMethodAccountID = 0;
    int32_t lngDecAccountID = 0;
    int16_t blnIsInit = 0;
    int32_t lngOrganizationID = 0;
    int32_t lngAMAssetNationalTypeID = 0;
    RecordText strAMAssetLabelNo{TextKind::AsAssigned};
    int32_t lngAMAssetStateID = 0;
    int32_t lngLocationID = 0;
    int32_t lngUseDepartmentID = 0;
    RecordText strGuaranteeEndDate{TextKind::AsAssigned};
    int32_t lngAMManagerTypeID = 0;
    int32_t lngAssetLocationID = 0;
    int32_t lngMakeCountryID = 0;
    int32_t lngManufacturerID = 0;
    int32_t lngManagementNatureID = 0;
    int32_t lngIntegralityID = 0;
    int32_t blnIsAssure = 0;
    int32_t blnIsLend = 0;
    int32_t blnInventoryProfit = 0;
    int32_t lngBuildStructureID = 0;
    int32_t lngPropertyRightTypeID = 0;
    int32_t lngUseDirectionID = 0;
    int32_t lngRightNatureID = 0;
    int32_t lngInAccountTypeID = 0;
    int32_t lngLandSourceID = 0;
    int32_t lngVehicleProductionID = 0;
    int32_t lngVehicleUseID = 0;
    int32_t lngSituationID = 0;
    int32_t lngCulturalRelicID = 0;
    RecordText strOutlayChannelValue{TextKind::AsAssigned};
    RecordText strOutlayChannelText{TextKind::AsAssigned};
    RecordText strAMAssetNationalCode{TextKind::AsAssigned};
    RecordText strInvoiceNumber{TextKind::AsAssigned};
    RecordText strStyleModel{TextKind::AsAssigned};
    RecordText strMadeIn{TextKind::AsAssigned};
    RecordText strFeatures{TextKind::AsAssigned};
    RecordText strPurpose{TextKind::AsAssigned};
    RecordText strMaker{TextKind::AsAssigned};
    RecordText strFactoryNo{TextKind::AsAssigned};
    RecordText strFactoryDate{TextKind::AsAssigned};
    RecordText strStartDate{TextKind::AsAssigned};
    RecordText strGetType{TextKind::AsAssigned};
    RecordText strGetDate{TextKind::AsAssigned};
    RecordText strScrapDate{TextKind::AsAssigned};
    RecordText strPosition{TextKind::AsAssigned};
    RecordText strLevel{TextKind::AsAssigned};
    RecordText strManagementType{TextKind::AsAssigned};
    double dblEvaluateValue = 0;
    double dblAssureAmount = 0;
    RecordText strAssureType{TextKind::AsAssigned};
    double dblLendAmount = 0;
    RecordText strLendType{TextKind::AsAssigned};
    double dblLandArea = 0;
    double dblBuildingArea = 0;
    double dblRoadArea = 0;
    RecordText strCompleteDate{TextKind::AsAssigned};
    RecordText strUseDate{TextKind::AsAssigned};
    double dblUseArea = 0;
    double dblUnderUseArea = 0;
    double dblUnderBuildingArea = 0;
    RecordText strOwner{TextKind::AsAssigned};
    RecordText strAwardDate{TextKind::AsAssigned};
    RecordText strOwnership{TextKind::AsAssigned};
    double dblLandCardArea = 0;
    RecordText strVehicleNo{TextKind::AsAssigned};
    RecordText strBrandModel{TextKind::AsAssigned};
    double dblExhaustVolume = 0;
    RecordText strNotes{TextKind::AsAssigned};
    int32_t lngUseEmployeeID = 0;
    RecordText strFlexibleID{TextKind::AsAssignedFlexibleKey};
    // Read with the row, never written.
    RecordText strAssetStyle{TextKind::AsAssigned};

  private:
    std::string update() const;

    // Set when the id came from the sequence, until the row is inserted.
    bool newRow_ = false;
};

}  // namespace tk::am
