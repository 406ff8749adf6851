// The earlier release's cards, funding sources, other cards and labels copied statement by
// statement, versions matched up, and the unchanged tables copied whole.
#include "upgrade/EarlierReleaseAssetCopy.hpp"

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/TableCopier.hpp"
#include "upgrade/SharedColumns.hpp"
#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {
namespace {

const char* const kPartFlags =
    "blnBaseAlter, blnFinanceAlter, blnLabelAlter, blnOtherAlter, blnAuxAlter, blnPicAlter, "
    "blnDocAlter";
const char* const kDescription =
    "'[升级]' || Decode(o.blnIsInit, 1, '[期初]', Decode(o.bytAlterType, 1, '[增加]', 2, "
    "'[减少]', '[其它变动]')) || '[卡片][财务][标签][其它][附属设备][图片][文档]'";

}  // namespace

bool EarlierReleaseAssetCopy::Statement(const std::string& sql, std::string& errorText) {
    return ExecuteSql(sql, errorText);
}

bool EarlierReleaseAssetCopy::Run(std::string& errorText) {
    return CopyCards(errorText) && CopyFunds(errorText) && CopyOtherCards(errorText) &&
           CopyLabels(errorText) &&
           CopyUnchanged("AMAssetAux,AMAssetDocument,AMAssetImage,AMAssetCustom", errorText);
}

bool EarlierReleaseAssetCopy::CopyCards(std::string& errorText) {
    announce_("AMAsset");
    bool copied = Statement(
        " Insert Into [NewUser]AMAsset (lngAMAssetID, strAMAssetNationalCode, strAMAssetCardCode,"
        " strAMAssetCode, strAMAssetName, strCreateDate, strStartDate, dblStartUsage, dblStartWork,"
        " lngAMAssetTypeID, lngAMAssetNationalTypeID, lngAMAssetMethodID, lngDepartmentID,"
        " lngCustomerID, lngRefReceiptTypeID, lngRefActivityDetailID, lngAMAssetInitAlterID,"
        " lngAMAssetLastAlterID, lngOrganizationID, lngCardTemplateID)"
        " Select a.lngAMAssetID, f.strAMAssetNationalCode, a.strAMAssetCardCode, a.strAMAssetCode,"
        " f.strAMAssetName, f.strDate, a.strStartDate,"
        " Decode(f.bytDepreciationMethod, 3, 0, a.dblStartUsage),"
        " Decode(f.bytDepreciationMethod, 3, a.dblStartUsage, 0), f.lngAMAssetTypeID,"
        " f.lngAMAssetNationalTypeID, f.lngAMAssetMethodID, f.lngDepartmentID, f.lngCustomerID,"
        " 0, 0, a.lngAMAssetInitAlterID, a.lngAMAssetLastAlterID, a.lngOrganizationID,"
        " a.lngCardTemplateID"
        " From [OldUser]AMAsset a, [OldUser]AMAssetAlter f"
        " Where f.lngAMAssetAlterID = a.lngAMAssetInitAlterID",
        errorText);
    if (!copied) return false;
    announce_("AMAssetAlter");
    SharedColumns shared(context().OldUser, "AMAssetAlter", "AMAssetAlter",
                         {"lngTemplateID", "dblQuantityAlter", "strDescription"});
    return Statement(" Insert Into [NewUser]AMAssetAlter (" + shared.plain +
                         ", lngTemplateID, dblQuantityAlter, " + kPartFlags +
                         ", strDescription) Select " + shared.prefixed +
                         ", 0, Decode(o.bytAlterType, 2, 0, o.dblQuantityAlter), 1, 1, 1, 1, 1, "
                         "1, 1, " +
                         kDescription + " From [OldUser]AMAssetAlter o",
                     errorText);
}

// A funding-source version belongs to the first card version of its asset
// with the same period and date.
bool EarlierReleaseAssetCopy::CopyFunds(std::string& errorText) {
    if (!CopyUnchanged("AMAssetFund", errorText)) return false;
    announce_("AMAssetFundAlter");
    SharedColumns shared(context().OldUser, "AMAssetFundAlter", "AMAssetFundAlter",
                         {"lngPayAccountID"});
    bool copied = Statement(
        " Insert Into [NewUser]AMAssetFundAlter (" + shared.plain +
            ", lngAMAssetAlterID, lngOutAccountID, lngPayAccountID, dblTransferDecAmountAlter,"
            " lngDecAccountID) Select " +
            shared.prefixed +
            ", Nvl((Select Min(c.lngAMAssetAlterID) From [OldUser]AMAssetAlter c"
            " Where c.lngAMAssetID = o.lngAMAssetID"
            " And c.intYear * 100 + c.bytPeriod = o.intYear * 100 + o.bytPeriod"
            " And c.strDate = o.strDate), 0), o.lngPayAccountID, 0, 0, 0"
            " From [OldUser]AMAssetFundAlter o",
        errorText);
    if (!copied) return false;
    announce_("AMAssetFundCostAlter");
    SharedColumns costs(context().OldUser, "AMAssetFundCostAlter", "AMAssetFundCostAlter", {});
    copied = Statement(" Insert Into [NewUser]AMAssetFundCostAlter (" + costs.plain +
                           ", dblDecAmount) Select " + costs.prefixed +
                           ", 0 From [OldUser]AMAssetFundCostAlter o",
                       errorText);
    return copied && CopyUnchanged("AMAssetFundAccAlter", errorText);
}

// The earlier release kept no other card for some assets: they get a blank
// one in the old schema first, so that every asset has one to carry over.
bool EarlierReleaseAssetCopy::CopyOtherCards(std::string& errorText) {
    announce_("AMAssetOther,AMAssetOtherAlter");
    bool copied = Statement(
        " Insert Into [OldUser]AMAssetOther (lngAMAssetID) Select a.lngAMAssetID"
        " From [OldUser]AMAsset a Where Not Exists(Select 1 From [OldUser]AMAssetOther o"
        " Where o.lngAMAssetID = a.lngAMAssetID)",
        errorText);
    // Place of manufacture and notes start blank; the department follows the card.
    const std::initializer_list<std::string> filledHere = {"lngAMAssetID", "lngDepartmentID",
                                                           "strMadeIn", "strNotes"};
    SharedColumns head(context().OldUser, "AMAssetOther", "AMAssetOther", filledHere),
        versions(context().OldUser, "AMAssetOther", "AMAssetOtherAlter", filledHere);
    copied = copied &&
             Statement(
                 " Insert Into [NewUser]AMAssetOther (lngAMAssetID, lngAMAssetOtherInitAlterID,"
                 " lngAMAssetOtherLastAlterID, lngDepartmentID, strMadeIn, strNotes, " +
                     head.plain +
                     ") Select o.lngAMAssetID, a.lngAMAssetInitAlterID,"
                     " a.lngAMAssetLastAlterID, f.lngDepartmentID, ' ', ' ', " +
                     head.prefixed +
                     " From [OldUser]AMAssetOther o, [OldUser]AMAsset a,"
                     " [OldUser]AMAssetAlter f Where a.lngAMAssetID = o.lngAMAssetID"
                     " And f.lngAMAssetAlterID = a.lngAMAssetInitAlterID",
                 errorText);
    return copied &&
           Statement(
               " Insert Into [NewUser]AMAssetOtherAlter (lngAMAssetOtherAlterID, lngAMAssetID,"
               " lngAMAssetAlterID, lngAMAssetOtherRecentAlterID, intYear, bytPeriod,"
               " bytAlterType, strDate, lngDepartmentID, strMadeIn, strNotes, " +
                   versions.plain +
                   ") Select c.lngAMAssetAlterID, c.lngAMAssetID, c.lngAMAssetAlterID,"
                   " c.lngAMAssetRecentAlterID, c.intYear, c.bytPeriod, c.bytAlterType,"
                   " c.strDate, c.lngDepartmentID, ' ', ' ', " +
                   versions.prefixed +
                   " From [OldUser]AMAssetOther o, [OldUser]AMAssetAlter c"
                   " Where c.lngAMAssetID = o.lngAMAssetID",
               errorText);
}

// Each label gets a version per card version of its asset, carrying the
// label's latest old values; versions are numbered in card-version order, so
// a label's first and last versions are its smallest and largest ids.
bool EarlierReleaseAssetCopy::CopyLabels(std::string& errorText) {
    announce_("AMAssetLabel,AMAssetLabelAlter,AMAssetLabelCustom");
    bool copied = Statement(
        " Insert Into [NewUser]AMAssetLabel (lngOrderNo, lngAMAssetID, lngAMAssetLabelID,"
        " strAMAssetLabelNo, lngOrganizationID) Select l.lngOrderNo, l.lngAMAssetID,"
        " l.lngAMAssetLabelID, l.strAMAssetLabelNo, l.lngOrganizationID"
        " From [OldUser]AMAssetLabel l",
        errorText);
    copied = copied &&
             Statement(
                 " Insert Into [NewUser]AMAssetLabelAlter (lngAMAssetLabelAlterID, lngAMAssetID,"
                 " lngAMAssetLabelID, lngAMAssetAlterID, strAMAssetLabelNo, lngReceiptTypeID,"
                 " intYear, bytPeriod, strDate, strReceiptNo, lngReceiptNo, bytAlterType,"
                 " lngAMAssetStateID, lngLocationID, lngEmployeeID, lngOperatorID,"
                 " strGuaranteeEndDate, strNotes, lngOrganizationID, lngDepartmentID)"
                 " Select [NewUser]AMAssetLabelAlter_SEQ.NextVal, x.* From ("
                 " Select l.lngAMAssetID, l.lngAMAssetLabelID, c.lngAMAssetAlterID,"
                 " v.strAMAssetLabelNo, c.lngReceiptTypeID, c.intYear, c.bytPeriod, c.strDate,"
                 " c.strReceiptNO, c.lngReceiptNO, c.bytAlterType, v.lngAMAssetStateID,"
                 " v.lngLocationID, v.lngEmployeeID, c.lngOperatorID, v.strGuaranteeEndDate,"
                 " v.strNotes, l.lngOrganizationID, v.lngDepartmentID"
                 " From [OldUser]AMAssetLabel l, [OldUser]AMAssetLabelAlter v,"
                 " [OldUser]AMAssetAlter c"
                 " Where v.lngAMAssetLabelAlterID = l.lngAMAssetLabelLastAlterID"
                 " And c.lngAMAssetID = l.lngAMAssetID"
                 " Order By l.lngAMAssetLabelID, c.lngAMAssetAlterID, c.intYear, c.bytPeriod) x",
                 errorText);
    copied = copied && UpgradeSteps::LinkLabelVersions(errorText);
    return copied && CopyUnchanged("AMAssetLabelCustom", errorText);
}

bool EarlierReleaseAssetCopy::CopyUnchanged(const std::string& tables, std::string& errorText) {
    announce_(tables);
    return CopyTable(tables, "", errorText);
}

}  // namespace tk::am
