#include "funds/clsAMAssetFund.hpp"

#include "frame/ClassRegistry.hpp"
#include "frame/Utility.hpp"
#include "funds/SqlValues.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetFund;

const char* const kVersionKey = "lngAMAssetFundAlterID";

// The version table's columns in the order its insert names them.
const std::vector<std::string> kVersionColumns = {
    "lngAMAssetFundAlterID", "lngAMAssetID", "lngAMFundID", "lngReceiptTypeID", "intYear",
    "bytPeriod", "strDate", "strReceiptNO", "lngReceiptNO", "dblAmount", "dblDepreciation",
    "dblNetworth", "dblDecAmount", "dblAmountAlter", "dblDepreciationAlter", "dblNetworthAlter",
    "dblDecAmountAlter", "dblTransferAmountAlter", "dblTransferDepreciationAlter",
    "dblTransferDecAmountAlter", "bytAlterType", "blnIsVoid", "blnIsInit", "lngOperatorID",
    "lngVoucherID", "lngAssetAccountID", "lngDepreciationAccountID", "lngDecAccountID",
    "lngOutAccountID", "lngPayAccountID", "lngFixUpAccountID", "lngSpecialAccountID",
    "lngAddToAccountID", "lngAMAssetAlterID", "lngAMAssetFundRecentAlterID",
    "lngAMAssetFundRelativeAlterID", "strDepartmentStr", "strAccountStr", "strRelativeAccountStr",
    "strCurrencyStr", "bytStatus", "strNotes", "lngOrganizationID"};

const char* const kHeadBack =
    " Update [User]AMAssetFund Set lngAMAssetFundLastAlterID = (Select "
    "AMAssetFundAlter.lngAMAssetFundRecentAlterID From [User]AMAssetFundAlter Where "
    "AMAssetFundAlter.lngAMAssetFundAlterID = {0} And AMAssetFundAlter.lngAMAssetid = "
    "AMAssetFund.lngAMAssetID And AMAssetFundAlter.lngAMFundID = AMAssetFund.lngAMfundID) Where "
    "Exists (Select 1 From [User]AMAssetFundAlter Where AMAssetFundAlter.lngAMAssetFundAlterID = "
    "{0} And AMAssetFundAlter.lngAMAssetid = AMAssetFund.lngAMAssetID And "
    "AMAssetFund.lngAMFundID = AMAssetFundAlter.lngAMfundID)";

// Heads whose first version is gone: of one asset (a text that names its
// tables without schema) or of every asset.
const char* const kAssetOrphanHeads =
    " Delete AMAssetFund af Where Not Exists( Select 1 From AMAssetFundAlter aa Where "
    "aa.lngAMAssetFundAlterID = af.lngAMAssetFundInitAlterID) And af.lngAMAssetID = ";
const char* const kAllOrphanHeads =
    " Delete From [User]AMAssetFund Where Not Exists( Select 1 From [User]AMAssetFundAlter Where "
    "lngAMAssetFundAlterID = AMAssetFund.lngAMAssetFundInitAlterID) ";

const char* const kJoinByHead =
    " Select * From [User]AMAssetFund, [User]AMAssetFundAlter Where AMAssetFund.{0} = "
    "AMAssetFundAlter.lngAMAssetFundAlterID And AMAssetFund.lngAMAssetID = {1} And "
    "AMAssetFund.lngAMFundID = {2}";
const char* const kJoinByVersion =
    " Select * From [User]AMAssetFund, [User]AMAssetFundAlter Where AMAssetFund.lngAMAssetID = "
    "AMAssetFundAlter.lngAMAssetID And AMAssetFund.lngAMAssetID = {0} And "
    "AMAssetFundAlter.lngAMAssetFundAlterID = {1}";

// A version read by its id is joined with every head of its asset; the row
// whose head is the version's own funding source is the one that belongs to it.
void MoveToOwnHead(connect::Recordset& rs) {
    std::vector<int> fundColumns;
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (lowerAscii(rs.fieldName(i)) == "lngamfundid") fundColumns.push_back(i);
    if (fundColumns.size() < 2) return;
    while (!rs.eof() && rs.field(fundColumns.front()) != rs.field(fundColumns.back()))
        rs.moveNext();
    if (rs.eof()) rs.moveFirst();
}

}  // namespace

const FieldLayout<Self>& clsAMAssetFund::layout() {
    using enum UpdateForm;
    static const FieldLayout<Self> instance(
        "AMAssetFundAlter", kVersionKey,
        {
            {"lngAMAssetID", &Self::lngAMAssetID, Unchanged},
            {"lngAMAssetAlterID", &Self::lngAMAssetAlterID, Unchanged},
            {"lngAMFundID", &Self::lngAMFundID},
            {"lngAMAssetFundInitAlterID", &Self::lngAMAssetFundInitAlterID},
            {"lngAMAssetFundLastAlterID", &Self::lngAMAssetFundLastAlterID},
            {"lngAMAssetFundAlterID", &Self::lngAMAssetFundAlterID},
            {"lngReceiptTypeID", &Self::lngReceiptTypeID},
            {"intYear", &Self::intYear},
            {"bytPeriod", &Self::bytPeriod},
            {"strDate", &Self::strDate},
            {"strReceiptNO", &Self::strReceiptNo},
            {"lngReceiptNO", &Self::lngReceiptNo},
            {"dblAmount", &Self::dblAmount},
            {"dblDepreciation", &Self::dblDepreciation},
            {"dblNetworth", &Self::dblNetworth},
            {"dblDecAmount", &Self::dblDecAmount},
            {"dblAmountAlter", &Self::dblAmountAlter},
            {"dblDepreciationAlter", &Self::dblDepreciationAlter},
            {"dblNetworthAlter", &Self::dblNetworthAlter},
            {"dblDecAmountAlter", &Self::dblDecAmountAlter},
            {"dblTransferAmountAlter", &Self::dblTransferAmountAlter},
            {"dblTransferDepreciationAlter", &Self::dblTransferDepreciationAlter},
            {"dblTransferDecAmountAlter", &Self::dblTransferDecAmountAlter},
            {"bytAlterType", &Self::bytAlterType},
            {"blnIsVoid", &Self::blnIsVoid},
            {"blnIsInit", &Self::blnIsInit},
            {"lngOperatorID", &Self::lngOperatorID},
            {"lngVoucherID", &Self::lngVoucherID},
            {"lngAssetAccountID", &Self::lngAssetAccountID},
            {"lngDepreciationAccountID", &Self::lngDepreciationAccountID},
            {"lngDecAccountID", &Self::lngDecAccountID},
            {"lngOutAccountID", &Self::lngOutAccountID},
            {"lngPayAccountID", &Self::lngPayAccountID},
            {"lngFixUpAccountID", &Self::lngFixUpAccountID},
            {"lngSpecialAccountID", &Self::lngSpecialAccountID},
            {"lngAddToAccountID", &Self::lngAddToAccountID},
            {"lngAMAssetFundRecentAlterID", &Self::lngAMAssetFundRecentAlterID},
            {"lngAMAssetFundRelativeAlterID", &Self::lngAMAssetFundRelativeAlterID},
            {"strDepartmentStr", &Self::strDepartmentStr},
            {"strAccountStr", &Self::strAccountStr},
            {"strRelativeAccountStr", &Self::strRelativeAccountStr},
            {"strCurrencyStr", &Self::strCurrencyStr},
            {"bytStatus", &Self::bytStatus, Compact},
            {"strNotes", &Self::strNotes},
            {"lngOrganizationID", &Self::lngOrganizationID, Unchanged},
        },
        kVersionColumns);
    return instance;
}

void clsAMAssetFund::describe(DispatchTable<Self>& t) {
    t.method("Mode", [](Self& self, Dispatchable::Args&) { return Variant(static_cast<int32_t>(self.Mode)); });
    t.setter("Mode", [](Self& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
    layout().describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32(), requiredArg(args, 1).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetFund::LoadID(int32_t assetID, int32_t lngID) {
    RecordsetPtr rs = OpenRecordset(loadSql(assetID, lngID), 3, 1);
    MoveToOwnHead(*rs);
    layout().read(*this, *rs);
    CloseRecordset(rs);
}

std::string clsAMAssetFund::loadSql(int32_t assetID, int32_t id) const {
    const std::string asset = std::to_string(assetID), wanted = std::to_string(id);
    switch (Mode) {
        case atAdd:
            return FormatTemplate(kJoinByHead, {"lngAMAssetFundInitAlterID", asset, wanted});
        case atDec:
        case atOther:
            return FormatTemplate(kJoinByHead, {"lngAMAssetFundLastAlterID", asset, wanted});
        default:
            return FormatTemplate(kJoinByVersion, {asset, wanted});
    }
}

int32_t clsAMAssetFund::SaveCard() {
    try {
        if (lngAMAssetID <= 0) return 0;
        if (lngAMFundID >= 1 && lngAMAssetFundAlterID == 0) return addVersion();
        if (lngAMFundID >= 0 && lngAMAssetFundAlterID >= 0) return changeVersion();
        return deleteVersion();
    } catch (...) {
        return 0;
    }
}

std::string clsAMAssetFund::headKey() const {
    return " Where lngAMAssetID = " + std::to_string(lngAMAssetID) +
           " And lngAMFundID = " + std::to_string(lngAMFundID);
}

bool clsAMAssetFund::headExists() const {
    RecordsetPtr rs = OpenRecordset(" Select 1 From [User]AMAssetFund" + headKey(), 3, 1);
    const bool exists = !rs->eof();
    CloseRecordset(rs);
    return exists;
}

int32_t clsAMAssetFund::addVersion() {
    const bool hasHead = headExists();
    lngAMAssetFundAlterID = GetNewID("AMAssetFundAlter", "");
    const std::string version = std::to_string(lngAMAssetFundAlterID);
    std::string headSql;
    if (hasHead) {
        headSql = " Update [User]AMAssetFund Set lngAMAssetFundLastAlterID = " + version + headKey();
    } else {
        lngAMAssetFundInitAlterID = lngAMAssetFundLastAlterID = lngAMAssetFundAlterID;
        lngAMAssetFundRecentAlterID = 0;
        headSql =
            " Insert Into [User]AMAssetFund(lngAMAssetID,lngAMFundID,lngAMAssetFundInitAlterID,"
            "lngAMAssetFundLastAlterID) Values(" +
            std::to_string(lngAMAssetID) + "," + std::to_string(lngAMFundID) + "," + version +
            "," + version + ")";
    }
    return ExecuteEach({layout().insertSql(*this), headSql}) ? AbsoluteId(lngAMAssetFundAlterID)
                                                              : 0;
}

int32_t clsAMAssetFund::changeVersion() {
    if (lngAMFundID < 1 || lngAMAssetFundAlterID < 1) return 0;
    return ExecuteEach({layout().updateSql(*this)}) ? lngAMAssetFundAlterID : 0;
}

int32_t clsAMAssetFund::deleteVersion() {
    const int32_t version = AbsoluteId(lngAMAssetFundAlterID);
    const std::string versionDelete = layout().deleteSql(kVersionKey, version);
    const std::string headBack = FormatTemplate(kHeadBack, {std::to_string(version)});
    std::vector<std::string> statements;
    switch (Mode) {
        case atAdd:
            statements = {versionDelete,
                          " Delete From [User]AMAssetFund Where lngAMAssetFundInitAlterID = " +
                              std::to_string(version)};
            break;
        case atDec:
            statements = {headBack, versionDelete,
                          kAssetOrphanHeads + std::to_string(lngAMAssetID)};
            break;
        case atOther:
            statements = {headBack, versionDelete, kAllOrphanHeads};
            break;
        default:
            return 0;
    }
    return ExecuteEach(statements) ? version : 0;
}

}  // namespace tk::am

using tk::am::clsAMAssetFund;
TKAM_REGISTER_CLASS(clsAMAssetFund)
