// A category loaded as an organisation sees it, gaps filled from the module settings,
// and saved as its common row.
#include "register/clsAMAssetType.hpp"

#include <optional>

#include "frame/ClassRegistry.hpp"
#include "frame/CodeLookup.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Settings.hpp"
#include "register/SaveOrZero.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetType;

constexpr const char* kSection = "固定资产";

// The columns a save writes, in insert order; an update writes all but the key.
constexpr std::string_view kSavedColumns[] = {"lngAMAssetCategoryID",
                                              "lngAMAssetTypeID",
                                              "strAMAssetTypeCode",
                                              "strAMAssetTypeName",
                                              "strFullName",
                                              "intLevel",
                                              "blnIsDetail",
                                              "blnIsInActive",
                                              "blnIsSys",
                                              "strStartDate",
                                              "bytDepreciationType",
                                              "bytDepreciationMethod",
                                              "dblUseage",
                                              "dblNetworthRate",
                                              "dblDeprRate",
                                              "bytCodeMethod",
                                              "strCodePrefix",
                                              "strCodeSuffix",
                                              "strCodeRule",
                                              "intCodeSerialNoDec",
                                              "strCardRule",
                                              "intCardSerialNoDec",
                                              "strLabelRule",
                                              "intLabelSerialNoDec",
                                              "lngAssetAccountID",
                                              "lngDepreciationAccountID",
                                              "lngClassID1",
                                              "lngClassID2",
                                              "lngDecAccountID",
                                              "strFlexibleID",
                                              "strNotes"};

// A reference id that falls back to a module setting when the category has
// none, and the display text that goes with it.
struct ReferenceDefault {
    int32_t Self::*id;
    std::string Self::*text;
    const char* joinedColumn;  // the query's display text for an id of the category's own
    const char* settingKey;
    const char* table;
};

const ReferenceDefault kReferenceDefaults[] = {
    {&Self::lngClassID1, &Self::strClass1, "strClass1", "统计", "Class1"},
    {&Self::lngClassID2, &Self::strClass2, "strClass2", "项目", "Class2"},
    {&Self::lngAssetAccountID, &Self::strAssetAccount, "strAssetAcc", "固定资产科目", "Account"},
    {&Self::lngDepreciationAccountID, &Self::strDepreciationAccount, "strDeprAcc", "累计折旧科目",
     "Account"},
    // The query has no column for it: a category's own impairment account
    // leaves the display text as it was.
    {&Self::lngDecAccountID, &Self::strDecAccount, nullptr, "减值准备科目", "Account"},
};

Variant Setting(const char* key, int32_t organizationID, const Variant& fallback) {
    return ReadSetting(key, std::string(kSection), fallback, std::nullopt, organizationID);
}

int32_t SettingLong(const char* key, int32_t organizationID, int32_t fallback) {
    return ToLong(Setting(key, organizationID, Variant(fallback)).toText());
}

double SettingDouble(const char* key, int32_t organizationID) {
    return ToDouble(Setting(key, organizationID, Variant("")));
}

std::string LoadQuery(int32_t id, int32_t organizationID) {
    return " Select AMAssetType.*,AssetAccount.strAccountCode || ' ' || "
           "AssetAccount.strAccountName As strAssetAcc,"
           " Nvl(DeprAccount.strAccountCode,'') || ' ' || Nvl(DeprAccount.strAccountName,'') As "
           "strDeprAcc,Class1.strClassCode || ' ' || Class1.strClassName As strClass1,"
           " Class2.strClassCode || ' ' || Class2.strClassName As strClass2 From " +
           OrganizationView("AMAssetType", organizationID) +
           ",[User]Account AssetAccount, [User]Account DeprAccount, [User]Class1, [User]Class2"
           " Where AMAssetType.lngAssetAccountID = AssetAccount.lngAccountID(+) And "
           "AMAssetType.lngDepreciationAccountID = DeprAccount.lngAccountID(+)"
           " And AMAssetType.lngClassID1 = Class1.lngClassID(+) And AMAssetType.lngClassID2 = "
           "Class2.lngClassID(+) And AMAssetType.lngAMAssetTypeID = " +
           std::to_string(id);
}

}  // namespace

const RecordFields<Self>& clsAMAssetType::columnFields() {
    static const RecordFields<Self> table = {
        {"lngAMAssetCategoryID", &Self::lngAMAssetCategoryID},
        {"lngAMAssetTypeID", &Self::lngAMAssetTypeID},
        {"strAMAssetTypeCode", &Self::strAMAssetTypeCode},
        {"strAMAssetTypeName", &Self::strAMAssetTypeName},
        {"strFullName", &Self::strFullName},
        {"intLevel", &Self::intLevel},
        {"blnIsDetail", &Self::blnIsDetail},
        {"blnIsInActive", &Self::blnIsInActive},
        {"blnIsSys", &Self::blnIsSys},
        {"strStartDate", &Self::strStartDate},
        {"bytDepreciationtype", &Self::bytDepreciationtype},
        {"bytDepreciationMethod", &Self::bytDepreciationMethod},
        {"dblUseage", &Self::dblUseage},
        {"dblNetworthRate", &Self::dblNetworthRate},
        {"dblDeprRate", &Self::dblDeprRate},
        {"bytCodeMethod", &Self::bytCodeMethod},
        {"strCodePrefix", &Self::strCodePrefix},
        {"strCodeSuffix", &Self::strCodeSuffix},
        {"strCodeRule", &Self::strCodeRule},
        {"intCodeSerialNoDec", &Self::intCodeSerialNoDec},
        {"strCardRule", &Self::strCardRule},
        {"intCardSerialNoDec", &Self::intCardSerialNoDec},
        {"strLabelRule", &Self::strLabelRule},
        {"intLabelSerialNoDec", &Self::intLabelSerialNoDec},
        {"lngAssetAccountID", &Self::lngAssetAccountID},
        {"lngDepreciationAccountID", &Self::lngDepreciationAccountID},
        {"lngClassID1", &Self::lngClassID1},
        {"lngClassID2", &Self::lngClassID2},
        {"lngDecAccountID", &Self::lngDecAccountID},
        {"strFlexibleID", &Self::strFlexibleID},
        {"lngOrganizationID", &Self::lngOrganizationID},
        {"strNotes", &Self::strNotes},
    };
    return table;
}

// Display texts: never saved, filled by LoadID from the joins or look-ups.
const RecordFields<Self>& clsAMAssetType::displayFields() {
    static const RecordFields<Self> table = {
        {"strAssetAccount", &Self::strAssetAccount},
        {"strDepreciationAccount", &Self::strDepreciationAccount},
        {"strClass1", &Self::strClass1},
        {"strClass2", &Self::strClass2},
        {"strDecAccount", &Self::strDecAccount},
    };
    return table;
}

void clsAMAssetType::describe(DispatchTable<Self>& t) {
    columnFields().describe(t);
    displayFields().describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& a) {
        self.LoadID(requiredArg(a, 0).toInt32(), requiredArg(a, 1).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetType::LoadID(int32_t lngID, int32_t lngOrganizationID) {
    lngAMAssetTypeID = lngID;
    RecordsetPtr rs = OpenRecordset(LoadQuery(lngID, lngOrganizationID), 3, 1);
    if (!IsRecordsetEmpty(rs)) {
        columnFields().load(*this, *rs);
        applyDepreciationDefaults(lngOrganizationID);
        applyReferenceDefaults(*rs, lngOrganizationID);
    }
    CloseRecordset(rs);
}

void clsAMAssetType::applyDepreciationDefaults(int32_t organizationID) {
    if (bytDepreciationtype == 0)
        bytDepreciationtype = static_cast<int16_t>(SettingLong("折旧类型", organizationID, 0));
    if (bytDepreciationMethod == 0)
        bytDepreciationMethod =
            static_cast<int16_t>(SettingLong("常用折旧方法", organizationID, 1));
    // Not depreciated (method 1, type 2): no service life.
    if (bytDepreciationMethod == 1 || bytDepreciationtype == 2)
        dblUseage = 0;
    else if (dblUseage == 0)
        dblUseage = SettingDouble("预计使用期间", organizationID);
    if (dblNetworthRate == 0) dblNetworthRate = SettingDouble("预计净残值率", organizationID);
    if (dblDeprRate == 0) dblDeprRate = SettingDouble("年折旧率", organizationID);
}

void clsAMAssetType::applyReferenceDefaults(const connect::Recordset& rs, int32_t organizationID) {
    for (const ReferenceDefault& r : kReferenceDefaults) {
        if (this->*r.id != 0) {
            if (r.joinedColumn) this->*r.text = rs.field(r.joinedColumn).toText();
            continue;
        }
        this->*r.id = SettingLong(r.settingKey, organizationID, 0);
        this->*r.text = this->*r.id >= 1 ? GetCodeName(this->*r.id, r.table, 0, 0) : "";
    }
}

int32_t clsAMAssetType::SaveCard() {
    return SaveOrZero([this] {
        const bool inserting = lngAMAssetTypeID < 1;
        if (inserting) lngAMAssetTypeID = GetNewID("AMAssetType", "");
        std::string errorText;
        return ExecuteSql(inserting ? insertText() : updateText(), errorText) ? lngAMAssetTypeID
                                                                              : 0;
    });
}

std::string clsAMAssetType::insertText() const {
    return " Insert Into [User]AMAssetType(" + columnFields().names(kSavedColumns) + ") Values(" +
           columnFields().values(*this, kSavedColumns) + ")";
}

std::string clsAMAssetType::updateText() const {
    const RecordFields<Self>::Columns saved(kSavedColumns);
    return " Update [User]AMAssetType Set " + columnFields().assignments(*this, saved.first(1)) +
           "," + columnFields().assignments(*this, saved.subspan(2)) +
           " Where lngAMAssetTypeID = " + std::to_string(lngAMAssetTypeID);
}

}  // namespace tk::am

using tk::am::clsAMAssetType;
TKAM_REGISTER_CLASS(clsAMAssetType)
