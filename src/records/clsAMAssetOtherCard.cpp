// The other card's load and save by Mode: versions written, the head's latest pointer
// moved, and the card alteration's flexible-item key kept in step.
#include "records/clsAMAssetOtherCard.hpp"

#include <cstdlib>

#include "frame/ClassRegistry.hpp"
#include "frame/RecordFields.hpp"
#include "records/RecordSql.hpp"
#include "register/SaveOrZero.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetOtherCard;
using Field = RecordField<Self>;
using Pick = VersionedRecord::Pick;

// Keyed by the asset, as the card is.
const VersionedRecord kChain(
    {.headTable = "AMAssetOther",
     .versionTable = "AMAssetOtherAlter",
     .versionKey = "lngAMAssetOtherAlterID",
     .latestPointer = "lngAMAssetOtherLastAlterID",
     .previousPointer = "lngAMAssetOtherRecentAlterID",
     .headLink = "AMAssetOtherAlter.lngAMAssetID = AMAssetOther.lngAMAssetID"});

// Head columns before the attributes.
const RecordFields<Self> kHeadKeys{
    {"lngAMAssetID", &Self::lngAMAssetID},
    {"lngAMAssetOtherInitAlterID", &Self::lngAMAssetOtherInitAlterID},
    {"lngAMAssetOtherLastAlterID", &Self::lngAMAssetOtherLastAlterID},
};

// Version columns before the attributes; a change keeps the version's place in
// the chain and rewrites the rest.
const RecordFields<Self> kVersionFields{
    {"lngAMAssetOtherAlterID", &Self::lngAMAssetOtherAlterID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetID", &Self::lngAMAssetID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetAlterID", &Self::lngAMAssetAlterID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetOtherRecentAlterID", &Self::lngAMAssetOtherRecentAlterID, nullptr,
     Field::OnInsertOnly},
    {"intYear", &Self::intYear},
    {"bytPeriod", &Self::bytPeriod},
    {"bytAlterType", &Self::bytAlterType},
    {"strDate", &Self::strDate},
};

// The 68 attributes, in the column order of both tables. The change statement
// spells three of them its own way.
const RecordFields<Self> kAttributes{
    {"strAssetStyle", &Self::strAssetStyle},
    {"strAssetModel", &Self::strAssetModel},
    {"strMadeIn", &Self::strMadeIn},
    {"strPurpose", &Self::strPurpose},
    {"lngDepartmentID", &Self::lngDepartmentID, "lngDepartmentID ="},
    {"lngMakeCountryID", &Self::lngMakeCountryID},
    {"lngManufacturerID", &Self::lngManufacturerID},
    {"strFeatures", &Self::strFeatures},
    {"strLevel", &Self::strLevel},
    {"strFactoryNo", &Self::strFactoryNo},
    {"strFactoryDate", &Self::strFactoryDate},
    {"lngManagementNatureID", &Self::lngManagementNatureID},
    {"strManagementType", &Self::strManagementType},
    {"strStartDate", &Self::strStartDate},
    {"dblEvaluateValue", &Self::dblEvaluateValue},
    {"lngIntegralityID", &Self::lngIntegralityID},
    {"dblLandArea", &Self::dblLandArea},
    {"strProjectNo", &Self::strProjectNo},
    {"strScrapDate", &Self::strScrapDate},
    {"blnIsAssure", &Self::blnIsAssure},
    {"dblAssureAmount", &Self::dblAssureAmount},
    {"strAssureType", &Self::strAssureType},
    {"blnIsLend", &Self::blnIsLend},
    {"dblLendAmount", &Self::dblLendAmount},
    {"strLendType", &Self::strLendType},
    {"dblRoadArea", &Self::dblRoadArea},
    {"strOutlayChannelText", &Self::strOutlayChannelText},
    {"strOutlayChannelValue", &Self::strOutlayChannelValue},
    {"lngBuildStructureID", &Self::lngBuildStructureID},
    {"lngPropertyRightTypeID", &Self::lngPropertyRightTypeID},
    {"strCompleteDate", &Self::strCompleteDate},
    {"strGetType", &Self::strGetType},
    {"strGetDate", &Self::strGetDate},
    {"strUseDate", &Self::strUseDate},
    {"dblUseArea", &Self::dblUseArea},
    {"dblUnderUseArea", &Self::dblUnderUseArea},
    {"dblBuildingArea", &Self::dblBuildingArea},
    {"dblUnderBuildingArea", &Self::dblUnderBuildingArea},
    {"strPosition", &Self::strPosition},
    {"strOwner", &Self::strOwner},
    {"strAwardDate", &Self::strAwardDate},
    {"strOwnership", &Self::strOwnership},
    {"dblFareArea", &Self::dblFareArea},
    {"dblComputerArea", &Self::dblComputerArea},
    {"dblMeetingArea", &Self::dblMeetingArea},
    {"dblCarbarnArea", &Self::dblCarbarnArea},
    {"dblEateryArea", &Self::dblEateryArea},
    {"dblSwitchArea", &Self::dblSwitchArea},
    {"lngRightNatureID", &Self::lngRightNatureID},
    {"lngInAccountTypeID", &Self::lngInAccountTypeID},
    {"lngLandSourceID", &Self::lngLandSourceID},
    {"dblLandCardArea", &Self::dblLandCardArea},
    {"strMaker", &Self::strMaker},
    {"strStyleModel", &Self::strStyleModel},
    {"blnInventoryProfit", &Self::blnInventoryProfit},
    {"lngUseDirectionID", &Self::lngUseDirectionID},
    {"lngLocationID", &Self::lngLocationID},
    {"strVehicleNo", &Self::strVehicleNo},
    {"strBrandModel", &Self::strBrandModel},
    {"dblExhaustVolume", &Self::dblExhaustVolume},
    {"lngVehicleProductionID", &Self::lngVehicleProductionID},
    {"lngVehicleUseID", &Self::lngVehicleUseID},
    {"lngSituationID", &Self::lngSituationID},
    {"lngCulturalRelicID", &Self::lngCulturalRelicID, "lngCulturalRelicID = '"},
    {"blnIsManagement", &Self::blnIsManagement},
    {"strManageCustomer", &Self::strManageCustomer},
    {"strNotes", &Self::strNotes},
    {"strFlexibleID", &Self::strFlexibleID, " strFlexibleID='"},
};

const RecordFields<Self>* const kAllFields[] = {&kHeadKeys, &kVersionFields, &kAttributes};

std::string LoadStatement(AlterTypeEnum mode, int32_t id) {
    const std::string joined = "Select * From [User]AMAssetOther, [User]AMAssetOtherAlter Where ";
    switch (VersionedRecord::VersionToLoad(mode)) {
        case Pick::FirstVersion:
            return joined +
                   "AMAssetOther.lngAMAssetOtherInitAlterID = "
                   "AMAssetOtherAlter.lngAMAssetOtherAlterID And AMAssetOther.lngAMAssetID = " +
                   std::to_string(id);
        case Pick::LatestVersion:
            return joined +
                   "AMAssetOther.lngAMAssetOtherLastAlterID = "
                   "AMAssetOtherAlter.lngAMAssetOtherAlterID And AMAssetOther.lngAMAssetID = " +
                   std::to_string(id);
        case Pick::GivenVersion:
            break;
    }
    return joined +
           "AMAssetOther.lngAMAssetID = AMAssetOtherAlter.lngAMAssetID And "
           "AMAssetOtherAlter.lngAMAssetAlterID = " +
           std::to_string(id);
}

std::string InsertInto(const std::string& table, const RecordFields<Self>& keys, const Self& self) {
    return " Insert Into [User]" + table + "(" + keys.names() + "," + kAttributes.names() +
           ") Values(" + keys.values(self) + "," + kAttributes.values(self) + ")";
}

}  // namespace

void clsAMAssetOtherCard::describe(DispatchTable<Self>& t) {
    t.method("Mode", [](Self& self, Dispatchable::Args&) { return Variant(int32_t{self.Mode}); });
    t.setter("Mode", [](Self& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
    for (const RecordFields<Self>* fields : kAllFields) fields->describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetOtherCard::LoadID(int32_t lngID) {
    // Head and version share lngAMAssetID and the attributes; the head's come
    // first in the row, so the attributes read are the first version's.
    bool found = ReadFirstRow(LoadStatement(Mode, lngID), [this](const connect::Recordset& row) {
        for (const RecordFields<Self>* fields : kAllFields) fields->load(*this, row);
    });
    if (!found)
        for (const RecordFields<Self>* fields : kAllFields) fields->blank(*this);
}

int32_t clsAMAssetOtherCard::SaveCard() {
    return SaveOrZero([this] {
        // The card alteration carries the flexible-item key as well. Named
        // without a schema: the table of the connection's current schema.
        bool saved = writeVersion() &&
                     VersionedRecord::Execute(
                         {" Update AMAssetAlter Set strFlexibleID = '" + strFlexibleID.sqlBody() +
                          "' Where lngAMAssetAlterID = " + std::to_string(lngAMAssetAlterID)});
        if (!saved) return 0;
        return lngAMAssetOtherAlterID >= 1 ? lngAMAssetOtherAlterID : std::abs(lngAMAssetID);
    });
}

bool clsAMAssetOtherCard::writeVersion() {
    const auto action = VersionedRecord::ActionFor(lngAMAssetID, lngAMAssetOtherAlterID);
    if (action != VersionedRecord::Action::Delete)
        for (const RecordFields<Self>* fields : kAllFields)
            fields->checkLimits(*this, {"AMAssetOther", "AMAssetOtherAlter"});
    switch (action) {
        case VersionedRecord::Action::Delete:
            return deleteByMode();
        case VersionedRecord::Action::AddVersion:
            return addVersion();
        case VersionedRecord::Action::ChangeVersion:
            return changeVersion();
        case VersionedRecord::Action::AddHead:  // keyed by its asset: none without one
        case VersionedRecord::Action::Nothing:
            break;
    }
    return false;
}

// Whether the version is the first is decided by the head row, not by ids the
// caller supplies.
bool clsAMAssetOtherCard::addVersion() {
    std::string asset = std::to_string(lngAMAssetID);
    if (!VersionedRecord::HeadExists("Select 1 From [User]AMAssetOther Where lngAMAssetID = " +
                                     asset)) {
        VersionedRecord::StartChain(kChain.NewVersionID(), lngAMAssetOtherAlterID,
                                    lngAMAssetOtherInitAlterID, lngAMAssetOtherLastAlterID,
                                    lngAMAssetOtherRecentAlterID);
        return VersionedRecord::Execute({insertHead(), insertVersion()});
    }
    // The version it follows is the caller's to set in lngAMAssetOtherRecentAlterID.
    lngAMAssetOtherAlterID = kChain.NewVersionID();
    return VersionedRecord::Execute(
        {insertVersion(), kChain.PointLatestAt(lngAMAssetOtherAlterID, "lngAMAssetID = " + asset)});
}

// Unlike the card's, a changed version becomes the latest.
bool clsAMAssetOtherCard::changeVersion() {
    std::string asset = std::to_string(lngAMAssetID);
    std::string update =
        " Update [User]AMAssetOtherAlter Set " + kVersionFields.assignments(*this) + "," +
        kAttributes.assignments(*this) +
        " Where lngAMAssetOtherAlterID = " + std::to_string(lngAMAssetOtherAlterID) +
        " And lngAMAssetID = " + asset;
    return VersionedRecord::Execute(
        {update, kChain.PointLatestAt(lngAMAssetOtherAlterID, "lngAMAssetID = " + asset)});
}

// An unknown Mode fails the deletion.
bool clsAMAssetOtherCard::deleteByMode() {
    std::string ofAsset = "lngAMAssetID = " + std::to_string(std::abs(lngAMAssetID));
    int32_t version = std::abs(lngAMAssetOtherAlterID);
    switch (VersionedRecord::RemovalFor(Mode)) {
        case VersionedRecord::Removal::WholeRecord:
            return VersionedRecord::Execute(
                {kChain.DeleteVersions(ofAsset), kChain.DeleteHeads(ofAsset)});
        case VersionedRecord::Removal::NewestVersion:
            return VersionedRecord::Execute(
                {kChain.StepLatestBack(version), kChain.DeleteVersion(version)});
        case VersionedRecord::Removal::None:
            break;
    }
    return false;
}

std::string clsAMAssetOtherCard::insertHead() const {
    return InsertInto("AMAssetOther", kHeadKeys, *this);
}

std::string clsAMAssetOtherCard::insertVersion() const {
    return InsertInto("AMAssetOtherAlter", kVersionFields, *this);
}

}  // namespace tk::am

using tk::am::clsAMAssetOtherCard;
TKAM_REGISTER_CLASS(clsAMAssetOtherCard)
