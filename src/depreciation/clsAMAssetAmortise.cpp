// Apportionment: the increased depreciation cleared outside trade 32, then AMAssetAmortise
// called, a run-time error logged and kept.
#include "depreciation/clsAMAssetAmortise.hpp"

#include "depreciation/RoutineCall.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace {

// Outside trade 32 no increased depreciation is apportioned.
void ClearIncreaseUnlessTrade32(int32_t lngOrganizationID,
                                std::shared_ptr<connect::Recordset>& rs) {
    connect::Connection& conn = connection();
    rs = conn.GetRecordset("Select 1 From Business Where lngTradeID = 32", 3, 1, 1, 0);
    bool empty = false;
    conn.IsRsEmpty(rs, empty);
    if (empty) {
        int32_t count = 0;
        bool done = false;
        try {
            conn.ExecSql(std::string(" Update AMAssetFundBalanceEx") +
                             " Set dblIncreaseDepreciation = 0" +
                             " Where lngOrganizationID = " + std::to_string(lngOrganizationID),
                         1, count, done);
        } catch (...) {
            // a failing update does not stop the apportionment
        }
    }
    conn.CloseRs(rs);
}

}  // namespace

void clsAMAssetAmortise::describe(DispatchTable<clsAMAssetAmortise>& t) {
    addContextSetters(t, {ContextSetter::UserAndNewUser, ContextSetter::ConnBase});
    t.method("Execute", [](clsAMAssetAmortise& self, Args& a) {
        std::string message = argOr(a, 1, "").toText();
        return Variant(self.Execute(argOr(a, 0, 0).toInt32(), message));
    });
}

bool clsAMAssetAmortise::Execute(int32_t lngOrganizationID, std::string&) {
    bool result = false;
    errorMessage_.clear();
    std::shared_ptr<connect::Recordset> rs;
    try {
        ClearIncreaseUnlessTrade32(lngOrganizationID, rs);
        result = RoutineCall().function("AMAssetAmortise",
                                        {RoutineInput::integer(Variant(int32_t{0})),
                                         RoutineInput::integer(Variant(lngOrganizationID))});
    } catch (...) {
        errorMessage_ = ErrorInfo::current().description;
        WriteLog(std::string("AMAssetAmortise") + kCrLf + errorMessage_);
        if (rs && context().ConnBase) context().ConnBase->CloseRs(rs);
    }
    return result;
}

}  // namespace tk::am

using tk::am::clsAMAssetAmortise;
TKAM_REGISTER_CLASS(clsAMAssetAmortise)
