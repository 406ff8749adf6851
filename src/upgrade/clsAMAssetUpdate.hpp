// The class that moves a company's fixed-asset data into a new account set (the upgrade).
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

#include "host/Dispatchable.hpp"

namespace tk::am {

// Moves a company's fixed-asset data into a new account set: from the
// suite's older module (the Fixed… tables) or from this component's earlier
// release. Check reads the old data and reports what would go wrong;
// Execute migrates, raising UpdateProgress(Progress, TotalProgress, Message,
// Cancel) as it goes. A run the host has no transaction around is one
// transaction of its own: it commits whole or leaves both schemas as they were.
class clsAMAssetUpdate : public DispatchableBase<clsAMAssetUpdate> {
  public:
    std::string_view className() const override { return "clsAMAssetUpdate"; }
    static void describe(DispatchTable<clsAMAssetUpdate>& t);

    bool Check(std::string& strErrMsg);
    bool Execute(std::string& strErrMsg);

    // Counted events raised in this run, and what the route expects.
    int32_t Progress = 0;
    int32_t TotalProgress = 0;

    // Raises UpdateProgress; only counted events advance Progress. Cancel
    // carries the run's own flag (false until the run has a result) and
    // whatever the host puts in it is ignored: the run goes on to its end.
    void ReportProgress(const std::string& message, bool counted = true);
    // The warning a failed data check shows: logged, and raised as the
    // "MessageBox" event (prompt, style 48 = warning, title) for a host
    // that shows it.
    void ShowWarning(const std::string& prompt, const std::string& title);

  private:
    bool Run(bool earlierRelease, std::string& strErrMsg);
    void RunAdjustmentScripts();
    bool RunInTransaction(bool earlierRelease, std::string& strErrMsg);
    bool Route(bool earlierRelease, std::string& strErrMsg);
    bool ExecuteFromFixedModule(std::string& strErrMsg);
    void StartRun(int32_t totalProgress);
    bool FinishRun(bool succeeded, std::string& strErrMsg);
    void LogRunHeader(const std::string& firstLine);

    bool resultFlag_ = false;
    // The adjustment scripts of this run that failed, by file name.
    std::string failedScripts_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace tk::am
