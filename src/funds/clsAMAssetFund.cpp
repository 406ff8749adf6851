// A funding source's versions loaded, added, changed and deleted by Mode with the head
// kept in step, and new ones written in one statement per table.
#include "funds/clsAMAssetFund.hpp"

#include <optional>
#include <vector>

#include "frame/ClassRegistry.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/InputRefusal.hpp"
#include "frame/RowRefusal.hpp"
#include "frame/RowSet.hpp"
#include "funds/FundSql.hpp"
#include "register/SaveOrZero.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetFund;
using Columns = RecordFields<Self>::Columns;

const VersionedRecord kChain(
    {.headTable = "AMAssetFund",
     .versionTable = "AMAssetFundAlter",
     .versionKey = "lngAMAssetFundAlterID",
     .latestPointer = "lngAMAssetFundLastAlterID",
     .previousPointer = "lngAMAssetFundRecentAlterID",
     .headLink = "AMAssetFundAlter.lngAMAssetid = AMAssetFund.lngAMAssetID And "
                 "AMAssetFundAlter.lngAMFundID = AMAssetFund.lngAMfundID",
     .existsHeadLink = "AMAssetFundAlter.lngAMAssetid = AMAssetFund.lngAMAssetID And "
                       "AMAssetFund.lngAMFundID = AMAssetFundAlter.lngAMfundID"});

constexpr std::string_view kHeadColumns[] = {
    "lngAMAssetID", "lngAMFundID", "lngAMAssetFundInitAlterID", "lngAMAssetFundLastAlterID"};

// The version table's columns in the order its insert names them.
constexpr std::string_view kVersionColumns[] = {"lngAMAssetFundAlterID",
                                                "lngAMAssetID",
                                                "lngAMFundID",
                                                "lngReceiptTypeID",
                                                "intYear",
                                                "bytPeriod",
                                                "strDate",
                                                "strReceiptNO",
                                                "lngReceiptNO",
                                                "dblAmount",
                                                "dblDepreciation",
                                                "dblNetworth",
                                                "dblDecAmount",
                                                "dblAmountAlter",
                                                "dblDepreciationAlter",
                                                "dblNetworthAlter",
                                                "dblDecAmountAlter",
                                                "dblTransferAmountAlter",
                                                "dblTransferDepreciationAlter",
                                                "dblTransferDecAmountAlter",
                                                "bytAlterType",
                                                "blnIsVoid",
                                                "blnIsInit",
                                                "lngOperatorID",
                                                "lngVoucherID",
                                                "lngAssetAccountID",
                                                "lngDepreciationAccountID",
                                                "lngDecAccountID",
                                                "lngOutAccountID",
                                                "lngPayAccountID",
                                                "lngFixUpAccountID",
                                                "lngSpecialAccountID",
                                                "lngAddToAccountID",
                                                "lngAMAssetAlterID",
                                                "lngAMAssetFundRecentAlterID",
                                                "lngAMAssetFundRelativeAlterID",
                                                "strDepartmentStr",
                                                "strAccountStr",
                                                "strRelativeAccountStr",
                                                "strCurrencyStr",
                                                "bytStatus",
                                                "strNotes",
                                                "lngOrganizationID"};

// A change rewrites every column but the version's id, asset, asset version and
// organisation; its status is written "bytStatus=".
Columns ChangeColumns() {
    static const std::vector<std::string_view> columns = [] {
        std::vector<std::string_view> kept;
        for (std::string_view column : kVersionColumns)
            if (column != "lngAMAssetFundAlterID" && column != "lngAMAssetID" &&
                column != "lngAMAssetAlterID" && column != "lngOrganizationID")
                kept.push_back(column);
        return kept;
    }();
    return columns;
}

// Heads whose first version is gone: of one asset (a text that names its
// tables without schema) or of every asset.
const char* const kAssetOrphanHeads =
    " Delete AMAssetFund af Where Not Exists( Select 1 From AMAssetFundAlter aa Where "
    "aa.lngAMAssetFundAlterID = af.lngAMAssetFundInitAlterID) And af.lngAMAssetID = ";
const char* const kOrphanHeads =
    "Not Exists( Select 1 From [User]AMAssetFundAlter Where "
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

// In property order, the order LoadID reads them. Where head and version
// share a column the joined row yields the head's value.
const RecordFields<Self>& clsAMAssetFund::fields() {
    static const RecordFields<Self> fields = {
        {"lngAMAssetID", &Self::lngAMAssetID},
        {"lngAMAssetAlterID", &Self::lngAMAssetAlterID},
        {"lngAMFundID", &Self::lngAMFundID},
        {"lngAMAssetFundInitAlterID", &Self::lngAMAssetFundInitAlterID},
        {"lngAMAssetFundLastAlterID", &Self::lngAMAssetFundLastAlterID},
        {"lngAMAssetFundAlterID", &Self::lngAMAssetFundAlterID},
        {"lngReceiptTypeID", &Self::lngReceiptTypeID},
        {"intYear", &Self::intYear},
        {"bytPeriod", &Self::bytPeriod},
        {"strDate", &Self::strDate},
        {"strReceiptNo", &Self::strReceiptNo},
        {"lngReceiptNo", &Self::lngReceiptNo},
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
        {"bytStatus", &Self::bytStatus},
        {"strNotes", &Self::strNotes},
        {"lngOrganizationID", &Self::lngOrganizationID},
    };
    return fields;
}

void clsAMAssetFund::describe(DispatchTable<Self>& t) {
    t.method("Mode", [](Self& self, Dispatchable::Args&) {
        return Variant(static_cast<int32_t>(self.Mode));
    });
    t.setter("Mode", [](Self& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
    fields().describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32(), requiredArg(args, 1).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetFund::LoadID(int32_t assetID, int32_t lngID) {
    RecordsetPtr rs = OpenRecordset(loadSql(assetID, lngID), 3, 1);
    if (rs->eof()) {
        fields().blank(*this);
    } else {
        MoveToOwnHead(*rs);
        fields().load(*this, *rs);
    }
    CloseRecordset(rs);
}

std::string clsAMAssetFund::loadSql(int32_t assetID, int32_t id) const {
    const std::string asset = std::to_string(assetID), wanted = std::to_string(id);
    switch (VersionedRecord::VersionToLoad(Mode)) {
        case VersionedRecord::Pick::FirstVersion:
            return FormatTemplate(kJoinByHead, {"lngAMAssetFundInitAlterID", asset, wanted});
        case VersionedRecord::Pick::LatestVersion:
            return FormatTemplate(kJoinByHead, {"lngAMAssetFundLastAlterID", asset, wanted});
        case VersionedRecord::Pick::GivenVersion:
            break;
    }
    return FormatTemplate(kJoinByVersion, {asset, wanted});
}

int32_t clsAMAssetFund::SaveCard() {
    return SaveOrZero([this] { return save(); });
}

int32_t clsAMAssetFund::save() {
    if (lngAMAssetID <= 0) return 0;
    const int32_t versionID = lngAMAssetFundAlterID;
    bool written = false;
    const auto action = VersionedRecord::ActionFor(lngAMFundID, versionID);
    if (action != VersionedRecord::Action::Delete)
        fields().checkLimits(*this, {"AMAssetFund", "AMAssetFundAlter"});
    switch (action) {
        case VersionedRecord::Action::AddVersion:
            written = addVersion();
            break;
        case VersionedRecord::Action::ChangeVersion:
            written = changeVersion();
            break;
        case VersionedRecord::Action::Delete:
            written = deleteVersion(versionID);
            break;
        case VersionedRecord::Action::AddHead:  // a version needs its funding source
        case VersionedRecord::Action::Nothing:
            return 0;
    }
    return written ? AbsoluteId(lngAMAssetFundAlterID) : 0;
}

std::string clsAMAssetFund::headWhere() const {
    return "lngAMAssetID = " + std::to_string(lngAMAssetID) +
           " And lngAMFundID = " + std::to_string(lngAMFundID);
}

void clsAMAssetFund::AddAll(std::span<clsAMAssetFund> funds) {
    CheckEachRow(funds, [](const clsAMAssetFund& fund) {
        fields().checkLimits(fund, {"AMAssetFund", "AMAssetFundAlter"});
    });
    if (!funds.empty() && funds.front().Mode != atAdd)
        throw RowRefusal(0, InputRefusal("资金来源的第一个版本必须是新增"));
    const std::vector<int32_t> versions = RowSet::newIDs("AMAssetFundAlter", funds.size());
    RowSet allVersions(kVersionColumns), heads(kHeadColumns);
    // A head is written once its chain is complete, pointing at its latest version.
    std::optional<clsAMAssetFund> head;
    for (size_t i = 0; i < funds.size(); ++i) {
        clsAMAssetFund& fund = funds[i];
        if (fund.Mode == atAdd) {
            if (head) heads.add(fields(), *head);
            VersionedRecord::StartChain(
                versions[i], fund.lngAMAssetFundAlterID, fund.lngAMAssetFundInitAlterID,
                fund.lngAMAssetFundLastAlterID, fund.lngAMAssetFundRecentAlterID);
            head = fund;
        } else {
            fund.lngAMAssetFundAlterID = head->lngAMAssetFundLastAlterID = versions[i];
            fund.lngAMAssetFundRecentAlterID = funds[i - 1].lngAMAssetFundAlterID;
        }
        allVersions.add(fields(), fund);
    }
    if (head) heads.add(fields(), *head);
    allVersions.insertInto("AMAssetFundAlter");
    heads.insertInto("AMAssetFund");
}

// With a head, the version keeps the predecessor its caller set and the head's
// latest pointer moves to it; without one, both start here.
bool clsAMAssetFund::addVersion() {
    const bool hasHead =
        VersionedRecord::HeadExists(" Select 1 From [User]AMAssetFund Where " + headWhere());
    const int32_t versionID = kChain.NewVersionID();
    if (hasHead) {
        lngAMAssetFundAlterID = versionID;
        return VersionedRecord::Execute(
            {versionInsert(), kChain.PointLatestAt(versionID, headWhere())});
    }
    VersionedRecord::StartChain(versionID, lngAMAssetFundAlterID, lngAMAssetFundInitAlterID,
                                lngAMAssetFundLastAlterID, lngAMAssetFundRecentAlterID);
    return VersionedRecord::Execute(
        {versionInsert(), InsertStatement("AMAssetFund", fields(), *this, kHeadColumns)});
}

bool clsAMAssetFund::changeVersion() const {
    return VersionedRecord::Execute(
        {UpdateStatement("AMAssetFundAlter", fields(), *this, ChangeColumns(), "bytStatus",
                         "lngAMAssetFundAlterID", lngAMAssetFundAlterID)});
}

// atAdd removes the version and the head it starts; atDec and atOther step
// the head back first and then drop the heads left without a first version,
// atDec those of this asset, atOther those of every asset.
bool clsAMAssetFund::deleteVersion(int32_t versionID) const {
    const int32_t version = AbsoluteId(versionID);
    switch (VersionedRecord::RemovalFor(Mode)) {
        case VersionedRecord::Removal::WholeRecord:
            return VersionedRecord::Execute(
                {kChain.DeleteVersion(version),
                 kChain.DeleteHeads("lngAMAssetFundInitAlterID = " + std::to_string(version))});
        case VersionedRecord::Removal::NewestVersion:
            return VersionedRecord::Execute(
                {kChain.StepLatestBack(version), kChain.DeleteVersion(version),
                 Mode == atDec ? kAssetOrphanHeads + std::to_string(lngAMAssetID)
                               : kChain.DeleteHeads(kOrphanHeads)});
        case VersionedRecord::Removal::None:
            break;
    }
    return false;
}

std::string clsAMAssetFund::versionInsert() const {
    return InsertStatement("AMAssetFundAlter", fields(), *this, kVersionColumns);
}

}  // namespace tk::am

using tk::am::clsAMAssetFund;
TKAM_REGISTER_CLASS(clsAMAssetFund)
