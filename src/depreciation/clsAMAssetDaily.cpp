#include "depreciation/clsAMAssetDaily.hpp"

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/PublicDef.hpp"
#include "frame/Utility.hpp"

namespace tk::am {
void clsAMAssetDaily::describe(DispatchTable<clsAMAssetDaily>& t) {
    addContextSetters(t, {ContextSetter::UserAndNewUser, ContextSetter::ConnBase});
    t.method("Execute", [](clsAMAssetDaily& self, Args& a) {
        std::string message = argOr(a, 1, "").toText();
        bool ok = self.Execute(argOr(a, 0, 0).toInt32(), message);
        if (a.size() > 1) a[1] = Variant(message);
        return Variant(ok);
    });
}

bool clsAMAssetDaily::Execute(int32_t lngOrganizationID, std::string& strErrMsg) {
    std::shared_ptr<clsAMAssetDeprection> depreciation;
    ErrorInfo error;
    bool ok = false;
    try {
        std::string filter = lngOrganizationID == 0
                                 ? "1=1"
                                 : "aa.lngOrganizationID = " + std::to_string(lngOrganizationID);
        std::string ignored;
        ExecuteSql("DELETE FROM [NewUser]AMAssetFundDaily aa WHERE " + filter, ignored);
        ok = PostPass("AMAssetAlter", filter, false, depreciation) &&
             PostPass("AMAssetFundBalance", filter, true, depreciation);
    } catch (...) {
        error = ErrorInfo::current();
        ok = false;
    }
    if (!ok) strErrMsg = AppendErrorText(error, strErrMsg + "ExecuteAMAssetDaily:");
    return ok;
}

bool clsAMAssetDaily::PostPass(const std::string& table, const std::string& filter,
                               bool blnFromDepreciation,
                               std::shared_ptr<clsAMAssetDeprection>& depreciation) {
    RecordsetPtr rs = OpenRecordset(" SELECT Distinct aa.lngOrganizationID FROM [NewUser]" + table +
                                        " aa WHERE " + filter + " ORDER BY aa.lngOrganizationID",
                                    3, 1);
    bool posted = true;
    for (; posted && !rs->eof(); rs->moveNext()) {
        if (!depreciation) depreciation = std::make_shared<clsAMAssetDeprection>();
        // year 0: every period of the organisation in one posting
        posted = depreciation->WriteDaily(0, 0, 0, blnFromDepreciation, false,
                                          rs->field("lngOrganizationID"));
    }
    CloseRecordset(rs);
    return posted;
}

}  // namespace tk::am

using tk::am::clsAMAssetDaily;
TKAM_REGISTER_CLASS(clsAMAssetDaily)
