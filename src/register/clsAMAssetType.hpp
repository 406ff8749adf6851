// The clsAMAssetType class: an asset category with its depreciation defaults, code
// rules and accounts.
#pragma once
#include <cstdint>
#include <string>

#include "connect/Recordset.hpp"
#include "frame/RecordFields.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// An asset category: its depreciation defaults, code rules and default
// accounts. Loaded as one organisation sees it; saved as the common row.
class clsAMAssetType : public DispatchableBase<clsAMAssetType> {
  public:
    std::string_view className() const override { return "clsAMAssetType"; }
    static void describe(DispatchTable<clsAMAssetType>& t);

    // Empty values are filled from the organisation's module settings.
    void LoadID(int32_t lngID, int32_t lngOrganizationID);
    // The category's id, or 0.
    int32_t SaveCard();

    int32_t lngAMAssetCategoryID = 0;
    int32_t lngAMAssetTypeID = 0;
    RecordText strAMAssetTypeCode{TextKind::Quoted};
    RecordText strAMAssetTypeName{TextKind::Quoted};
    RecordText strFullName{TextKind::Quoted};
    int32_t intLevel = 0;
    int16_t blnIsDetail = 0;
    int16_t blnIsInActive = 0;
    int16_t blnIsSys = 0;
    RecordText strStartDate{TextKind::Quoted};
    int16_t bytDepreciationtype = 0;
    int16_t bytDepreciationMethod = 0;
    double dblUseage = 0;
    double dblNetworthRate = 0;
    double dblDeprRate = 0;
    int16_t bytCodeMethod = 0;
    RecordText strCodePrefix{TextKind::Quoted};
    RecordText strCodeSuffix{TextKind::Quoted};
    RecordText strCodeRule{TextKind::Quoted};
    int32_t intCodeSerialNoDec = 0;
    RecordText strCardRule{TextKind::Quoted};
    int32_t intCardSerialNoDec = 0;
    RecordText strLabelRule{TextKind::Quoted};
    int32_t intLabelSerialNoDec = 0;
    int32_t lngAssetAccountID = 0;
    std::string strAssetAccount;
    int32_t lngDepreciationAccountID = 0;
    std::string strDepreciationAccount;
    int32_t lngClassID1 = 0;
    std::string strClass1;
    int32_t lngClassID2 = 0;
    std::string strClass2;
    int32_t lngDecAccountID = 0;
    std::string strDecAccount;
    RecordText strFlexibleID{TextKind::Quoted};
    int32_t lngOrganizationID = 0;
    RecordText strNotes{TextKind::Quoted};

  private:
    static const RecordFields<clsAMAssetType>& columnFields();
    static const RecordFields<clsAMAssetType>& displayFields();

    void applyDepreciationDefaults(int32_t organizationID);
    void applyReferenceDefaults(const connect::Recordset& rs, int32_t organizationID);
    std::string insertText() const;
    std::string updateText() const;
};

}  // namespace tk::am
