// The clsAMAssetLabel class: an asset's labels, each a head with versions and a row
// of custom values.
#pragma once
#include <cstdint>
#include <string>

#include "frame/PublicDef.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The labels of an asset. Each label is a head row with a chain of versions
// (where the item is, who holds it, its state and the document of the change),
// and one row of twenty custom values that is not versioned: every save
// overwrites it. Unlike the other card, a label id sits between the asset and
// the version, and changing a version leaves the head's latest pointer alone.
class clsAMAssetLabel : public DispatchableBase<clsAMAssetLabel> {
  public:
    std::string_view className() const override { return "clsAMAssetLabel"; }
    static void describe(DispatchTable<clsAMAssetLabel>& t);

    // By Mode: atAdd the first version of label `lngID`, atDec and atOther its
    // latest, otherwise the label version `lngID`. Errors reach the caller.
    void LoadID(int32_t lngAMAssetID, int32_t lngID);
    // A new label (label and version id 0), a new version (version id 0), a
    // change, or a deletion (a negative id) by Mode; an id, or 0 on any failure.
    int32_t SaveCard();

    AlterTypeEnum Mode = atUnkonwn;
    int32_t lngOrderNo = 0;
    int32_t lngAMAssetID = 0;
    int32_t lngAMAssetAlterID = 0;
    int32_t lngAMAssetLabelID = 0;
    RecordText strAMAssetLabelNo{TextKind::Kept};
    int32_t lngAMAssetLabelInitAlterID = 0;
    int32_t lngAMAssetLabelLastAlterID = 0;
    int32_t lngAMAssetLabelAlterID = 0;
    int32_t lngReceiptTypeID = 0;
    int32_t intYear = 0;
    int16_t bytPeriod = 0;
    RecordText strDate{TextKind::Kept};
    RecordText strReceiptNo{TextKind::Kept};
    int32_t lngReceiptNo = 0;
    int16_t bytAlterType = 0;
    int32_t lngAMAssetStateID = 0;
    int32_t lngLocationID = 0;
    int32_t lngDepartmentID = 0;
    int32_t lngEmployeeID = 0;
    int32_t lngOperatorID = 0;
    RecordText strGuaranteeEndDate{TextKind::Kept};
    RecordText strNotes{TextKind::Quoted};
    int32_t lngAMAssetLabelRecentAlterID = 0;
    double dblQuantity1 = 0, dblQuantity2 = 0, dblQuantity3 = 0, dblQuantity4 = 0, dblQuantity5 = 0;
    double dblAmount1 = 0, dblAmount2 = 0, dblAmount3 = 0, dblAmount4 = 0, dblAmount5 = 0;
    RecordText strText1{TextKind::Quoted}, strText2{TextKind::Quoted}, strText3{TextKind::Quoted},
        strText4{TextKind::Quoted}, strText5{TextKind::Quoted};
    RecordText strDate1{TextKind::Kept}, strDate2{TextKind::Kept}, strDate3{TextKind::Kept},
        strDate4{TextKind::Kept}, strDate5{TextKind::Kept};
    int32_t lngOrganizationID = 0;

  private:
    bool writeLabel();
    bool addLabel();
    bool addVersion();
    bool changeVersion();
    bool deleteByMode();
    int32_t resultID() const;
    std::string insertHead() const;
    std::string insertVersion() const;
    std::string insertCustom() const;
    std::string updateCustom() const;
};

}  // namespace tk::am
