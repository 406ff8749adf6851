// A label's load and save by Mode: head, version and custom row written together,
// the custom row overwritten by every later save.
#include "records/clsAMAssetLabel.hpp"

#include <cstdlib>

#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"
#include "frame/RecordFields.hpp"
#include "records/RecordSql.hpp"
#include "register/SaveOrZero.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetLabel;
using Field = RecordField<Self>;
using Action = VersionedRecord::Action;
using Removal = VersionedRecord::Removal;
using Pick = VersionedRecord::Pick;

// A label's head and versions are keyed by the label, not by the asset, and its
// step back names the link to the head before the version.
const VersionedRecord kChain(
    {.headTable = "AMAssetLabel",
     .versionTable = "AMAssetLabelAlter",
     .versionKey = "lngAMAssetLabelAlterID",
     .latestPointer = "lngAMAssetLabelLastAlterID",
     .previousPointer = "lngAMAssetLabelRecentAlterID",
     .headLink = "AMAssetLabelAlter.lngAMAssetLabelID = AMAssetLabel.lngAMAssetLabelID",
     .headLinkFirst = true});

const RecordFields<Self> kHeadFields{
    {"lngOrderNo", &Self::lngOrderNo},
    {"lngAMAssetID", &Self::lngAMAssetID},
    {"lngAMAssetLabelID", &Self::lngAMAssetLabelID},
    {"strAMAssetLabelNo", &Self::strAMAssetLabelNo},
    {"lngAMAssetLabelInitAlterID", &Self::lngAMAssetLabelInitAlterID},
    {"lngAMAssetLabelLastAlterID", &Self::lngAMAssetLabelLastAlterID},
    {"lngOrganizationID", &Self::lngOrganizationID},
};

// In the column order of the version insert; a change rewrites all but the
// version's keys, its place in the chain and its organisation.
const RecordFields<Self> kVersionFields{
    {"lngAMAssetID", &Self::lngAMAssetID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetLabelID", &Self::lngAMAssetLabelID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetLabelAlterID", &Self::lngAMAssetLabelAlterID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetAlterID", &Self::lngAMAssetAlterID, nullptr, Field::OnInsertOnly},
    {"strAMAssetLabelNo", &Self::strAMAssetLabelNo},
    {"lngReceiptTypeID", &Self::lngReceiptTypeID},
    {"intYear", &Self::intYear},
    {"bytPeriod", &Self::bytPeriod},
    {"strDate", &Self::strDate},
    {"strReceiptNo", &Self::strReceiptNo},
    {"lngReceiptNo", &Self::lngReceiptNo},
    {"bytAlterType", &Self::bytAlterType},
    {"lngAMAssetStateID", &Self::lngAMAssetStateID},
    {"lngLocationID", &Self::lngLocationID},
    {"lngEmployeeID", &Self::lngEmployeeID},
    {"lngOperatorID", &Self::lngOperatorID},
    {"strGuaranteeEndDate", &Self::strGuaranteeEndDate},
    {"strNotes", &Self::strNotes},
    {"lngAMAssetLabelRecentAlterID", &Self::lngAMAssetLabelRecentAlterID, nullptr,
     Field::OnInsertOnly},
    {"lngOrganizationID", &Self::lngOrganizationID, nullptr, Field::OnInsertOnly},
    {"lngDepartmentID", &Self::lngDepartmentID, " lngDepartmentID = "},
};

// The twenty custom values, after the label id in the custom row.
const RecordFields<Self> kCustomValues{
    {"dblQuantity1", &Self::dblQuantity1}, {"dblQuantity2", &Self::dblQuantity2},
    {"dblQuantity3", &Self::dblQuantity3}, {"dblQuantity4", &Self::dblQuantity4},
    {"dblQuantity5", &Self::dblQuantity5}, {"dblAmount1", &Self::dblAmount1},
    {"dblAmount2", &Self::dblAmount2},     {"dblAmount3", &Self::dblAmount3},
    {"dblAmount4", &Self::dblAmount4},     {"dblAmount5", &Self::dblAmount5},
    {"strText1", &Self::strText1},         {"strText2", &Self::strText2},
    {"strText3", &Self::strText3},         {"strText4", &Self::strText4},
    {"strText5", &Self::strText5},         {"strDate1", &Self::strDate1},
    {"strDate2", &Self::strDate2},         {"strDate3", &Self::strDate3},
    {"strDate4", &Self::strDate4},         {"strDate5", &Self::strDate5},
};

const RecordFields<Self>* const kAllFields[] = {&kHeadFields, &kVersionFields, &kCustomValues};

std::string LoadStatement(AlterTypeEnum mode, int32_t assetID, int32_t id) {
    const std::string joined = " Select * From [User]AMAssetLabel, [User]AMAssetLabelAlter Where ";
    const std::string ofAsset = " And AMAssetLabel.lngAMAssetID = " + std::to_string(assetID);
    switch (VersionedRecord::VersionToLoad(mode)) {
        case Pick::FirstVersion:
            return joined +
                   "AMAssetLabel.lngAMAssetLabelInitAlterID = "
                   "AMAssetLabelAlter.lngAMAssetLabelAlterID" +
                   ofAsset + " And AMAssetLabel.lngAMAssetLabelID = " + std::to_string(id);
        case Pick::LatestVersion:
            return joined +
                   "AMAssetLabel.lngAMAssetLabelLastAlterID = "
                   "AMAssetLabelAlter.lngAMAssetLabelAlterID" +
                   ofAsset + " And AMAssetLabel.lngAMAssetLabelID = " + std::to_string(id);
        case Pick::GivenVersion:
            break;
    }
    // The id is a label version's here, not a card alteration's.
    return joined + "AMAssetLabel.lngAMAssetLabelID = AMAssetLabelAlter.lngAMAssetLabelID" +
           ofAsset + " And AMAssetLabelAlter.lngAMAssetLabelAlterID = " + std::to_string(id);
}

std::string OfLabel(int32_t labelID) { return "lngAMAssetLabelID = " + std::to_string(labelID); }

bool DeleteLabel(int32_t labelID) {
    return VersionedRecord::Execute(
        {kChain.DeleteVersions(OfLabel(labelID)),
         " Delete From [User]AMAssetLabelCustom Where " + OfLabel(labelID),
         kChain.DeleteHeads(OfLabel(labelID))});
}

bool DeleteAllLabelsOf(int32_t assetID) {
    const std::string ofAsset =
        "(Select 1 From [User]AMAssetLabel Where lngAMAssetID = " + std::to_string(assetID);
    return VersionedRecord::Execute(
        {" Delete From [User]AMAssetLabelAlter Where Exists " + ofAsset +
             " And AMAssetLabel.lngAMAssetLabelID = AMAssetLabelAlter.lngAMAssetLabelID)",
         " Delete From [User]AMAssetLabelCustom Where Exists " + ofAsset +
             " And AMAssetLabel.lngAMAssetLabelID = AMAssetLabelCustom.lngAMAssetLabelID)",
         " Delete From [User]AMAssetLabel Where lngAMAssetID = " + std::to_string(assetID)});
}

// Heads, of any asset, whose first version is gone; their custom rows stay.
const char* const kDeleteOrphanHeads =
    " Delete From [User]AMAssetLabel Where Not Exists(Select 1 From [User]AMAssetLabelAlter Where "
    "AMAssetLabelAlter.lngAMAssetLabelAlterID = AMAssetLabel.lngAMAssetLabelInitAlterID)";

}  // namespace

void clsAMAssetLabel::describe(DispatchTable<Self>& t) {
    t.method("Mode", [](Self& self, Dispatchable::Args&) { return Variant(int32_t{self.Mode}); });
    t.setter("Mode", [](Self& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
    for (const RecordFields<Self>* fields : kAllFields) fields->describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32(), requiredArg(args, 1).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetLabel::LoadID(int32_t lngAMAssetID, int32_t lngID) {
    // Label id, number, asset and organisation are in both rows; the head's win.
    bool found = ReadFirstRow(LoadStatement(Mode, lngAMAssetID, lngID),
                              [this](const connect::Recordset& row) {
                                  kHeadFields.load(*this, row);
                                  kVersionFields.load(*this, row);
                              });
    if (!found) {
        for (const RecordFields<Self>* fields : kAllFields) fields->blank(*this);
        return;
    }
    bool hasCustom = ReadFirstRow(
        "Select * From [User]AMAssetLabelCustom Where AMAssetLabelCustom.lngAMAssetLabelID = " +
            std::to_string(lngAMAssetLabelID),
        [this](const connect::Recordset& row) { kCustomValues.load(*this, row); });
    if (!hasCustom) kCustomValues.blank(*this);
}

int32_t clsAMAssetLabel::SaveCard() {
    return SaveOrZero([this] { return writeLabel() ? resultID() : 0; });
}

bool clsAMAssetLabel::writeLabel() {
    Action action = lngAMAssetID < 0
                        ? Action::Delete
                        : VersionedRecord::ActionFor(lngAMAssetLabelID, lngAMAssetLabelAlterID);
    if (action == Action::Delete) return deleteByMode();
    if (lngAMAssetID == 0) return false;
    for (const RecordFields<Self>* fields : kAllFields)
        fields->checkLimits(*this, {"AMAssetLabel", "AMAssetLabelAlter", "AMAssetLabelCustom"});
    switch (action) {
        case Action::AddHead:
            return addLabel();
        case Action::AddVersion:
            return addVersion();
        case Action::ChangeVersion:
            return changeVersion();
        default:
            return false;
    }
}

// Deletions name what they removed: the asset, else the label, else the version.
int32_t clsAMAssetLabel::resultID() const {
    if (lngAMAssetID < 0) return -lngAMAssetID;
    if (lngAMAssetLabelID < 0) return -lngAMAssetLabelID;
    return std::abs(lngAMAssetLabelAlterID);
}

bool clsAMAssetLabel::addLabel() {
    lngAMAssetLabelID = kChain.NewHeadID();
    VersionedRecord::StartChain(kChain.NewVersionID(), lngAMAssetLabelAlterID,
                                lngAMAssetLabelInitAlterID, lngAMAssetLabelLastAlterID,
                                lngAMAssetLabelRecentAlterID);
    return VersionedRecord::Execute({insertHead(), insertVersion(), insertCustom()});
}

// The version it follows is the caller's to set in lngAMAssetLabelRecentAlterID.
bool clsAMAssetLabel::addVersion() {
    lngAMAssetLabelAlterID = kChain.NewVersionID();
    return VersionedRecord::Execute(
        {insertVersion(), updateCustom(),
         kChain.PointLatestAt(lngAMAssetLabelAlterID, OfLabel(lngAMAssetLabelID))});
}

// Unlike the other card's, a changed version leaves the head alone: its label
// number and its latest pointer stay.
bool clsAMAssetLabel::changeVersion() {
    return VersionedRecord::Execute(
        {" Update [User]AMAssetLabelAlter Set " + kVersionFields.assignments(*this) +
             " Where lngAMAssetLabelAlterID = " + std::to_string(lngAMAssetLabelAlterID),
         updateCustom()});
}

// atAdd deletes one label, or all of an asset's; atOther also clears the heads
// left without a first version. An unknown Mode deletes nothing, and succeeds.
bool clsAMAssetLabel::deleteByMode() {
    int32_t version = std::abs(lngAMAssetLabelAlterID);
    switch (VersionedRecord::RemovalFor(Mode)) {
        case Removal::WholeRecord:
            if (lngAMAssetID < 0) return DeleteAllLabelsOf(-lngAMAssetID);
            return lngAMAssetLabelID < 0 && DeleteLabel(-lngAMAssetLabelID);
        case Removal::NewestVersion:
            if (Mode == atDec && lngAMAssetLabelAlterID >= 0) return false;
            if (!VersionedRecord::Execute(
                    {kChain.StepLatestBack(version), kChain.DeleteVersion(version)}))
                return false;
            return Mode != atOther || ExecuteSql(kDeleteOrphanHeads);
        case Removal::None:
            break;
    }
    return true;
}

std::string clsAMAssetLabel::insertHead() const {
    return " Insert Into [User]AMAssetLabel(" + kHeadFields.names() + ")" + " Values(" +
           kHeadFields.values(*this) + ")";
}

std::string clsAMAssetLabel::insertVersion() const {
    return " Insert Into [User]AMAssetLabelAlter(lngAMAssetID,lngAMAssetLabelID,"
           "lngAMAssetLabelAlterID,lngAMAssetAlterID,strAMAssetLabelNo,lngReceiptTypeID,intYear,"
           " bytPeriod,strDate,strReceiptNo,lngReceiptNo,bytAlterType,lngAMAssetStateID,"
           "lngLocationID,lngEmployeeID,lngOperatorID,"
           " strGuaranteeEndDate,strNotes,lngAMAssetLabelRecentAlterID,lngOrganizationID,"
           "lngDepartmentID) Values(" +
           kVersionFields.values(*this) + ")";
}

std::string clsAMAssetLabel::insertCustom() const {
    return " Insert Into [User]AMAssetLabelCustom(lngAMAssetLabelID,dblQuantity1,dblQuantity2,"
           "dblQuantity3,dblQuantity4,dblQuantity5,"
           " dblAmount1,dblAmount2,dblAmount3,dblAmount4,dblAmount5,strText1,strText2,strText3,"
           "strText4,strText5,strDate1,"
           " strDate2,strDate3,strDate4,strDate5) Values(" +
           std::to_string(lngAMAssetLabelID) + "," + kCustomValues.values(*this) + ")";
}

std::string clsAMAssetLabel::updateCustom() const {
    return " Update [User]AMAssetLabelCustom Set " + kCustomValues.assignments(*this) +
           " Where lngAMAssetLabelID = " + std::to_string(lngAMAssetLabelID);
}

}  // namespace tk::am

using tk::am::clsAMAssetLabel;
TKAM_REGISTER_CLASS(clsAMAssetLabel)
