// The asset card's load and save: the version and the head inserted, updated or deleted
// as Mode and the ids ask, and new cards added in one statement per table.
#include "register/clsAMAssetCard.hpp"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"
#include "frame/InputRefusal.hpp"
#include "frame/RowRefusal.hpp"
#include "frame/RowSet.hpp"
#include "register/SaveOrZero.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetCard;
using Columns = RecordFields<Self>::Columns;

const VersionedRecord kChain({.headTable = "AMAsset",
                              .versionTable = "AMAssetAlter",
                              .versionKey = "lngAMAssetAlterID",
                              .latestPointer = "lngAMAssetLastAlterID",
                              .previousPointer = "lngAMAssetRecentAlterID",
                              .headLink = "AMAssetAlter.lngAMAssetID = AMAsset.lngAMAssetID"});

// A head row as it is inserted. The blanks before two of the names are part of
// the statement text.
constexpr std::string_view kHeadColumns[] = {"lngAMAssetID",
                                             "strAMAssetNationalCode",
                                             "strAMAssetCardCode",
                                             "strAMAssetCode",
                                             "strAMAssetName",
                                             "strCreateDate",
                                             "strStartDate",
                                             "dblStartUsage",
                                             "dblStartWork",
                                             " lngAMAssetTypeID",
                                             "lngAMAssetNationalTypeID",
                                             "lngAMAssetMethodID",
                                             "lngDepartmentID",
                                             "lngCustomerID",
                                             "lngRefReceiptTypeID",
                                             "lngRefActivityDetailID",
                                             " lngAMAssetInitAlterID",
                                             "lngAMAssetLastAlterID",
                                             "lngOrganizationID",
                                             "lngCardTemplateID",
                                             "strInvoiceNumber",
                                             "strCreateVoucher",
                                             "strRefReceiptNO",
                                             "lngRefActivityVoucherID",
                                             "blnIsAddDep",
                                             "lngAMManagerTypeID"};

// A version row as it is inserted.
constexpr std::string_view kVersionColumns[] = {"lngAMAssetAlterID",
                                                "lngAMAssetID",
                                                "lngTemplateID",
                                                "lngReceiptTypeID",
                                                "intYear",
                                                "bytPeriod",
                                                "strDate",
                                                "strReceiptNO",
                                                "lngReceiptNO",
                                                "strAMAssetNationalCode",
                                                "strAMAssetCardCode",
                                                "strAMAssetCode",
                                                "strAMAssetName",
                                                "lngAMAssetTypeID",
                                                "lngAMAssetNationalTypeID",
                                                "lngAMAssetMethodID",
                                                "lngDepartmentID",
                                                "lngCustomerID",
                                                "lngClassID1",
                                                "lngClassID2",
                                                "lngUnitID",
                                                "dblQuantity",
                                                "dblQuantityAlter",
                                                "bytAlterType",
                                                "bytAssetState",
                                                "bytDepreciationMethod",
                                                "bytDepreciationFactor",
                                                "bytAccumulationFactor",
                                                "blnIsDepreciationAll",
                                                "strWorkUnit",
                                                "strDepartmentStr",
                                                "strAccountStr",
                                                "strRelativeAccountStr",
                                                "strCurrencyStr",
                                                "blnIsPrint",
                                                "blnIsPrinted",
                                                "blnIsVoid",
                                                "blnIsVoucher",
                                                "blnIsInit",
                                                "blnBaseAlter",
                                                "blnFinanceAlter",
                                                "blnLabelAlter",
                                                "blnOtherAlter",
                                                "blnAuxAlter",
                                                "blnPicAlter",
                                                "blnDocAlter",
                                                "lngVoucherID",
                                                "lngOperatorID",
                                                "lngCheckerID",
                                                "bytStatus",
                                                "strErrorMsg",
                                                "strNotes",
                                                "strDescription",
                                                "lngAMAssetRecentAlterID",
                                                "lngOrganizationID",
                                                "dblAmount",
                                                "dblDepreciation",
                                                "dblNetworth",
                                                "dblDecAmount",
                                                "dblUseage",
                                                "dblAmountAlter",
                                                "dblDepreciationAlter",
                                                "dblNetworthAlter",
                                                "dblDecAmountAlter",
                                                "dblUsageAlter",
                                                "lngAMManagerTypeID"};

// A changed version keeps its asset, predecessor and organisation.
const std::vector<std::string_view>& VersionChangeColumns() {
    static const std::vector<std::string_view> columns = [] {
        constexpr std::string_view kKept[] = {"lngAMAssetAlterID", "lngAMAssetID",
                                              "lngAMAssetRecentAlterID", "lngOrganizationID"};
        std::vector<std::string_view> out;
        for (std::string_view column : kVersionColumns)
            if (std::find(std::begin(kKept), std::end(kKept), column) == std::end(kKept))
                out.push_back(column);
        return out;
    }();
    return columns;
}

// The head columns an addition's new version carries over; the name and the
// dates stay as the head has them.
constexpr std::string_view kHeadOnNewAddition[] = {
    "strAMAssetNationalCode", "strAMAssetCardCode",       "strAMAssetCode",
    "lngRefReceiptTypeID",    "lngRefActivityDetailID",   "lngAMAssetLastAlterID",
    "lngAMAssetTypeID",       "lngAMAssetNationalTypeID", "lngAMManagerTypeID",
    "lngAMAssetMethodID",     "lngDepartmentID",          "lngCustomerID",
    "strInvoiceNumber",       "lngCardTemplateID",        "blnIsAddDep"};
constexpr std::string_view kLatestOnly[] = {"lngAMAssetLastAlterID"};
constexpr std::string_view kLatestAndInvoice[] = {"lngAMAssetLastAlterID", "strInvoiceNumber"};

// The head columns a changed addition rewrites; the latest pointer stays.
constexpr std::string_view kHeadOnChangedAddition[] = {"strCreateDate",
                                                       "strStartDate",
                                                       "strAMAssetNationalCode",
                                                       "strAMAssetCardCode",
                                                       " strAMAssetCode",
                                                       "strAMAssetName",
                                                       "dblStartUsage",
                                                       "dblStartWork",
                                                       "lngRefReceiptTypeID",
                                                       "lngRefActivityDetailID",
                                                       "lngCardTemplateID",
                                                       "lngAMAssetTypeID",
                                                       "lngAMAssetNationalTypeID",
                                                       "lngAMAssetMethodID",
                                                       "lngDepartmentID",
                                                       "lngAMManagerTypeID",
                                                       "lngCustomerID",
                                                       "strInvoiceNumber",
                                                       "strCreateVoucher",
                                                       "strRefReceiptNO",
                                                       "lngRefActivityVoucherID",
                                                       "blnIsAddDep"};
constexpr std::string_view kTemplateOnly[] = {"lngCardTemplateID"};
constexpr std::string_view kInvoiceOnly[] = {"strInvoiceNumber"};

std::optional<Columns> HeadColumnsOnNewVersion(AlterTypeEnum mode) {
    switch (mode) {
        case atAdd:
            return kHeadOnNewAddition;
        case atDec:
            return kLatestOnly;
        case atOther:
            return kLatestAndInvoice;
        default:
            return std::nullopt;
    }
}

std::optional<Columns> HeadColumnsOnChange(AlterTypeEnum mode) {
    switch (mode) {
        case atAdd:
            return kHeadOnChangedAddition;
        case atDec:
            return kTemplateOnly;
        case atOther:
            return kInvoiceOnly;
        default:
            return std::nullopt;
    }
}

std::string LoadQuery(AlterTypeEnum mode) {
    switch (VersionedRecord::VersionToLoad(mode)) {
        case VersionedRecord::Pick::FirstVersion:
            return " Select * From [User]AMAsset,[User]AMAssetAlter Where "
                   "AMAsset.lngAMAssetInitAlterID = AMAssetAlter.lngAMAssetAlterID And "
                   "AMAsset.lngAMAssetID = ";
        case VersionedRecord::Pick::LatestVersion:
            return " Select * From [User]AMAsset,[User]AMAssetAlter Where "
                   "AMAsset.lngAMAssetLastAlterID = AMAssetAlter.lngAMAssetAlterID And "
                   "AMAsset.lngAMAssetID = ";
        case VersionedRecord::Pick::GivenVersion:
            break;
    }
    return " Select * From [User]AMAsset,[User]AMAssetAlter Where AMAsset.lngAMAssetID = "
           "AMAssetAlter.lngAMAssetID And AMAssetAlter.lngAMAssetAlterID = ";
}

}  // namespace

// In the order LoadID reads them. Where head and version share a column the
// joined row yields the head's value.
const RecordFields<Self>& clsAMAssetCard::fields() {
    static const RecordFields<Self> table = {
        {"lngAMAssetID", &Self::lngAMAssetID},
        {"strCreateDate", &Self::strCreateDate},
        {"strStartDate", &Self::strStartDate},
        {"dblStartUsage", &Self::dblStartUsage},
        {"dblStartWork", &Self::dblStartWork},
        {"strInvoiceNumber", &Self::strInvoiceNumber},
        {"strCreateVoucher", &Self::strCreateVoucher},
        {"strRefReceiptNO", &Self::strRefReceiptNO},
        {"lngRefReceiptTypeID", &Self::lngRefReceiptTypeID},
        {"lngRefActivityDetailID", &Self::lngRefActivityDetailID},
        {"lngRefActivityVoucherID", &Self::lngRefActivityVoucherID},
        {"lngAMAssetAlterID", &Self::lngAMAssetAlterID},
        {"lngAMAssetInitAlterID", &Self::lngAMAssetInitAlterID},
        {"lngAMAssetLastAlterID", &Self::lngAMAssetLastAlterID},
        {"lngCardTemplateID", &Self::lngCardTemplateID},
        {"lngOrganizationID", &Self::lngOrganizationID},
        {"lngTemplateID", &Self::lngTemplateID},
        {"lngReceiptTypeID", &Self::lngReceiptTypeID},
        {"intYear", &Self::intYear},
        {"bytPeriod", &Self::bytPeriod},
        {"strDate", &Self::strDate},
        {"strReceiptNo", &Self::strReceiptNo},
        {"lngReceiptNo", &Self::lngReceiptNo},
        {"strAMAssetNationalCode", &Self::strAMAssetNationalCode},
        {"strAMAssetCardCode", &Self::strAMAssetCardCode},
        {"strAMAssetCode", &Self::strAMAssetCode},
        {"strAMAssetName", &Self::strAMAssetName},
        {"lngAMAssetTypeID", &Self::lngAMAssetTypeID},
        {"lngAMAssetNationalTypeID", &Self::lngAMAssetNationalTypeID},
        {"lngAMAssetMethodID", &Self::lngAMAssetMethodID},
        {"lngDepartmentID", &Self::lngDepartmentID},
        {"lngAMManagerTypeID", &Self::lngAMManagerTypeID},
        {"lngCustomerID", &Self::lngCustomerID},
        {"lngClassID1", &Self::lngClassID1},
        {"lngClassID2", &Self::lngClassID2},
        {"lngUnitID", &Self::lngUnitID},
        {"dblQuantity", &Self::dblQuantity},
        {"dblQuantityAlter", &Self::dblQuantityAlter},
        {"bytAlterType", &Self::bytAlterType},
        {"bytAssetState", &Self::bytAssetState},
        {"bytDepreciationMethod", &Self::bytDepreciationMethod},
        {"bytDepreciationFactor", &Self::bytDepreciationFactor},
        {"bytAccumulationFactor", &Self::bytAccumulationFactor},
        {"blnIsDepreciationAll", &Self::blnIsDepreciationAll},
        {"strWorkUnit", &Self::strWorkUnit},
        {"strDepartmentStr", &Self::strDepartmentStr},
        {"strAccountStr", &Self::strAccountStr},
        {"strRelativeAccountStr", &Self::strRelativeAccountStr},
        {"dblAmount", &Self::dblAmount},
        {"dblDepreciation", &Self::dblDepreciation},
        {"dblNetworth", &Self::dblNetworth},
        {"dblDecAmount", &Self::dblDecAmount},
        {"dblUseage", &Self::dblUseage},
        {"dblAmountAlter", &Self::dblAmountAlter},
        {"dblDepreciationAlter", &Self::dblDepreciationAlter},
        {"dblNetworthAlter", &Self::dblNetworthAlter},
        {"dblDecAmountAlter", &Self::dblDecAmountAlter},
        {"dblUsageAlter", &Self::dblUsageAlter},
        {"strCurrencyStr", &Self::strCurrencyStr},
        {"blnIsPrint", &Self::blnIsPrint},
        {"blnIsPrinted", &Self::blnIsPrinted},
        {"blnIsVoid", &Self::blnIsVoid},
        {"blnIsVoucher", &Self::blnIsVoucher},
        {"blnIsInit", &Self::blnIsInit},
        {"blnBaseAlter", &Self::blnBaseAlter},
        {"blnFinanceAlter", &Self::blnFinanceAlter},
        {"blnLabelAlter", &Self::blnLabelAlter},
        {"blnAuxAlter", &Self::blnAuxAlter},
        {"blnPicAlter", &Self::blnPicAlter},
        {"blnDocAlter", &Self::blnDocAlter},
        {"blnOtherAlter", &Self::blnOtherAlter},
        {"lngVoucherID", &Self::lngVoucherID},
        {"lngOperatorID", &Self::lngOperatorID},
        {"lngCheckerID", &Self::lngCheckerID},
        {"bytStatus", &Self::bytStatus},
        {"strErrorMsg", &Self::strErrorMsg},
        {"strNotes", &Self::strNotes},
        {"strDescription", &Self::strDescription},
        {"lngAMAssetRecentAlterID", &Self::lngAMAssetRecentAlterID},
        {"blnIsAddDep", &Self::blnIsAddDep},
    };
    return table;
}

void clsAMAssetCard::describe(DispatchTable<Self>& t) {
    fields().describe(t);
    t.method("Mode", [](Self& self, Dispatchable::Args&) { return Variant(int32_t{self.Mode}); });
    t.setter("Mode", [](Self& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
    t.method("LoadID", [](Self& self, Dispatchable::Args& a) {
        self.LoadID(requiredArg(a, 0).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetCard::LoadID(int32_t lngID) {
    RecordsetPtr rs = OpenRecordset(LoadQuery(Mode) + std::to_string(lngID), 3, 1);
    if (IsRecordsetEmpty(rs))
        fields().blank(*this);
    else
        fields().load(*this, *rs);
    CloseRecordset(rs);
}

int32_t clsAMAssetCard::SaveCard() {
    return SaveOrZero([this] { return save(); });
}

int32_t clsAMAssetCard::save() {
    const int32_t assetID = lngAMAssetID, versionID = lngAMAssetAlterID;
    if (!write(assetID, versionID)) return 0;
    return assetID >= 0 && versionID < 0 ? std::abs(versionID) : std::abs(lngAMAssetID);
}

void clsAMAssetCard::AddAll(std::span<clsAMAssetCard> cards) {
    CheckEachRow(cards, [](const clsAMAssetCard& card) {
        fields().checkLimits(card, {"AMAsset", "AMAssetAlter"});
    });
    if (!cards.empty() && cards.front().Mode != atAdd)
        throw RowRefusal(0, InputRefusal("资产的第一个版本必须是新增"));
    const auto additions = std::ranges::count(cards, atAdd, &clsAMAssetCard::Mode);
    const std::vector<int32_t> assets = RowSet::newIDs("AMAsset", static_cast<size_t>(additions));
    const std::vector<int32_t> versions = RowSet::newIDs("AMAssetAlter", cards.size());
    RowSet heads(kHeadColumns), allVersions(kVersionColumns);
    // A head is written once its chain is complete: it then stands as the
    // later versions' saves would have left it.
    std::optional<clsAMAssetCard> head;
    auto nextAsset = assets.begin();
    for (size_t i = 0; i < cards.size(); ++i) {
        clsAMAssetCard& card = cards[i];
        if (card.Mode == atAdd) {
            if (head) heads.add(fields(), *head);
            card.lngAMAssetID = *nextAsset++;
            VersionedRecord::StartChain(versions[i], card.lngAMAssetAlterID,
                                        card.lngAMAssetInitAlterID, card.lngAMAssetLastAlterID,
                                        card.lngAMAssetRecentAlterID);
            head = card;
        } else {
            card.lngAMAssetID = head->lngAMAssetID;
            card.lngAMAssetAlterID = head->lngAMAssetLastAlterID = versions[i];
            card.lngAMAssetRecentAlterID = cards[i - 1].lngAMAssetAlterID;
            if (card.Mode == atOther) head->strInvoiceNumber = card.strInvoiceNumber;
        }
        allVersions.add(fields(), card);
    }
    if (head) heads.add(fields(), *head);
    heads.insertInto("AMAsset");
    allVersions.insertInto("AMAssetAlter");
}

bool clsAMAssetCard::write(int32_t assetID, int32_t versionID) {
    using Action = VersionedRecord::Action;
    // Unlike the records hung on it, a card without an asset id is never deleted.
    if (assetID == 0 && versionID != 0) return false;
    const auto action = VersionedRecord::ActionFor(assetID, versionID);
    if (action != Action::Delete) fields().checkLimits(*this, {"AMAsset", "AMAssetAlter"});
    switch (action) {
        case Action::AddHead:
            return addAsset();
        case Action::AddVersion:
            return addVersion();
        case Action::ChangeVersion:
            return changeVersion();
        case Action::Delete:
            return remove(assetID, versionID);
        case Action::Nothing:
            break;
    }
    return false;
}

bool clsAMAssetCard::addAsset() {
    lngAMAssetID = kChain.NewHeadID();
    VersionedRecord::StartChain(kChain.NewVersionID(), lngAMAssetAlterID, lngAMAssetInitAlterID,
                                lngAMAssetLastAlterID, lngAMAssetRecentAlterID);
    return VersionedRecord::Execute({headInsert(), versionInsert()});
}

// The head follows the new version as Mode says; the object's own latest
// pointer is left as it was.
bool clsAMAssetCard::addVersion() {
    lngAMAssetAlterID = kChain.NewVersionID();
    return writeVersionThenHead(versionInsert(), HeadColumnsOnNewVersion(Mode),
                                {{"lngAMAssetLastAlterID", std::to_string(lngAMAssetAlterID)}});
}

bool clsAMAssetCard::changeVersion() {
    return writeVersionThenHead(versionUpdate(), HeadColumnsOnChange(Mode), {});
}

// Without a Mode that names head columns the version is written all the same
// and the save fails.
bool clsAMAssetCard::writeVersionThenHead(const std::string& versionStatement,
                                          std::optional<Columns> headColumns,
                                          const Overrides& overrides) const {
    if (!VersionedRecord::Execute({versionStatement})) return false;
    return headColumns && VersionedRecord::Execute({headUpdate(*headColumns, overrides)});
}

bool clsAMAssetCard::remove(int32_t assetID, int32_t versionID) const {
    return kChain.Remove(Mode, "lngAMAssetID = " + std::to_string(std::abs(assetID)),
                         std::abs(versionID));
}

std::string clsAMAssetCard::headInsert() const {
    return " Insert Into [User]AMAsset(" + fields().names(kHeadColumns) + ") " + " Values(" +
           fields().values(*this, kHeadColumns) + ")";
}

std::string clsAMAssetCard::versionInsert() const {
    return " Insert Into [User]AMAssetAlter(" + fields().names(kVersionColumns) + ") Values(" +
           fields().values(*this, kVersionColumns) + ")";
}

std::string clsAMAssetCard::versionUpdate() const {
    return " Update [User]AMAssetAlter Set " + fields().assignments(*this, VersionChangeColumns()) +
           " Where lngAMAssetAlterID = " + std::to_string(lngAMAssetAlterID);
}

std::string clsAMAssetCard::headUpdate(Columns columns, const Overrides& overrides) const {
    return " Update [User]AMAsset Set " + fields().assignments(*this, columns, overrides) +
           " Where lngAMAssetID = " + std::to_string(lngAMAssetID);
}

}  // namespace tk::am

using tk::am::clsAMAssetCard;
TKAM_REGISTER_CLASS(clsAMAssetCard)
