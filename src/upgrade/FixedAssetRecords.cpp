// The item behind each upgraded card: its description on the other card, its label, its custom
// values, its auxiliary equipment, pictures and documents, in statements over the whole set.
#include "upgrade/FixedAssetRecords.hpp"

#include "frame/Context.hpp"
#include "frame/Dictionary.hpp"
#include "upgrade/SharedColumns.hpp"
#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {
namespace {

const char* const kCards = "升级固定资产卡片和变动数据！";
const char* const kLabels = "HrpUpdateAMAssetLabelStatus:";

// ", a, b" after a fixed list, or nothing when no column is shared.
std::string Tail(const std::string& columns) { return columns.empty() ? "" : ", " + columns; }

// The rows joined to the old Asset row ("o") behind the card version they name.
std::string OldAssetOf(const std::string& rows, const std::string& version) {
    return " From " + rows +
           ", [NewUser]FixAlterID_Temp m, [OldUser]FixedCard fc, [OldUser]Asset o"
           " Where m.lngAMAssetAlterID = " +
           version + " And fc.lngFixedCardID = m.lngFixedCardID And o.lngAssetID = fc.lngAssetID";
}

// The new asset of an old card, for the records kept per card.
const char* const kAssetOfCard =
    " (Select Max(m.lngAMAssetID) From [NewUser]FixAlterID_Temp m Where m.lngFixedCardID = ";
const char* const kUpgradedCard =
    " Exists (Select 1 From [NewUser]FixAlterID_Temp m Where m.lngFixedCardID = ";

}  // namespace

// The description columns the old Asset shares with the other card are
// carried as they are and the memo becomes the notes; a card without an
// Asset row gets a blank description.
bool FixedAssetRecords::WriteOtherCards(std::string& strErrMsg) {
    return UpgradeSteps::Trapped(kCards, "ErpUpdateAMAssetCard:", strErrMsg,
                                 [&] { return OtherCards(strErrMsg); });
}

bool FixedAssetRecords::OtherCards(std::string& strErrMsg) {
    const std::string& oldUser = context().OldUser;
    const SharedColumns described(oldUser, "Asset", "AMAssetOtherAlter",
                                  {"lngAMAssetID", "lngDepartmentID", "strNotes", "intYear",
                                   "bytPeriod", "bytAlterType", "strDate"});
    const SharedColumns head(
        context().NewUser, "AMAssetOtherAlter", "AMAssetOther",
        {"lngAMAssetID", "lngAMAssetOtherInitAlterID", "lngAMAssetOtherLastAlterID"}, "v");
    const std::string notes = ColumnExists("Asset", "strMemo", oldUser) ? "o.strMemo" : "' '";
    const std::string versions =
        " Insert Into [NewUser]AMAssetOtherAlter (lngAMAssetOtherAlterID, lngAMAssetID,"
        " lngAMAssetAlterID, lngAMAssetOtherRecentAlterID, intYear, bytPeriod, bytAlterType,"
        " strDate, lngDepartmentID, strNotes";
    const std::string ofVersion =
        " Select c.lngAMAssetAlterID, c.lngAMAssetID, c.lngAMAssetAlterID,"
        " c.lngAMAssetRecentAlterID, c.intYear, c.bytPeriod, c.bytAlterType, c.strDate,"
        " c.lngDepartmentID, ";
    return UpgradeSteps::RunAll(
        {versions + Tail(described.plain) + ")" + ofVersion + notes + Tail(described.prefixed) +
             OldAssetOf("[NewUser]AMAssetAlter c", "c.lngAMAssetAlterID"),
         versions + ")" + ofVersion +
             "' ' From [NewUser]AMAssetAlter c Where Not Exists(Select 1 From"
             " [NewUser]AMAssetOtherAlter v Where v.lngAMAssetOtherAlterID = c.lngAMAssetAlterID)",
         UpgradeSteps::StyleModelFill("AMAssetOtherAlter"),
         " Insert Into [NewUser]AMAssetOther (lngAMAssetID, lngAMAssetOtherInitAlterID,"
         " lngAMAssetOtherLastAlterID" +
             Tail(head.plain) +
             ") Select n.lngAMAssetID, n.lngAMAssetInitAlterID, n.lngAMAssetLastAlterID" +
             Tail(head.prefixed) +
             " From [NewUser]AMAsset n, [NewUser]AMAssetOtherAlter v"
             " Where v.lngAMAssetOtherAlterID = n.lngAMAssetInitAlterID"},
        kCards, "ErpUpdateAMAssetCard:", strErrMsg);
}

// A label is where the item is and who holds it at each card version: its
// place follows the other card's location, its department the card's.
bool FixedAssetRecords::WriteLabels(std::string& strErrMsg) {
    return UpgradeSteps::Trapped(kCards, kLabels, strErrMsg, [&] {
        return !ColumnExists("Asset", "strLabelNo", context().OldUser) || Labels(strErrMsg);
    });
}

bool FixedAssetRecords::Labels(std::string& strErrMsg) {
    const char* const label = kLabels;
    bool written = UpgradeSteps::RunAll(
        {" Insert Into [NewUser]AMAssetLabel (lngOrderNo, lngAMAssetID, lngAMAssetLabelID,"
         " strAMAssetLabelNo, lngOrganizationID) Select 0, n.lngAMAssetID,"
         " [NewUser]AMAssetLabel_SEQ.NextVal, Trim(o.strLabelNo), n.lngOrganizationID" +
             OldAssetOf("[NewUser]AMAsset n", "n.lngAMAssetInitAlterID") +
             " And Trim(o.strLabelNo) Is Not Null",
         " Insert Into [NewUser]AMAssetLabelAlter (lngAMAssetLabelAlterID, lngAMAssetID,"
         " lngAMAssetLabelID, lngAMAssetAlterID, strAMAssetLabelNo, lngReceiptTypeID, intYear,"
         " bytPeriod, strDate, strReceiptNo, lngReceiptNo, bytAlterType, lngAMAssetStateID,"
         " lngLocationID, lngEmployeeID, lngOperatorID, strGuaranteeEndDate, strNotes,"
         " lngOrganizationID, lngDepartmentID) Select [NewUser]AMAssetLabelAlter_SEQ.NextVal, x.*"
         " From (Select l.lngAMAssetID, l.lngAMAssetLabelID, c.lngAMAssetAlterID,"
         " l.strAMAssetLabelNo, c.lngReceiptTypeID, c.intYear, c.bytPeriod, c.strDate,"
         " c.strReceiptNO, c.lngReceiptNO, c.bytAlterType, 0 As lngAMAssetStateID,"
         " v.lngLocationID, 0 As lngEmployeeID, c.lngOperatorID, ' ' As strGuaranteeEndDate,"
         " ' ' As strNotes, l.lngOrganizationID, c.lngDepartmentID"
         " From [NewUser]AMAssetLabel l, [NewUser]AMAssetAlter c, [NewUser]AMAssetOtherAlter v"
         " Where c.lngAMAssetID = l.lngAMAssetID And v.lngAMAssetOtherAlterID = c.lngAMAssetAlterID"
         " Order By l.lngAMAssetLabelID, c.lngAMAssetAlterID) x",
         " Insert Into [NewUser]AMAssetLabelCustom (lngAMAssetLabelID)"
         " Select l.lngAMAssetLabelID From [NewUser]AMAssetLabel l"},
        kCards, label, strErrMsg);
    std::string errorText;
    if (written && !UpgradeSteps::LinkLabelVersions(errorText))
        return UpgradeSteps::Failed(kCards, label, errorText, strErrMsg);
    return written && UpgradeSteps::RunAll({" Update [NewUser]AMAssetLabel l Set lngOrderNo ="
                                            " (Select Count(*) From [NewUser]AMAssetLabel x"
                                            " Where x.lngAMAssetID = l.lngAMAssetID"
                                            " And x.lngAMAssetLabelID <= l.lngAMAssetLabelID)"},
                                           "更新资产标签序号出错！", label, strErrMsg);
}

bool FixedAssetRecords::WriteCustomValues(std::string& strErrMsg) {
    const char* const label = "ErpSaveAMAssetCustom:";
    return UpgradeSteps::Trapped(kCards, label, strErrMsg, [&] {
        const SharedColumns values(context().OldUser, "Asset", "AMAssetCustom", {"lngAMAssetID"});
        return UpgradeSteps::RunAll(
            {" Insert Into [NewUser]AMAssetCustom (lngAMAssetID" + Tail(values.plain) +
                 ") Select n.lngAMAssetID" + Tail(values.prefixed) +
                 OldAssetOf("[NewUser]AMAsset n", "n.lngAMAssetInitAlterID"),
             " Insert Into [NewUser]AMAssetCustom (lngAMAssetID) Select n.lngAMAssetID"
             " From [NewUser]AMAsset n Where Not Exists(Select 1 From [NewUser]AMAssetCustom x"
             " Where x.lngAMAssetID = n.lngAMAssetID)"},
            kCards, label, strErrMsg);
    });
}

bool FixedAssetRecords::CopyAuxiliaryEquipment(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {std::string(" Insert Into [NewUser]AMAssetAux (lngAMAssetID, lngAMAssetAuxID,"
                     " strAMAssetAuxCode, strAMAssetAuxName, strAuxStyle, dblQuantity, dblAmount)"
                     " Select") +
         kAssetOfCard +
         "x.lngFixedCardID), [NewUser]AMAssetAux_Seq.NextVal, x.strAuxName, x.strAuxName,"
         " x.strAuxModel, x.dblQuantity, x.dblAmount From [OldUser]FixedAux x Where" +
         kUpgradedCard + "x.lngFixedCardID)"},
        kCards, "ErpSaveAMAssetAux:", strErrMsg);
}

bool FixedAssetRecords::CopyPictures(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {std::string(" Insert Into [NewUser]AMAssetImage (lngAMAssetImageID, lngAMAssetID,"
                     " strImageName, strExtension, blbImage, lngOrderNo) Select"
                     " [NewUser]AMAssetImage_Seq.NextVal,") +
         kAssetOfCard +
         "c.lngFixedCardID), o.strOleName, Substr(o.strOleName, Instr(o.strOleName, '.', -1) +"
         " 1), o.blbOleData, 1 From [OldUser]OLEStore o, [OldUser]FixedCard c"
         " Where o.bytOleType = 1 And o.bytOwnerType = 1 And o.lngReceiptTypeID = 170"
         " And o.lngOwnerID = c.lngAssetID And" +
         kUpgradedCard + "c.lngFixedCardID)"},
        kCards, "ErpSaveAMAssetImage:", strErrMsg);
}

bool FixedAssetRecords::CopyDocuments(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {std::string(" Insert Into [NewUser]AMAssetDocument (lngAMAssetDocumentID, lngAMAssetID,"
                     " strDocumentName, strDocumentAddress, strExtension, lngOrderNo) Select"
                     " [NewUser]AMAssetDocument_Seq.NextVal,") +
         kAssetOfCard +
         "c.lngFixedCardID), d.strDocumentName, d.strDocumentAddress,"
         " Substr(d.strDocumentAddress, Instr(d.strDocumentAddress, '.', -1) + 1), 1"
         " From [OldUser]AssetDocument d, [OldUser]FixedCard c Where d.lngAssetID = c.lngAssetID"
         " And" +
         kUpgradedCard + "c.lngFixedCardID)"},
        kCards, "ErpSaveAMAssetDoc:", strErrMsg);
}

}  // namespace tk::am
