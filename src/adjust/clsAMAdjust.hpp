// The class that runs a company's data-repair scripts against the new account set.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adjust/ScriptList.hpp"
#include "connect/Connection.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Runs a company's data repairs, delivered as Oracle console scripts, against
// the account set NewUser: the scripts kept in OldUser's t_backupScript, the
// call blocks of the maintenance procedures, and the script files the
// component's "data" folder lists in update.data. Each script runs through
// the console SQL tool; a script whose output shows an error is logged to
// the "DbSql" log and the next one still runs.
class clsAMAdjust : public DispatchableBase<clsAMAdjust> {
  public:
    std::string_view className() const override { return "clsAMAdjust"; }
    static void describe(DispatchTable<clsAMAdjust>& t);

    std::shared_ptr<connect::Connection> ConnBase;
    std::string OldUser, NewUser;
    // Leave the run's script and wrapper files behind (for diagnosis).
    bool KeepScriptFiles = false;
    // How long one script may run, in seconds, before it is stopped and counts
    // as failed: TKAM_SCRIPT_TIMEOUT when the environment sets it, else an hour.
    int32_t ScriptTimeout = DefaultScriptTimeout();
    static int32_t DefaultScriptTimeout();
    // Told before each script runs: its file name, its place from 1, how many run.
    std::function<void(const std::string&, size_t, size_t)> onScript;

    // When NewUser has not been adjusted yet: the backup scripts and the
    // compile and backup blocks; the recalculation blocks are left to AdjustData.
    void UpdateScript();
    // The scripts update.data lists, then the four recalculation blocks.
    void AdjustData();
    // The file names of the scripts that failed since the object was made.
    const std::vector<std::string>& failedScripts() const { return failed_; }

  private:
    bool NeedsScriptUpdate();
    void LoadBackupScripts();
    void RunUpdateScripts();
    void LoadAdjustList();
    void runScripts(const std::vector<ScriptList::Entry>& scripts);
    bool hasBackupTable(const std::string& schema);
    std::optional<std::string> firstValue(const std::string& sql);
    connect::Connection& login();

    ScriptList scripts_, adjustments_;
    std::vector<std::string> failed_;
};

}  // namespace tk::am
