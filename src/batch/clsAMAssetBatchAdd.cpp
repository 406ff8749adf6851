// Batch-addition rows read, inserted or updated through statement templates whose
// holes are filled in one pass.
#include "batch/clsAMAssetBatchAdd.hpp"

#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"
#include "frame/RecordFields.hpp"
#include "records/RecordSql.hpp"
#include "register/SaveOrZero.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetBatchAdd;

// The stored columns in the order of the insert; a field's place is its hole
// number in the statement templates.
const RecordFields<Self> kStored{
    {"lngAMAssetBatchAddID", &Self::lngAMAssetBatchAddID},
    {"lngAMAssetID", &Self::lngAMAssetID},
    {"strCreateDate", &Self::strCreateDate},
    {"lngOperatorID", &Self::lngOperatorID},
    {"strAMAssetCardCode", &Self::strAMAssetCardCode},
    {"strAMAssetCode", &Self::strAMAssetCode},
    {"strAMAssetName", &Self::strAMAssetName},
    {"lngAMAssetTypeID", &Self::lngAMAssetTypeID},
    {"lngAMAssetMethodID", &Self::lngAMAssetMethodID},
    {"bytAssetState", &Self::bytAssetState},
    {"bytDepreciationMethod", &Self::bytDepreciationMethod},
    {"bytDepreciationtype", &Self::bytDepreciationtype},
    {"bytDepreciationFactor", &Self::bytDepreciationFactor},
    {"lngDutyDepartmentID", &Self::lngDutyDepartmentID},
    {"lngMainDepartmentID", &Self::lngMainDepartmentID},
    {"lngCustomerID", &Self::lngCustomerID},
    {"lngClassID1", &Self::lngClassID1},
    {"lngClassID2", &Self::lngClassID2},
    {"lngTemplateID", &Self::lngTemplateID},
    {"lngCardTemplateID", &Self::lngCardTemplateID},
    {"lngRefReceiptTypeID", &Self::lngRefReceiptTypeID},
    {"lngRefActivityDetailID", &Self::lngRefActivityDetailID},
    {"lngUnitID", &Self::lngUnitID},
    {"strWorkUnit", &Self::strWorkUnit},
    {"dblQuantity", &Self::dblQuantity},
    {"strDate", &Self::strDate},
    {"intYear", &Self::intYear},
    {"bytPeriod", &Self::bytPeriod},
    {"lngAMFundID", &Self::lngAMFundID},
    {"dblAmount", &Self::dblAmount},
    {"dblDepreciation", &Self::dblDepreciation},
    {"dblDecAmount", &Self::dblDecAmount},
    {"dblNetworth", &Self::dblNetworth},
    {"dblUsage", &Self::dblUsage},
    {"lngExpenseDepartmentID", &Self::lngExpenseDepartmentID},
    {"lngExpenseAccountID", &Self::lngExpenseAccountID},
    {"lngDepreciationAccountID", &Self::lngDepreciationAccountID},
    {"lngOutAccountID", &Self::lngOutAccountID},
    {"lngPayAccountID", &Self::lngPayAccountID},
    {"lngFixUpAccountID", &Self::lngFixUpAccountID},
    {"lngSpecialAccountID", &Self::lngSpecialAccountID},
    {"lngAddToAccountID", &Self::lngAddToAccountID},
    {"lngAssetAccountID", &Self::lngAssetAccountID},
    {"lngAssetMethodAccountID", &Self::lngAssetMethodAccountID},
    {"lngDecAccountID", &Self::lngDecAccountID},
    {"blnIsInit", &Self::blnIsInit},
    {"lngOrganizationID", &Self::lngOrganizationID},
    {"lngAMAssetNationalTypeID", &Self::lngAMAssetNationalTypeID},
    {"strAMAssetLabelNo", &Self::strAMAssetLabelNo},
    {"lngAMAssetStateID", &Self::lngAMAssetStateID},
    {"lngLocationID", &Self::lngLocationID},
    {"lngUseDepartmentID", &Self::lngUseDepartmentID},
    {"strGuaranteeEndDate", &Self::strGuaranteeEndDate},
    {"lngAMManagerTypeID", &Self::lngAMManagerTypeID},
    {"lngAssetLocationID", &Self::lngAssetLocationID},
    {"lngMakeCountryID", &Self::lngMakeCountryID},
    {"lngManufacturerID", &Self::lngManufacturerID},
    {"lngManagementNatureID", &Self::lngManagementNatureID},
    {"lngIntegralityID", &Self::lngIntegralityID},
    {"blnIsAssure", &Self::blnIsAssure},
    {"blnIsLend", &Self::blnIsLend},
    {"blnInventoryProfit", &Self::blnInventoryProfit},
    {"lngBuildStructureID", &Self::lngBuildStructureID},
    {"lngPropertyRightTypeID", &Self::lngPropertyRightTypeID},
    {"lngUseDirectionID", &Self::lngUseDirectionID},
    {"lngRightNatureID", &Self::lngRightNatureID},
    {"lngInAccountTypeID", &Self::lngInAccountTypeID},
    {"lngLandSourceID", &Self::lngLandSourceID},
    {"lngVehicleProductionID", &Self::lngVehicleProductionID},
    {"lngVehicleUseID", &Self::lngVehicleUseID},
    {"lngSituationID", &Self::lngSituationID},
    {"lngCulturalRelicID", &Self::lngCulturalRelicID},
    {"strOutlayChannelValue", &Self::strOutlayChannelValue},
    {"strOutlayChannelText", &Self::strOutlayChannelText},
    {"strAMAssetNationalCode", &Self::strAMAssetNationalCode},
    {"strInvoiceNumber", &Self::strInvoiceNumber},
    {"strStyleModel", &Self::strStyleModel},
    {"strMadeIn", &Self::strMadeIn},
    {"strFeatures", &Self::strFeatures},
    {"strPurpose", &Self::strPurpose},
    {"strMaker", &Self::strMaker},
    {"strFactoryNo", &Self::strFactoryNo},
    {"strFactoryDate", &Self::strFactoryDate},
    {"strStartDate", &Self::strStartDate},
    {"strGetType", &Self::strGetType},
    {"strGetDate", &Self::strGetDate},
    {"strScrapDate", &Self::strScrapDate},
    {"strPosition", &Self::strPosition},
    {"strLevel", &Self::strLevel},
    {"strManagementType", &Self::strManagementType},
    {"dblEvaluateValue", &Self::dblEvaluateValue},
    {"dblAssureAmount", &Self::dblAssureAmount},
    {"strAssureType", &Self::strAssureType},
    {"dblLendAmount", &Self::dblLendAmount},
    {"strLendType", &Self::strLendType},
    {"dblLandArea", &Self::dblLandArea},
    {"dblBuildingArea", &Self::dblBuildingArea},
    {"dblRoadArea", &Self::dblRoadArea},
    {"strCompleteDate", &Self::strCompleteDate},
    {"strUseDate", &Self::strUseDate},
    {"dblUseArea", &Self::dblUseArea},
    {"dblUnderUseArea", &Self::dblUnderUseArea},
    {"dblUnderBuildingArea", &Self::dblUnderBuildingArea},
    {"strOwner", &Self::strOwner},
    {"strAwardDate", &Self::strAwardDate},
    {"strOwnership", &Self::strOwnership},
    {"dblLandCardArea", &Self::dblLandCardArea},
    {"strVehicleNo", &Self::strVehicleNo},
    {"strBrandModel", &Self::strBrandModel},
    {"dblExhaustVolume", &Self::dblExhaustVolume},
    {"strNotes", &Self::strNotes},
    {"lngUseEmployeeID", &Self::lngUseEmployeeID},
    {"strFlexibleID", &Self::strFlexibleID},
};

const RecordFields<Self> kLoadedOnly{{"strAssetStyle", &Self::strAssetStyle}};

std::string Hole(size_t i) {
    std::string hole = "{" + std::to_string(i) + "}";
    return RecordFields<Self>::isText(kStored[i]) ? "'" + hole + "'" : hole;
}

const std::string& InsertTemplate() {
    static const std::string text = [] {
        std::string holes;
        for (size_t i = 0; i < kStored.size(); ++i) holes += (i ? "," : "") + Hole(i);
        return "Insert Into [User]AMAssetBatchAdd(" + kStored.names() + ")" + " Values(" + holes +
               ")";
    }();
    return text;
}

// Every column but the id, which with the initial flag and the organisation
// finds the row.
const std::string& UpdateTemplate() {
    static const std::string text = [] {
        std::string sets;
        for (size_t i = 1; i < kStored.size(); ++i) {
            bool isText = RecordFields<Self>::isText(kStored[i]);
            sets +=
                (i > 1 ? "," : "") + std::string(kStored[i].name) + (isText ? "=" : " =") + Hole(i);
        }
        return "Update [User]AMAssetBatchAdd Set " + sets;
    }();
    return text;
}

// Fills the holes in one pass, so that a value holding "{n}" stays as it is.
std::string FillHoles(const std::string& text, const Self& self) {
    std::string out;
    size_t at = 0;
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', at)) {
        size_t close = text.find('}', open);
        out += text.substr(at, open - at);
        out += RecordFields<Self>::body(
            self, kStored[std::stoul(text.substr(open + 1, close - open - 1))]);
        at = close + 1;
    }
    return out + text.substr(at);
}

}  // namespace

void clsAMAssetBatchAdd::describe(DispatchTable<Self>& t) {
    kStored.describe(t);
    kLoadedOnly.describe(t);
    t.setter("LoadID",
             [](Self& self, Dispatchable::Args&, const Variant& id) { self.LoadID(id.toInt32()); });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetBatchAdd::LoadID(int32_t lngID) {
    lngAMAssetBatchAddID = lngID;
    bool found = ReadFirstRow(" Select * From [User]AMAssetBatchAdd Where lngAMAssetBatchAddID = " +
                                  std::to_string(lngID),
                              [this](const connect::Recordset& row) {
                                  kStored.load(*this, row);
                                  kLoadedOnly.load(*this, row);
                              });
    if (!found) {
        kStored.blank(*this);
        kLoadedOnly.blank(*this);
    }
}

int32_t clsAMAssetBatchAdd::SaveCard() {
    return SaveOrZero([this] {
        if (lngAMAssetBatchAddID < 1) {
            newRow_ = true;
            lngAMAssetBatchAddID = GetNewID("AMAssetBatchAdd");
        }
        if (!ExecuteSql(newRow_ ? FillHoles(InsertTemplate(), *this) : update())) return 0;
        // The row exists now: saving again updates it rather than inserting the id twice.
        newRow_ = false;
        return lngAMAssetBatchAddID;
    });
}

std::string clsAMAssetBatchAdd::update() const {
    return FillHoles(UpdateTemplate(), *this) +
           " Where lngAMAssetBatchAddID = " + std::to_string(lngAMAssetBatchAddID) +
           " And blnIsInit = " + std::to_string(blnIsInit) +
           " And lngOrganizationID = " + std::to_string(lngOrganizationID);
}

}  // namespace tk::am

using tk::am::clsAMAssetBatchAdd;
TKAM_REGISTER_CLASS(clsAMAssetBatchAdd)
