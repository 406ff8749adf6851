// The steps both upgrade routes take on the new schema.
#pragma once
#include <string>

namespace tk::am {

class clsAMAssetUpdate;

// The steps both routes of an upgrade take on the new schema ([NewUser]).
class UpgradeSteps {
  public:
    explicit UpgradeSteps(clsAMAssetUpdate& update) : update_(update) {}

    // The report of a failed data check: to the "check" log and the host's warning.
    void ReportFailedCheck(const std::string& strErrMsg);
    // Runs a statement whose failure is only logged ("errSql"); true when it ran.
    static bool RunLogged(const std::string& sql);
    // Whether a "Select Count(…) As lngCount" query counts anything.
    static bool Counts(const std::string& countQuery);
    bool RecompileRoutines();
    // Adds what later releases added to AMAsset, recreates the balance
    // scratch table and empties the asset tables; false at the first table
    // that cannot be emptied.
    bool EmptyAssetTables();
    void DropScratchTables();
    // Organisations of the old assets whose fixed-asset module is started
    // in the new schema get the physical-asset settings.
    void EnablePhysicalAssets();
    // Sequences restart after the largest id of their table.
    void RebuildSequences();
    // Templates take the system template of their receipt type; reports of
    // group 6 under menu 76 move under menu 56 where the menu has 76.
    static void FixTemplatesAndReports();
    // The posting journal of every organisation of the new schema, rebuilt.
    static bool PostDaily(std::string& strErrMsg);
    // strCreateDate and strAMAssetNationalCode of AMAsset, which later
    // releases added.
    static void AddCreationColumns();

  private:
    void RecreateBalanceScratch();

    clsAMAssetUpdate& update_;
};

}  // namespace tk::am
