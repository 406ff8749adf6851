// The self-service platform's carry-forward: its tables copied whole, then the organisation's
// closed requests and detail rows removed, the run logged.
#include "carryforward/clsAMAssetOnlineTurn.hpp"

#include <vector>

#include "carryforward/TurnLog.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/PublicDef.hpp"
#include "frame/TableCopier.hpp"

namespace tk::am {
namespace {

const TurnLog::Titles kTitles = {
    "资产自助管理平台结转",      "资产自助管理平台开始结转:", "资产自助管理平台结转成功:",
    "资产自助管理平台结转失败:", "新账套机构启用日期",        true};

const char* const kPlatformTables[] = {
    "AlterType,AMAssetAlterItemTemp,AMAssetAlterItem",
    "AMAssetAlterRequest,AMAssetAlterReqBaseDetail,AMAssetAlterReqEntityDetail,"
    "AMAssetAlterReqAffiliateDetail",
    "AMAssetAlterReduce,AMAssetAlterRedBaseDetail"};

// The organisation's closed requests and closed detail rows go, and then the
// requests left without a detail row.
std::vector<std::string> CleanUp(const std::string& org) {
    const std::string request =
        "[NewUser]AMAssetAlterRequest r Where r.lngAlterRequestID = "
        "rd.lngAlterRequestID AND ";
    const std::string reduce =
        "[NewUser]AMAssetAlterReduce r Where r.lngAlterReduceID = "
        "rd.lngAlterReduceID AND ";
    auto ofClosed = [&](const std::string& detail, const std::string& parent) {
        return " Delete From [NewUser]" + detail + " rd Where Exists(Select 1 From " + parent +
               "r.blnIsClose = 1 AND r.lngOrganizationID = " + org + ")";
    };
    auto closedOf = [&](const std::string& detail, const std::string& parent) {
        return " Delete From [NewUser]" + detail +
               " rd Where rd.blnIsClose = 1 AND Exists(Select 1 From " + parent +
               "r.lngOrganizationID = " + org + ")";
    };
    auto noDetail = [](const std::string& detail, const std::string& key) {
        return " Not Exists(Select 1 From [NewUser]" + detail + " rd Where rd." + key + " = r." +
               key + ")";
    };
    const std::string requestKey = "lngAlterRequestID";
    return {ofClosed("AMAssetAlterReqBaseDetail", request),
            ofClosed("AMAssetAlterReqEntityDetail", request),
            ofClosed("AMAssetAlterReqAffiliateDetail", request),
            " Delete From [NewUser]AMAssetAlterRequest r Where r.blnIsClose = 1 AND "
            "r.lngOrganizationID = " +
                org,
            ofClosed("AMAssetAlterRedBaseDetail", reduce),
            " Delete From [NewUser]AMAssetAlterReduce r Where r.blnIsClose = 1 AND "
            "r.lngOrganizationID = " +
                org,
            closedOf("AMAssetAlterReqBaseDetail", request),
            closedOf("AMAssetAlterReqEntityDetail", request),
            closedOf("AMAssetAlterReqAffiliateDetail", request),
            closedOf("AMAssetAlterRedBaseDetail", reduce),
            " Delete From [NewUser]AMAssetAlterRequest r Where" +
                noDetail("AMAssetAlterReqBaseDetail", requestKey) + " And" +
                noDetail("AMAssetAlterReqEntityDetail", requestKey) + " And" +
                noDetail("AMAssetAlterReqAffiliateDetail", requestKey) +
                " And r.lngOrganizationID = " + org,
            " Delete From [NewUser]AMAssetAlterReduce r Where" +
                noDetail("AMAssetAlterRedBaseDetail", "lngAlterReduceID") +
                " And r.lngOrganizationID = " + org};
}

std::string Failure(const std::string& previous, const std::string& errorText) {
    std::string reason = Trim(previous).empty() ? std::string() : previous + kCrLf;
    return reason + "结转资产自助管理平台业务失败:#" + (errorText.empty() ? "0:" : errorText);
}

}  // namespace

void clsAMAssetOnlineTurn::describe(DispatchTable<clsAMAssetOnlineTurn>& t) {
    addContextSetters(
        t, {ContextSetter::ConnBase, ContextSetter::OldUser, ContextSetter::NewUserAndUser});
    using Self = clsAMAssetOnlineTurn;
    t.setter("TurnOrganizationID",
             [](Self& s, Args&, const Variant& v) { s.scope.organization = v.toInt32(); })
        .setter("TurnDate", [](Self& s, Args&, const Variant& v) { s.scope.turnDate = v.toText(); })
        .setter("TurnYear",
                [](Self& s, Args&, const Variant& v) { s.scope.turnYear = v.toInt16(); })
        .setter("TurnPeriod",
                [](Self& s, Args&, const Variant& v) {
                    s.scope.turnPeriod = static_cast<uint8_t>(v.toInt16());
                })
        .setter("StartDate",
                [](Self& s, Args&, const Variant& v) { s.scope.startDate = v.toText(); })
        .method("Execute", [](Self& self, Args& a) {
            std::string message = argOr(a, 0, "").toText();
            bool ok = self.Execute(message);
            if (!a.empty()) a[0] = Variant(message);
            return Variant(ok);
        });
}

bool clsAMAssetOnlineTurn::HasPlatformTables() {
    try {
        return TableExists("AMAssetAlterItem", context().NewUser) &&
               TableExists("AMAssetAlterItem", context().OldUser);
    } catch (...) {
        return false;
    }
}

bool clsAMAssetOnlineTurn::CopyPlatformData(std::string& strErrMsg) {
    std::string errorText;
    auto copyAll = [&] {
        for (const char* list : kPlatformTables)
            if (!CopyTable(list, "", errorText)) return false;
        return true;
    };
    auto cleanUp = [&] {
        for (const std::string& sql : CleanUp(scope.org()))
            if (!ExecuteSql(sql, errorText)) return false;
        return true;
    };
    bool ok = false;
    try {
        ok = copyAll() && cleanUp();
    } catch (...) {
        ErrorInfo error = ErrorInfo::current();
        errorText = std::to_string(error.number) + ":" + error.description;
    }
    if (!ok) strErrMsg = Failure(strErrMsg, errorText);
    return ok;
}

bool clsAMAssetOnlineTurn::Execute(std::string& strErrMsg) {
    if (!HasPlatformTables()) return true;
    TurnLog log(kTitles, scope);
    try {
        log.started();
        bool ok = CopyPlatformData(strErrMsg);
        if (ok)
            log.succeeded(strErrMsg);
        else
            log.failed(strErrMsg);
        return ok;
    } catch (...) {
        log.failed(strErrMsg);
        return false;
    }
}

}  // namespace tk::am

using tk::am::clsAMAssetOnlineTurn;
TKAM_REGISTER_CLASS(clsAMAssetOnlineTurn)
