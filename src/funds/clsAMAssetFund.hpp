// The clsAMAssetFund class: one funding source's share of an asset, as a head with
// versions.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "frame/PublicDef.hpp"
#include "frame/RecordFields.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The share of one asset's values that one funding source carries: a head row
// per asset and source (AMAssetFund) pointing at the first and the latest of
// its versions (AMAssetFundAlter), each version tied to an asset version.
class clsAMAssetFund : public DispatchableBase<clsAMAssetFund> {
  public:
    std::string_view className() const override { return "clsAMAssetFund"; }
    static void describe(DispatchTable<clsAMAssetFund>& t);
    // The first versions of new assets' funding sources (no head yet, Mode
    // atAdd), with their heads, each followed by the later versions of the same
    // source in order (Mode atDec or atOther), as SaveCard adds them one after
    // the other, in one statement per table; the version ids and predecessor
    // pointers are set on the records. Raises (RowRefusal) before anything is
    // written when a record's values do not fit.
    static void AddAll(std::span<clsAMAssetFund> funds);

    // By `Mode`: atAdd the source's first version, atDec/atOther its latest,
    // otherwise the version whose id is `lngID`. Database errors reach the caller.
    void LoadID(int32_t assetID, int32_t lngID);
    // Version id 0 adds a version (and the head when there is none), a positive
    // one rewrites it, a negative one (or a negative source) deletes by `Mode`.
    // The version id on success, 0 on failure.
    int32_t SaveCard();

    AlterTypeEnum Mode = atUnkonwn;
    int32_t lngAMAssetID = 0;
    int32_t lngAMAssetAlterID = 0;
    int32_t lngAMFundID = 0;
    int32_t lngAMAssetFundInitAlterID = 0;
    int32_t lngAMAssetFundLastAlterID = 0;
    int32_t lngAMAssetFundAlterID = 0;
    int32_t lngReceiptTypeID = 0;
    int32_t intYear = 0;
    int16_t bytPeriod = 0;
    RecordText strDate{TextKind::Quoted};
    RecordText strReceiptNo{TextKind::Quoted};
    int32_t lngReceiptNo = 0;
    double dblAmount = 0;
    double dblDepreciation = 0;
    double dblNetworth = 0;
    double dblDecAmount = 0;
    double dblAmountAlter = 0;
    double dblDepreciationAlter = 0;
    double dblNetworthAlter = 0;
    double dblDecAmountAlter = 0;
    double dblTransferAmountAlter = 0;
    double dblTransferDepreciationAlter = 0;
    double dblTransferDecAmountAlter = 0;
    int16_t bytAlterType = 0;
    int16_t blnIsVoid = 0;
    int16_t blnIsInit = 0;
    int32_t lngOperatorID = 0;
    int32_t lngVoucherID = 0;
    int32_t lngAssetAccountID = 0;
    int32_t lngDepreciationAccountID = 0;
    int32_t lngDecAccountID = 0;
    int32_t lngOutAccountID = 0;
    int32_t lngPayAccountID = 0;
    int32_t lngFixUpAccountID = 0;
    int32_t lngSpecialAccountID = 0;
    int32_t lngAddToAccountID = 0;
    int32_t lngAMAssetFundRecentAlterID = 0;
    int32_t lngAMAssetFundRelativeAlterID = 0;
    RecordText strDepartmentStr{TextKind::Quoted};
    RecordText strAccountStr{TextKind::Quoted};
    RecordText strRelativeAccountStr{TextKind::Quoted};
    RecordText strCurrencyStr{TextKind::Quoted};
    int16_t bytStatus = 0;
    RecordText strNotes{TextKind::Quoted};
    int32_t lngOrganizationID = 0;

  private:
    static const RecordFields<clsAMAssetFund>& fields();
    std::string loadSql(int32_t assetID, int32_t id) const;
    int32_t save();
    std::string headWhere() const;
    bool addVersion();
    bool changeVersion() const;
    bool deleteVersion(int32_t versionID) const;
    std::string versionInsert() const;
};

}  // namespace tk::am
