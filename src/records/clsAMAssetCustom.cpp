// The user-defined row loaded, inserted or overwritten as it exists or not, or deleted.
#include "records/clsAMAssetCustom.hpp"

#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"
#include "frame/RecordFields.hpp"
#include "records/RecordSql.hpp"
#include "register/SaveOrZero.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetCustom;
using Field = RecordField<Self>;

// In column order; the update starts a new line at some columns.
const RecordFields<Self> kFields{
    {"lngAMAssetID", &Self::lngAMAssetID, nullptr, Field::OnInsertOnly},
    {"strCustom1", &Self::strCustom1},
    {"strCustom2", &Self::strCustom2},
    {"strCustom3", &Self::strCustom3, " strCustom3 = '"},
    {"strCustom4", &Self::strCustom4},
    {"strCustom5", &Self::strCustom5},
    {"strCustom6", &Self::strCustom6, " strCustom6 = '"},
    {"strCustom7", &Self::strCustom7},
    {"strCustom8", &Self::strCustom8},
    {"strCustom9", &Self::strCustom9, " strCustom9 = '"},
    {"strCustom10", &Self::strCustom10},
    {"strCustom11", &Self::strCustom11},
    {"strCustom12", &Self::strCustom12, " strCustom12 = '"},
    {"strCustom13", &Self::strCustom13},
    {"dblCustom1", &Self::dblCustom1, " dblCustom1 = "},
    {"dblCustom2", &Self::dblCustom2},
    {"dblCustom3", &Self::dblCustom3, " dblCustom3 = "},
    {"dblCustom4", &Self::dblCustom4},
    {"dblCustom5", &Self::dblCustom5, " dblCustom5 = "},
    {"strCustomDate1", &Self::strCustomDate1, " strCustomDate1 = '"},
    {"strCustomDate2", &Self::strCustomDate2},
};

std::string RowOf(int32_t assetID) {
    return "Select * From [User]AMAssetCustom Where lngAMAssetID = " + std::to_string(assetID);
}

}  // namespace

void clsAMAssetCustom::describe(DispatchTable<Self>& t) {
    kFields.describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetCustom::LoadID(int32_t id) {
    if (!ReadFirstRow(RowOf(id),
                      [this](const connect::Recordset& row) { kFields.load(*this, row); }))
        kFields.blank(*this);
}

int32_t clsAMAssetCustom::SaveCard() {
    return SaveOrZero([this] {
        if (lngAMAssetID < 0)
            return ExecuteSql("Delete From [User]AMAssetCustom Where lngAMAssetID = " +
                              std::to_string(-lngAMAssetID))
                       ? -lngAMAssetID
                       : 0;
        if (lngAMAssetID == 0) return 0;
        kFields.checkLimits(*this, {"AMAssetCustom"});
        bool saved = ExecuteSql(HasRow(RowOf(lngAMAssetID)) ? update() : insert());
        return saved ? lngAMAssetID : 0;
    });
}

std::string clsAMAssetCustom::insert() const {
    return " Insert Into [User]AMAssetCustom(lngAMAssetID,strCustom1,strCustom2,strCustom3,"
           "strCustom4,strCustom5,"
           " strCustom6,strCustom7,strCustom8,strCustom9,strCustom10,strCustom11,strCustom12,"
           "strCustom13,"
           " dblCustom1,dblCustom2,dblCustom3,dblCustom4,dblCustom5,strCustomDate1,strCustomDate2)"
           " Values(" +
           kFields.values(*this) + ")";
}

std::string clsAMAssetCustom::update() const {
    return " Update [User]AMAssetCustom Set " + kFields.assignments(*this) +
           " Where lngAMAssetID = " + std::to_string(lngAMAssetID);
}

}  // namespace tk::am

using tk::am::clsAMAssetCustom;
TKAM_REGISTER_CLASS(clsAMAssetCustom)
