// The steps both upgrade routes take on the new schema.
#pragma once
#include <functional>
#include <string>
#include <vector>

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
    // Organisations of the assets (of "[OldUser]AMAsset" or "[NewUser]AMAsset")
    // whose fixed-asset module is started in the new schema get the
    // physical-asset settings; false unless every one of them has them.
    bool EnablePhysicalAssets(const std::string& assets, std::string& strErrMsg);
    // Sequences restart after the largest id of their table.
    bool RebuildSequences(std::string& strErrMsg);
    // Templates take the system template of their receipt type; reports of
    // group 6 under menu 76 move under menu 56 where the menu has 76.
    static bool FixTemplatesAndReports(std::string& strErrMsg);
    // The statement that makes a blank style-and-model text of an other-card
    // table of the style and the model, or of whichever of the two is there.
    static std::string StyleModelFill(const std::string& table);
    // Each label version follows the one of its label on the card version
    // before; a label's head points at its first and last versions.
    static bool LinkLabelVersions(std::string& errorText);

    // A failed step: its message, its label and the reason in strErrMsg; false.
    static bool Failed(const std::string& message, const std::string& label,
                       const std::string& reason, std::string& strErrMsg);
    // Statements run in order; the first that fails ends the step as Failed.
    static bool RunAll(const std::vector<std::string>& statements, const std::string& message,
                       const std::string& label, std::string& strErrMsg);
    // A step whose run-time error is trapped and reported under its message
    // and label.
    static bool Trapped(const std::string& message, const std::string& label,
                        std::string& strErrMsg, const std::function<bool()>& step);
    // Assets with something left to depreciate by time, not disposed and
    // never depreciated, calculated as an addition; false with
    // "重新计算资产折旧出错！" and the reason.
    bool RecalculateUndepreciated(std::string& strErrMsg);
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
