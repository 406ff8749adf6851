// The journal rebuild: the old journal deleted, then every period posted again, alterations and
// depreciation in the order the account set posts them.
#include "depreciation/clsAMAssetDaily.hpp"

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace {

// Business.blnAssetAddPeriod = 1: alterations are posted before depreciation.
bool AlterationsBeforeDepreciation() {
    RecordsetPtr rs = OpenRecordset(std::string("SELECT Business.*,Trade.strTradeName,") + kCrLf +
                                        "Currencys.strCurrencyCode,Currencys.strCurrencyName,"
                                        "Currencys.bytCurrencyDec, Currencys.bytRateDec" +
                                        kCrLf + "FROM Business,Trade,Currencys" + kCrLf +
                                        "WHERE Business.lngTradeID=Trade.lngTradeID" + kCrLf +
                                        "AND Business.lngCurrencyId=Currencys.lngCurrencyId",
                                    3, 1);
    bool flag = false;
    if (!IsRecordsetEmpty(rs)) {
        const Variant& value = rs->field("blnAssetAddPeriod");
        flag = !value.isNull() && value.toInt32() == 1;
    }
    CloseRecordset(rs);
    return flag;
}

}  // namespace

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
    errorMessage_.clear();
    try {
        bool alterationsFirst = AlterationsBeforeDepreciation();
        std::string filter = lngOrganizationID == 0
                                 ? "1=1"
                                 : "aa.lngOrganizationID = " + std::to_string(lngOrganizationID);
        std::string ignored;
        ExecuteSql("DELETE FROM [NewUser]AMAssetFundDaily aa WHERE " + filter, ignored);
        const std::string alterations = "AMAssetAlter", balances = "AMAssetFundBalance";
        ok = PostPass(alterations, filter, false, depreciation) &&
             (alterationsFirst ? PostPass(alterations, filter, false, depreciation) &&
                                     PostPass(balances, filter, true, depreciation)
                               : PostPass(balances, filter, true, depreciation) &&
                                     PostPass(alterations, filter, false, depreciation));
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
    RecordsetPtr rs = OpenRecordset(
        " SELECT Distinct aa.intYear, aa.bytPeriod, aa.lngOrganizationID"
        " FROM [NewUser]" +
            table + " aa" + " WHERE " + filter + " ORDER BY aa.intYear, aa.bytPeriod",
        3, 1);
    bool posted = true;
    for (; posted && !rs->eof(); rs->moveNext()) {
        if (!depreciation) depreciation = std::make_shared<clsAMAssetDeprection>();
        posted = depreciation->WriteDaily(rs->field("intYear").toInt16(),
                                          rs->field("bytPeriod").toInt16(), 0, blnFromDepreciation,
                                          false, rs->field("lngOrganizationID"));
    }
    CloseRecordset(rs);
    if (!posted) errorMessage_ = depreciation->ErrorMessage();
    return posted;
}

}  // namespace tk::am

using tk::am::clsAMAssetDaily;
TKAM_REGISTER_CLASS(clsAMAssetDaily)
