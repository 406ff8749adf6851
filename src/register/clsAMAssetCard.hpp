// The clsAMAssetCard class: an asset's head row with one of its versions, loaded and
// saved by Mode.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "frame/PublicDef.hpp"
#include "frame/RecordFields.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The asset card: one asset's head row (AMAsset) and one of its versions
// (AMAssetAlter). Mode picks the version LoadID reads and the head columns
// SaveCard writes; the signs of the two ids pick what SaveCard does.
class clsAMAssetCard : public DispatchableBase<clsAMAssetCard> {
  public:
    std::string_view className() const override { return "clsAMAssetCard"; }
    static void describe(DispatchTable<clsAMAssetCard>& t);

    // `lngID` is an asset id for atAdd, atDec and atOther, a version id otherwise.
    void LoadID(int32_t lngID);
    // The asset id (the version id when a version was deleted), or 0.
    int32_t SaveCard();
    // New assets (Mode atAdd, no ids yet), each head with its first version,
    // each followed by its later versions in order (Mode atDec or atOther), as
    // SaveCard adds them one after the other, in one statement per table; the
    // ids and the predecessor pointers are set on the cards. Raises
    // (RowRefusal) before anything is written when a card's values do not fit.
    static void AddAll(std::span<clsAMAssetCard> cards);

    AlterTypeEnum Mode = atUnkonwn;

    int32_t lngAMAssetID = 0;
    RecordText strCreateDate{TextKind::Kept};
    RecordText strStartDate{TextKind::Kept};
    double dblStartUsage = 0;
    double dblStartWork = 0;
    RecordText strInvoiceNumber{TextKind::Quoted};
    RecordText strCreateVoucher{TextKind::Quoted};
    RecordText strRefReceiptNO{TextKind::Quoted};
    int32_t lngRefReceiptTypeID = 0;
    int32_t lngRefActivityDetailID = 0;
    int32_t lngRefActivityVoucherID = 0;
    int32_t lngAMAssetAlterID = 0;
    int32_t lngAMAssetInitAlterID = 0;
    int32_t lngAMAssetLastAlterID = 0;
    int32_t lngCardTemplateID = 0;
    int32_t lngOrganizationID = 0;
    int32_t lngTemplateID = 0;
    int32_t lngReceiptTypeID = 0;
    int32_t intYear = 0;
    int16_t bytPeriod = 0;
    RecordText strDate{TextKind::Kept};
    RecordText strReceiptNo{TextKind::Kept};
    int32_t lngReceiptNo = 0;
    RecordText strAMAssetNationalCode{TextKind::Quoted};
    RecordText strAMAssetCardCode{TextKind::Quoted};
    RecordText strAMAssetCode{TextKind::Quoted};
    RecordText strAMAssetName{TextKind::Quoted};
    int32_t lngAMAssetTypeID = 0;
    int32_t lngAMAssetNationalTypeID = 0;
    int32_t lngAMAssetMethodID = 0;
    int32_t lngDepartmentID = 0;
    int32_t lngAMManagerTypeID = 0;
    int32_t lngCustomerID = 0;
    int32_t lngClassID1 = 0;
    int32_t lngClassID2 = 0;
    int32_t lngUnitID = 0;
    double dblQuantity = 0;
    double dblQuantityAlter = 0;
    int16_t bytAlterType = 0;
    int16_t bytAssetState = 0;
    int16_t bytDepreciationMethod = 0;
    int16_t bytDepreciationFactor = 0;
    int16_t bytAccumulationFactor = 0;
    int16_t blnIsDepreciationAll = 0;
    RecordText strWorkUnit{TextKind::Quoted};
    RecordText strDepartmentStr{TextKind::Quoted};
    RecordText strAccountStr{TextKind::Quoted};
    RecordText strRelativeAccountStr{TextKind::Quoted};
    double dblAmount = 0;
    double dblDepreciation = 0;
    double dblNetworth = 0;
    double dblDecAmount = 0;
    double dblUseage = 0;
    double dblAmountAlter = 0;
    double dblDepreciationAlter = 0;
    double dblNetworthAlter = 0;
    double dblDecAmountAlter = 0;
    double dblUsageAlter = 0;
    RecordText strCurrencyStr{TextKind::Quoted};
    int16_t blnIsPrint = 0;
    int16_t blnIsPrinted = 0;
    int16_t blnIsVoid = 0;
    int16_t blnIsVoucher = 0;
    int16_t blnIsInit = 0;
    int16_t blnBaseAlter = 0;
    int16_t blnFinanceAlter = 0;
    int16_t blnLabelAlter = 0;
    int16_t blnAuxAlter = 0;
    int16_t blnPicAlter = 0;
    int16_t blnDocAlter = 0;
    int16_t blnOtherAlter = 0;
    int32_t lngVoucherID = 0;
    int32_t lngOperatorID = 0;
    int32_t lngCheckerID = 0;
    int16_t bytStatus = 0;
    RecordText strErrorMsg{TextKind::Quoted};
    RecordText strNotes{TextKind::Quoted};
    RecordText strDescription{TextKind::Quoted};
    int32_t lngAMAssetRecentAlterID = 0;
    bool blnIsAddDep = false;

  private:
    using Columns = RecordFields<clsAMAssetCard>::Columns;
    using Overrides = RecordFields<clsAMAssetCard>::Overrides;

    static const RecordFields<clsAMAssetCard>& fields();

    int32_t save();
    bool write(int32_t assetID, int32_t versionID);
    bool addAsset();
    bool addVersion();
    bool changeVersion();
    bool remove(int32_t assetID, int32_t versionID) const;
    bool writeVersionThenHead(const std::string& versionStatement,
                              std::optional<Columns> headColumns, const Overrides& overrides) const;
    std::string headInsert() const;
    std::string versionInsert() const;
    std::string versionUpdate() const;
    std::string headUpdate(Columns columns, const Overrides& overrides) const;
};

}  // namespace tk::am
