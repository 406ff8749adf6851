// Auxiliary equipment rows loaded, inserted, overwritten, or deleted one at a time or
// all of an asset's.
#include "records/clsAMAssetAux.hpp"

#include <cstdlib>

#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"
#include "frame/RecordFields.hpp"
#include "records/RecordSql.hpp"
#include "register/SaveOrZero.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetAux;
using Field = RecordField<Self>;

// In column order; the update starts a new line at some columns and keeps the
// owning asset.
const RecordFields<Self> kFields{
    {"lngAMAssetID", &Self::lngAMAssetID, nullptr, Field::OnInsertOnly},
    {"lngAMAssetAuxID", &Self::lngAMAssetAuxID, nullptr, Field::OnInsertOnly},
    {"strAMAssetAuxCode", &Self::strAMAssetAuxCode},
    {"strAMAssetAuxName", &Self::strAMAssetAuxName},
    {"lngAMAssetTypeID", &Self::lngAMAssetTypeID, " lngAMAssetTypeID = "},
    {"lngAMAssetMethodID", &Self::lngAMAssetMethodID},
    {"strAuxStyle", &Self::strAuxStyle, " strAuxStyle = '"},
    {"strFeatures", &Self::strFeatures},
    {"strPurpose", &Self::strPurpose},
    {"strUnit", &Self::strUnit},
    {"dblQuantity", &Self::dblQuantity, " dblQuantity = "},
    {"dblAmount", &Self::dblAmount},
    {"strAddDate", &Self::strAddDate},
    {"strStartDate", &Self::strStartDate, " strStartDate = '"},
    {"strScraptDate", &Self::strScraptDate},
    {"lngSupplierID", &Self::lngSupplierID},
    {"strNotes", &Self::strNotes},
};

}  // namespace

void clsAMAssetAux::describe(DispatchTable<Self>& t) {
    kFields.describe(t);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32(), requiredArg(args, 1).toInt32());
        return Variant();
    });
    t.method("SaveCard", [](Self& self, Dispatchable::Args&) { return Variant(self.SaveCard()); });
}

void clsAMAssetAux::LoadID(int32_t assetID, int32_t auxID) {
    std::string sql =
        "Select * From [User]AMAssetAux Where lngAMAssetID = " + std::to_string(assetID) +
        " And lngAMAssetAuxID = " + std::to_string(auxID);
    if (!ReadFirstRow(sql, [this](const connect::Recordset& row) { kFields.load(*this, row); }))
        kFields.blank(*this);
}

int32_t clsAMAssetAux::SaveCard() {
    return SaveOrZero([this] {
        if (!write()) return 0;
        // Deletions, of one piece or of all, name the asset.
        return lngAMAssetID >= 0 && lngAMAssetAuxID >= 0 ? lngAMAssetAuxID : std::abs(lngAMAssetID);
    });
}

bool clsAMAssetAux::write() {
    if (lngAMAssetID < 0)
        return ExecuteSql(" Delete From [User]AMAssetAux Where lngAMAssetID = " +
                          std::to_string(-lngAMAssetID));
    if (lngAMAssetAuxID < 0)
        return ExecuteSql(" Delete From [User]AMAssetAux Where lngAMAssetAuxID = " +
                          std::to_string(-lngAMAssetAuxID));
    if (lngAMAssetID == 0) return false;
    kFields.checkLimits(*this, {"AMAssetAux"});
    if (lngAMAssetAuxID > 0) return ExecuteSql(update());
    lngAMAssetAuxID = GetNewID("AMAssetAux");
    return ExecuteSql(insert());
}

std::string clsAMAssetAux::insert() const {
    return " Insert Into [User]AMAssetAux(lngAMAssetID,lngAMAssetAuxID,strAMAssetAuxCode,"
           "strAMAssetAuxName,lngAMAssetTypeID,lngAMAssetMethodID,"
           " strAuxStyle,strFeatures,strPurpose,strUnit,dblQuantity,dblAmount,strAddDate,"
           "strStartDate,strScraptDate,lngSupplierID,strNotes)"
           " Values(" +
           kFields.values(*this) + ")";
}

std::string clsAMAssetAux::update() const {
    return " Update [User]AMAssetAux Set " + kFields.assignments(*this) +
           " Where lngAMAssetAuxID = " + std::to_string(lngAMAssetAuxID);
}

}  // namespace tk::am

using tk::am::clsAMAssetAux;
TKAM_REGISTER_CLASS(clsAMAssetAux)
