// The upgrade's entry: the route chosen by the old and new versions, run in a transaction of its
// own, with progress events, warnings and the run's log.
#include "upgrade/clsAMAssetUpdate.hpp"

#include <array>

#include "adjust/clsAMAdjust.hpp"
#include "connect/Connection.hpp"
#include "connect/ServerText.hpp"
#include "connect/Session.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/Log.hpp"
#include "upgrade/EarlierReleaseUpgrade.hpp"
#include "upgrade/FixedModuleUpgrade.hpp"
#include "upgrade/MaintenanceUpgrade.hpp"
#include "upgrade/UpgradeCheck.hpp"

namespace tk::am {
namespace {

const char* const kLog = "固定资产升级";
// The last release whose own tables still need converting in place.
const std::string kLastConvertedRelease = "a.83.20130430";
constexpr int32_t kFixedModuleSteps = 33, kNothingToConvertSteps = 2, kMaintenanceSteps = 3;
constexpr int32_t kWarningStyle = 48;

// The earlier releases of this component, whose AM… tables are copied.
bool IsEarlierRelease(const std::string& version) {
    static const std::array<std::string, 3> kReleases = {"a.82.20130131", "a.82.20130320",
                                                         "a.82.20120930"};
    for (const auto& release : kReleases)
        if (version == release) return true;
    return false;
}

// Versions compare as plain text, character by character.
bool IsAfterLastConverted(const std::string& version) { return version > kLastConvertedRelease; }

std::string ByRefText(const Dispatchable::Args& args) {
    return args.empty() ? std::string() : args[0].toText();
}

template <typename Operation>
Variant WithMessage(Dispatchable::Args& args, Operation operation) {
    std::string message = ByRefText(args);
    bool result = operation(message);
    if (!args.empty()) args[0] = Variant(message);
    return Variant(result);
}

}  // namespace

void clsAMAssetUpdate::describe(DispatchTable<clsAMAssetUpdate>& t) {
    addContextSetters(
        t, {ContextSetter::BaseUser, ContextSetter::OldUser, ContextSetter::OldVer,
            ContextSetter::NewUserAndUser, ContextSetter::NewVer, ContextSetter::ConnBase});
    t.method("Progress", [](clsAMAssetUpdate& self, Args&) { return Variant(self.Progress); })
        .method("TotalProgress",
                [](clsAMAssetUpdate& self, Args&) { return Variant(self.TotalProgress); })
        .method("Check",
                [](clsAMAssetUpdate& self, Args& args) {
                    return WithMessage(args, [&](std::string& m) { return self.Check(m); });
                })
        .method("Execute", [](clsAMAssetUpdate& self, Args& args) {
            return WithMessage(args, [&](std::string& m) { return self.Execute(m); });
        });
}

bool clsAMAssetUpdate::Check(std::string& strErrMsg) {
    bool passed = false;
    try {
        passed = IsEarlierRelease(context().OldVer) ? UpgradeCheck::CheckAMVersion(strErrMsg)
                                                    : UpgradeCheck::CheckFixedModule(strErrMsg);
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
    }
    if (!strErrMsg.empty()) WriteLog(std::string(kCrLf) + strErrMsg + kCrLf, "check");
    return passed;
}

void clsAMAssetUpdate::ReportProgress(const std::string& message, bool counted) {
    if (counted) ++Progress;
    Args args{Variant(Progress), Variant(TotalProgress), Variant(message), Variant(resultFlag_)};
    raiseEvent("UpdateProgress", args);
}

void clsAMAssetUpdate::ShowWarning(const std::string& prompt, const std::string& title) {
    WriteLog(title + ":" + prompt, kLog);
    Args args{Variant(prompt), Variant(kWarningStyle), Variant(title)};
    raiseEvent("MessageBox", args);
}

bool clsAMAssetUpdate::Execute(std::string& strErrMsg) {
    try {
        const bool earlierRelease = IsEarlierRelease(context().OldVer);
        StartRun(earlierRelease ? EarlierReleaseUpgrade::kTotalProgress : kFixedModuleSteps);
        return FinishRun(Run(earlierRelease, strErrMsg), strErrMsg);
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
        return false;
    }
}

// The scripts run in sessions of the console tool: before this run's
// transaction holds a lock that one of them might wait for.
bool clsAMAssetUpdate::Run(bool earlierRelease, std::string& strErrMsg) {
    try {
        if (!earlierRelease) RunAdjustmentScripts();
        if (connection().session().inTransaction()) return Route(earlierRelease, strErrMsg);
        return RunInTransaction(earlierRelease, strErrMsg);
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
        return false;
    }
}

void clsAMAssetUpdate::RunAdjustmentScripts() {
    const Context& c = context();
    clsAMAdjust adjust;
    adjust.ConnBase = c.ConnBase;
    adjust.OldUser = c.OldUser;
    adjust.NewUser = c.NewUser;
    adjust.UpdateScript();
    failedScripts_.clear();
    for (const std::string& script : adjust.failedScripts())
        failedScripts_ += (failedScripts_.empty() ? "" : ", ") + script;
}

// What a failed run wrote, in either schema, goes with the rollback.
bool clsAMAssetUpdate::RunInTransaction(bool earlierRelease, std::string& strErrMsg) {
    connect::Connection& conn = connection();
    conn.BeginTrans();
    bool succeeded = false;
    try {
        succeeded = Route(earlierRelease, strErrMsg);
    } catch (...) {
        conn.RollbackTrans();
        throw;
    }
    if (succeeded)
        conn.CommitTrans();
    else
        conn.RollbackTrans();
    return succeeded;
}

bool clsAMAssetUpdate::Route(bool earlierRelease, std::string& strErrMsg) {
    return earlierRelease ? EarlierReleaseUpgrade(*this).Run(strErrMsg)
                          : ExecuteFromFixedModule(strErrMsg);
}

// A new schema of a release after the last converted one already holds the
// converted data; an old schema of such a release, or one without AM…
// tables, is the older module's.
bool clsAMAssetUpdate::ExecuteFromFixedModule(std::string& strErrMsg) {
    const Context& c = context();
    if (IsAfterLastConverted(c.NewVer)) {
        TotalProgress = kNothingToConvertSteps;
        return true;
    }
    if (!TableExists("AMAsset", c.OldUser) || IsAfterLastConverted(c.OldVer))
        return FixedModuleUpgrade(*this).Run(strErrMsg);
    TotalProgress = kMaintenanceSteps;
    return MaintenanceUpgrade(*this).Run(strErrMsg);
}

void clsAMAssetUpdate::StartRun(int32_t totalProgress) {
    Progress = 0;
    TotalProgress = totalProgress;
    resultFlag_ = false;
    failedScripts_.clear();
    started_ = std::chrono::steady_clock::now();
    WriteLog("", "sql");
    WriteLog("", "errSql");
    ReportProgress("固定资产升级开始");
    LogRunHeader("固定资产开始升级:");
}

void clsAMAssetUpdate::LogRunHeader(const std::string& firstLine) {
    const Context& c = context();
    WriteLog(firstLine, kLog);
    WriteLog("升级服务器" + connect::ServerText::withoutPassword(connection().ServerName), kLog);
    WriteLog("升级前账套" + c.OldUser + ",升级后账套" + c.NewUser, kLog);
    WriteLog("升级前版本" + c.OldVer + ",升级后版本" + c.NewVer, kLog);
}

// Scripts that failed do not stop the upgrade, but the host hears of them.
bool clsAMAssetUpdate::FinishRun(bool succeeded, std::string& strErrMsg) {
    if (!failedScripts_.empty())
        strErrMsg += (strErrMsg.empty() ? "" : kCrLf) +
                     std::string("调整脚本执行失败(见 DbSql 日志): ") + failedScripts_;
    resultFlag_ = succeeded;
    ReportProgress("固定资产升级结束");
    std::chrono::duration<float> elapsed = std::chrono::steady_clock::now() - started_;
    std::string duration = FormatDuration(elapsed.count());
    LogRunHeader((succeeded ? "固定资产升级成功,耗时:" : "固定资产升级失败,耗时:") + duration);
    WriteLog(succeeded ? "错误信息:" : "升级失败原因:", kLog);
    WriteLog(strErrMsg, kLog);
    return succeeded;
}

}  // namespace tk::am

using tk::am::clsAMAssetUpdate;
TKAM_REGISTER_CLASS(clsAMAssetUpdate)
