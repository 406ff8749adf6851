// The clsAMAssetOtherCard class: an asset's descriptive card, a head with a version
// per card alteration.
#pragma once
#include <cstdint>
#include <string>

#include "frame/PublicDef.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The other (descriptive) card of an asset: 68 attributes kept as a head row
// per asset and a version per card alteration. Unlike the card, the head's
// attributes are those of the first version and are never rewritten; a save
// moves only the head's latest pointer, a change of a version included.
class clsAMAssetOtherCard : public DispatchableBase<clsAMAssetOtherCard> {
  public:
    std::string_view className() const override { return "clsAMAssetOtherCard"; }
    static void describe(DispatchTable<clsAMAssetOtherCard>& t);

    // By Mode: atAdd the asset's first version, atDec and atOther its latest,
    // otherwise the version of the card alteration `lngID`. Errors reach the caller.
    void LoadID(int32_t lngID);
    // Adds (version id 0), changes or deletes (a negative id) a version; the
    // version id, or the asset id for a deletion, or 0 on any failure.
    int32_t SaveCard();

    AlterTypeEnum Mode = atUnkonwn;
    int32_t lngAMAssetID = 0;
    int32_t lngAMAssetAlterID = 0;
    int32_t lngAMAssetOtherAlterID = 0;
    int32_t lngAMAssetOtherInitAlterID = 0;
    int32_t lngAMAssetOtherLastAlterID = 0;
    int32_t lngAMAssetOtherRecentAlterID = 0;
    int32_t intYear = 0;
    int16_t bytPeriod = 0;
    RecordText strDate{TextKind::Kept};
    int16_t bytAlterType = 0;

    RecordText strAssetStyle{TextKind::Quoted};
    RecordText strAssetModel{TextKind::Quoted};
    RecordText strMadeIn{TextKind::Quoted};
    RecordText strPurpose{TextKind::Quoted};
    int32_t lngDepartmentID = 0;
    int32_t lngMakeCountryID = 0;
    int32_t lngManufacturerID = 0;
    RecordText strFeatures{TextKind::Quoted};
    RecordText strLevel{TextKind::Quoted};
    RecordText strFactoryNo{TextKind::Quoted};
    RecordText strFactoryDate{TextKind::Kept};
    int32_t lngManagementNatureID = 0;
    RecordText strManagementType{TextKind::Quoted};
    RecordText strStartDate{TextKind::Kept};
    double dblEvaluateValue = 0;
    int32_t lngIntegralityID = 0;
    double dblLandArea = 0;
    RecordText strProjectNo{TextKind::Quoted};
    RecordText strScrapDate{TextKind::Kept};
    int16_t blnIsAssure = 0;
    double dblAssureAmount = 0;
    RecordText strAssureType{TextKind::Quoted};
    int16_t blnIsLend = 0;
    double dblLendAmount = 0;
    RecordText strLendType{TextKind::Quoted};
    double dblRoadArea = 0;
    RecordText strOutlayChannelText{TextKind::Kept};
    RecordText strOutlayChannelValue{TextKind::Kept};
    int32_t lngBuildStructureID = 0;
    int32_t lngPropertyRightTypeID = 0;
    RecordText strCompleteDate{TextKind::Kept};
    RecordText strGetType{TextKind::Kept};
    RecordText strGetDate{TextKind::Kept};
    RecordText strUseDate{TextKind::Kept};
    double dblUseArea = 0;
    double dblUnderUseArea = 0;
    double dblBuildingArea = 0;
    double dblUnderBuildingArea = 0;
    RecordText strPosition{TextKind::Quoted};
    RecordText strOwner{TextKind::Quoted};
    RecordText strAwardDate{TextKind::Kept};
    RecordText strOwnership{TextKind::Quoted};
    double dblFareArea = 0;
    double dblComputerArea = 0;
    double dblMeetingArea = 0;
    double dblCarbarnArea = 0;
    double dblEateryArea = 0;
    double dblSwitchArea = 0;
    int32_t lngRightNatureID = 0;
    int32_t lngInAccountTypeID = 0;
    int32_t lngLandSourceID = 0;
    double dblLandCardArea = 0;
    RecordText strMaker{TextKind::Quoted};
    RecordText strStyleModel{TextKind::Quoted};
    int16_t blnInventoryProfit = 0;
    int32_t lngUseDirectionID = 0;
    int32_t lngLocationID = 0;
    RecordText strVehicleNo{TextKind::Quoted};
    RecordText strBrandModel{TextKind::Quoted};
    double dblExhaustVolume = 0;
    int32_t lngVehicleProductionID = 0;
    int32_t lngVehicleUseID = 0;
    int32_t lngSituationID = 0;
    int32_t lngCulturalRelicID = 0;
    int16_t blnIsManagement = 0;
    RecordText strManageCustomer{TextKind::Quoted};
    RecordText strNotes{TextKind::Quoted};
    RecordText strFlexibleID{TextKind::FlexibleKey};

  private:
    bool writeVersion();
    bool addVersion();
    bool changeVersion();
    bool deleteByMode();
    std::string insertHead() const;
    std::string insertVersion() const;
};

}  // namespace tk::am
