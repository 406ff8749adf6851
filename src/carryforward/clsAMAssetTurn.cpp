// The carry-forward run: the readiness checks, the adjustment scripts, then the copy and opening
// steps in order, in a transaction of its own unless the host has one open.
#include "carryforward/clsAMAssetTurn.hpp"

#include "adjust/clsAMAdjust.hpp"
#include "carryforward/TurnDataCopy.hpp"
#include "carryforward/TurnLog.hpp"
#include "carryforward/TurnOpeningRecords.hpp"
#include "connect/Session.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"
#include "frame/LastRefusal.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"
#include "frame/Statistics.hpp"

namespace tk::am {
namespace {

const TurnLog::Titles kTitles = {"固定资产结转",      "固定资产开始结转:",  "固定资产结转成功:",
                                 "固定资产结转失败:", "旧账套机构启用日期", false};

// The year and period of the period row the query finds, if any.
bool ReadPeriod(const std::string& sql, int32_t& year, int32_t& period) {
    RecordsetPtr rs = OpenRecordset(sql, connect::adOpenStatic, connect::adLockReadOnly);
    bool found = !IsRecordsetEmpty(rs);
    if (found) {
        year = rs->field("intYear").toInt32();
        period = rs->field("bytPeriod").toInt32();
    }
    CloseRecordset(rs);
    return found;
}

bool HasRow(const std::string& sql, int32_t cursorType = connect::adOpenStatic) {
    RecordsetPtr rs = OpenRecordset(sql, cursorType, connect::adLockReadOnly);
    bool found = !IsRecordsetEmpty(rs);
    CloseRecordset(rs);
    return found;
}

// The text argument a late-bound caller passes by reference.
template <typename Fn>
Variant WithMessage(Dispatchable::Args& a, Fn&& fn) {
    std::string message = argOr(a, 0, "").toText();
    bool ok = fn(message);
    if (!a.empty()) a[0] = Variant(message);
    return Variant(ok);
}

// The check and the adjustment scripts, which write nothing of the run's own.
constexpr size_t kReadOnlySteps = 2;

void RunAdjustmentScripts() {
    clsAMAdjust adjust;
    adjust.ConnBase = context().ConnBase;
    adjust.OldUser = context().OldUser;
    adjust.NewUser = context().NewUser;
    try {
        adjust.UpdateScript();
    } catch (...) {
        // The scripts' outcome does not decide the carry-forward.
    }
}

}  // namespace

void clsAMAssetTurn::describe(DispatchTable<clsAMAssetTurn>& t) {
    addContextSetters(
        t, {ContextSetter::ConnBase, ContextSetter::OldUser, ContextSetter::NewUserAndUser});
    auto set = [&t](const char* name, auto assign) {
        t.setter(name,
                 [assign](clsAMAssetTurn& self, Args&, const Variant& v) { assign(self, v); });
    };
    set("TurnOrganizationID",
        [](clsAMAssetTurn& s, const Variant& v) { s.scope.organization = v.toInt32(); });
    set("TurnDate", [](clsAMAssetTurn& s, const Variant& v) { s.scope.turnDate = v.toText(); });
    set("TurnYear", [](clsAMAssetTurn& s, const Variant& v) { s.scope.turnYear = v.toInt16(); });
    set("TurnPeriod", [](clsAMAssetTurn& s, const Variant& v) {
        s.scope.turnPeriod = static_cast<uint8_t>(v.toInt16());
    });
    set("StartDate", [](clsAMAssetTurn& s, const Variant& v) { s.scope.startDate = v.toText(); });
    set("TurnAMAssetID",
        [](clsAMAssetTurn& s, const Variant& v) { s.TurnAMAssetID = v.toInt32(); });
    t.method("Check", [](clsAMAssetTurn& self, Args& a) {
         return WithMessage(a, [&](std::string& m) { return self.Check(m); });
     }).method("Execute", [](clsAMAssetTurn& self, Args& a) {
        return WithMessage(a, [&](std::string& m) { return self.Execute(m); });
    });
}

bool clsAMAssetTurn::HasAssets() {
    RecordsetPtr rs = OpenRecordset(
        "SELECT Count(lngAMAssetID) As lngCount FROM [OldUser]AMAsset Where lngOrganizationID = " +
            scope.org(),
        connect::adOpenStatic, connect::adLockReadOnly);
    bool any = !IsRecordsetEmpty(rs) && rs->field("lngCount").toInt32() > 0;
    CloseRecordset(rs);
    return any;
}

bool clsAMAssetTurn::ReadPriorPeriod() {
    return ReadPeriod(scope.startsOnTurnDate()
                          ? "SELECT * FROM [OldUser]AccountPeriod WHERE strStartDate='" +
                                scope.turnDate + "' AND lngOrganizationID= " + scope.org()
                          : "SELECT * FROM [OldUser]AccountPeriod WHERE strEndDate='" +
                                scope.prevDay() + "' AND lngOrganizationID = " + scope.org(),
                      scope.prevYear, scope.prevPeriod);
}

bool clsAMAssetTurn::ReadNewPeriod() {
    return ReadPeriod("SELECT * FROM [NewUser]AccountPeriod WHERE strStartDate='" + scope.turnDate +
                          "' AND lngOrganizationID = " + scope.org(),
                      scope.newYear, scope.newPeriod);
}

// Refused only when depreciation is in use, has run before, has not run for
// the last old period, and an asset still has value left to depreciate.
bool clsAMAssetTurn::CheckPriorDepreciation(int32_t year, int32_t period) {
    const std::string org = scope.org(), yp = std::to_string(year * 100 + period);
    const std::string current =
        " Select 1 From [OldUser]AMAsset aat, [OldUser]AMAssetAlter ata Where "
        "aat.lngAMAssetLastAlterID = ata.lngAMAssetAlterID And ";
    if (!HasRow(current + "ata.bytDepreciationMethod <> 1 And ata.lngOrganizationID = " + org) ||
        !HasRow(current + "ata.bytAlterType <> 2 And ata.lngOrganizationID = " + org) ||
        !HasRow(" Select * From [OldUser]AMAssetDepreciation ap Where ap.lngOrganizationID = " +
                org) ||
        !HasRow(" Select * From [OldUser]AMAsset a, [OldUser]AMAssetType at Where "
                "a.lngAMAssetTypeID=at.lngAMAssetTypeID And at.bytDepreciationType In(1,3) And "
                "at.bytDepreciationMethod<>1 And a.lngOrganizationID = " +
                org) ||
        HasRow(" Select * From [OldUser]AMAssetDepreciation ap Where ap.intYear * 100 + "
               "ap.bytPeriod >= " +
               yp + " And ap.lngOrganizationID = " + org))
        return true;
    std::string lines[] = {
        "SELECT fb.lngAMAssetID",
        "  FROM [OldUser]AMAssetFundBalance fb, [OldUser]AMAssetAlter fa,",
        "       (Select fb.lngAMAssetID,",
        "               Max(fb.intYear * 100 + fb.bytPeriod) As YearPeriod",
        "          From [OldUser]AMAssetFundBalance fb",
        "         Where fb.lngOrganizationID = " + org,
        "           AND fb.intYear * 100 + fb.bytPeriod <= " + yp,
        "         Group By fb.lngAMAssetID) fbx",
        " WHERE fb.lngAMAssetAlterID = fa.lngAMAssetAlterID",
        "   AND fb.lngAMAssetID = fbx.lngAMAssetID",
        "   AND fb.intYear * 100 + fb.bytPeriod = fbx.YearPeriod",
        "   AND fa.bytAlterType <> 2",
        "   AND fa.dblAmount - (fb.dblInitDepreciation + fb.dblDepreciation) - fa.dblDecAmount - "
        "fa.dblNetworth > 0",
        "   AND fb.lngOrganizationID = " + org,
        "   AND fb.intYear * 100 + fb.bytPeriod <= " + yp};
    std::string sql;
    for (const std::string& line : lines) sql += (sql.empty() ? "" : kCrLf) + line;
    return !HasRow(sql);
}

bool clsAMAssetTurn::CheckAllPosted() {
    return !HasRow(std::string("Select fa.lngorganizationid,") + kCrLf +
                       "       fa.lngamassetalterid," + kCrLf + "       fa.lngamassetid," + kCrLf +
                       "       fa.stramassetcode," + kCrLf + "       fa.stramassetname" + kCrLf +
                       "  From [OldUser]AMAssetAlter fa, [OldUser]AMAssetFundDaily fd" + kCrLf +
                       " Where fa.lngAMAssetAlterID = fd.lngAMAssetAlterID(+)" + kCrLf +
                       "   And fa.lngOrganizationID = fd.lngOrganizationID(+)" + kCrLf +
                       "   And fd.lngAMAssetAlterID Is Null" + kCrLf +
                       "   And fa.lngOrganizationID = " + scope.org() + kCrLf + "   And rownum = 1",
                   connect::adOpenForwardOnly);
}

bool clsAMAssetTurn::Check(std::string& strErrMsg) {
    try {
        if (!HasAssets()) return true;
        if (!ReadPriorPeriod()) {
            strErrMsg = "固定资产结转：取结转上一期间失败，当前结转日期：" + scope.turnDate;
            return false;
        }
        if (!scope.startsOnTurnDate() &&
            !CheckPriorDepreciation(scope.prevYear, scope.prevPeriod)) {
            strErrMsg =
                "固定资产结转：结转日期前一个会计期间没有“计提折旧”或计提折旧业务数据，不能结转！";
            return false;
        }
        if (!CheckAllPosted()) {
            strErrMsg = "固定资产结转：系统发现结转前账套有固定资产未登账，不能结转！";
            return false;
        }
        return true;
    } catch (...) {
        // The message stays as it was; the reason waits for tkam_last_error and "errSql".
        LastRefusal::keepCurrent("clsAMAssetTurn.Check");
        return false;
    }
}

bool clsAMAssetTurn::RunSteps(std::string& strErrMsg, const std::function<void()>& beforeWriting) {
    TurnDataCopy data(scope);
    TurnOpeningRecords opening(scope, data.summaryTable());
    std::vector<Step> steps = {
        {"检查", [&] { return Check(strErrMsg); }},
        {"数据调整脚本", [] { return RunAdjustmentScripts(), true; }},
        {"读取会计期间", [&] { return ReadNewPeriod() && ReadPriorPeriod(); }},
        {"编译存储过程", [&] { return data.CompileFunctions(); }},
        {"清除新账套数据", [&] { return data.ClearNewAccountSet(strErrMsg); }}};
    if (scope.startsOnTurnDate()) {
        steps.push_back({"复制全部数据", [&] {
                             copiedWholeTables_ = true;
                             return data.CopyAllTables();
                         }});
    } else {
        steps.insert(steps.end(),
                     {{"复制资产卡片", [&] { return data.CopyAssetRegister(); }},
                      {"复制本期变动", [&] { return data.CopyCurrentAlterations(); }},
                      {"复制以后期间余额",
                       [&] {
                           bool copied = data.CopyLaterBalances();
                           if (copied) RefreshStatistics(context().NewUser);
                           return copied;
                       }},
                      {"生成期初记录", [&] { return opening.BuildOpeningRecords(); }},
                      {"重算余额并登账", [&] { return opening.RebuildBalances(strErrMsg); }},
                      {"重置序列", [&] { return data.ResetSequences(); }}});
    }
    try {
        for (size_t i = 0; i < steps.size(); ++i) {
            if (i == kReadOnlySteps && beforeWriting) beforeWriting();
            if (onStep) onStep(steps[i].name, i + 1, steps.size());
            const size_t said = strErrMsg.size();
            ClearSqlError();
            if (steps[i].run()) continue;
            // A step that gave no reason failed on a statement: the database's.
            if (strErrMsg.size() == said && LastSqlError().number != 0)
                strErrMsg = AppendErrorText(LastSqlError(), strErrMsg);
            return false;
        }
        return true;
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
        return false;
    }
}

// Sequences stay where the run left them: a value drawn, by the run or by
// another session meanwhile, is never handed out again.
// The check and the scripts run before the transaction begins: the scripts
// run in sessions of the console tool, which would wait for any lock the
// transaction held.
bool clsAMAssetTurn::RunInOwnTransaction(std::string& strErrMsg) {
    bool ok = RunSteps(strErrMsg, [this] {
        connection().BeginTrans();
        // The organisation-wide statements sort and hash whole tables: room to
        // do it in memory, for this transaction only. At 100,000 assets
        // grouping the old journal by funding source alone holds some 350 MB;
        // spilled to disk it takes several times as long.
        RunNative("SET LOCAL work_mem = '512MB'");
    });
    try {
        if (ok) connection().CommitTrans();
    } catch (...) {
        ok = false;
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
    }
    if (ok) return true;
    try {
        if (connection().session().inTransaction()) connection().RollbackTrans();
    } catch (...) {
        // A connection lost mid-run has been rolled back by the server.
    }
    return false;
}

bool clsAMAssetTurn::Execute(std::string& strErrMsg) {
    try {
        if (!HasAssets()) return true;
    } catch (...) {
        return false;
    }
    WriteLog("", "sql");
    WriteLog("", "errSql");
    TurnLog log(kTitles, scope);
    log.started();
    copiedWholeTables_ = false;
    bool ok = connection().session().inTransaction() ? RunSteps(strErrMsg, {})
                                                     : RunInOwnTransaction(strErrMsg);
    if (copiedWholeTables_) return ok;
    if (ok)
        log.succeeded(strErrMsg);
    else
        log.failed(strErrMsg);
    return ok;
}

}  // namespace tk::am

using tk::am::clsAMAssetTurn;
TKAM_REGISTER_CLASS(clsAMAssetTurn)
