#include "carryforward/TurnSourceJournal.hpp"

#include "carryforward/PlannerSetting.hpp"
#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "frame/Utility.hpp"

namespace tk::am {
namespace {

void Native(const std::string& sql) { connection().session().runNative(ReplaceSchema(sql)); }

// A journal row counts towards the summary with its source version and
// card version, as the summary has always joined them.
constexpr const char* kVersioned = " FILTER (WHERE aa.lngAMAssetAlterID IS NOT NULL)";
constexpr const char* kUnversioned = " FILTER (WHERE aa.lngAMAssetAlterID IS NULL)";
constexpr const char* kLastPeriod = "fd.YearPeriod IS NOT DISTINCT FROM fd.LastPeriod";

// The rows' sum of one movement, apart for the summary's rows and the others:
// each row's amount is added once, and both sums come out exact.
std::string Sums(const std::string& movement, const std::string& name) {
    return "sum(" + movement + ")" + kVersioned + " AS " + name + ", sum(" + movement + ")" +
           kUnversioned + " AS " + name + "Other, ";
}

// What the source's latest period takes out of the summary: a source version
// not yet approved, over those rows only.
std::string Pending(const std::string& change, const std::string& name) {
    return "sum(CASE WHEN fd.YearPeriod = fd.LastPeriod AND fa.bytStatus <> 2 THEN " + change +
           " END)" + kVersioned + " AS " + name + "Pending, ";
}

// A figure of the source's latest period, as the summary reads it.
std::string Latest(const std::string& column, const std::string& name) {
    return std::string("max((CASE WHEN ") + kLastPeriod + " THEN 1 ELSE 0 END) * fd." + column +
           ")" + kVersioned + " AS " + name;
}

std::string Total(const std::string& name) {
    return "COALESCE(g." + name + ", 0) + COALESCE(g." + name + "Other, 0)";
}

}  // namespace

bool BuildSourceJournal(const TurnScope& scope) {
    // Partial sums of exact decimals cost more to pass between processes and
    // combine than the parallel scan saves.
    PlannerSetting serial("max_parallel_workers_per_gather", "0");
    Native("DROP TABLE IF EXISTS " + std::string(kSourceJournal));
    Native("CREATE TEMPORARY TABLE " + std::string(kSourceJournal) +
           " ON COMMIT DROP AS SELECT g.*, oracompat.round(" + Total("amount") + ", 2) AS a, " +
           "oracompat.round(" + Total("depreciation") + ", 2) AS d, " + Total("residual") +
           " AS n, oracompat.round(" + Total("impairment") +
           ", 2) AS i FROM (SELECT fd.lngAMAssetID, fd.lngAMFundID, "
           // the source's last row: its latest period's, of several the last posted
           "mod(max(fd.YearPeriod * 10000000000 + fd.lngAMAssetFundDailyID), 10000000000) AS "
           "lastDailyID, count(*)" +
           kVersioned + " AS summaryRows, " + Sums("fd.dblAmountAlter", "amount") +
           Sums("fd.dblDeprectionAlter + fd.dblDeprection", "depreciation") +
           Sums("fd.dblDecAmountAlter", "impairment") + Sums("fd.dblNetworthAlter", "residual") +
           Pending("fa.dblAmountAlter + fa.dblTransferAmountAlter", "amount") +
           Pending("fa.dblDepreciationAlter + fa.dblTransferDepreciationAlter", "depreciation") +
           Pending("fa.dblDecAmountAlter + fa.dblTransferDecAmountAlter", "impairment") +
           Pending("fa.dblNetworthAlter", "residual") + "max(CASE WHEN " + kLastPeriod +
           " THEN CASE WHEN fa.bytStatus = 2 THEN fd.lngAMAssetAlterID ELSE "
           "aa.lngAMAssetRecentAlterID END ELSE 0 END)" +
           kVersioned + " AS alterID, " + Latest("dblTotalWorks", "works") + ", " +
           Latest("intTotalPeriods", "periods") + ", " +
           Latest("dblTotalDepredWorks", "depredWorks") + ", " +
           Latest("intTotalDepredPeriods", "depredPeriods") +
           // each source's last period before the date comes with its rows
           " FROM (SELECT fd.*, max(fd.YearPeriod) OVER (PARTITION BY fd.lngAMAssetID, "
           "fd.lngAMFundID) AS LastPeriod FROM [OldUser]AMAssetFundDaily fd WHERE "
           "fd.lngOrganizationID = " +
           scope.org() + " AND fd.YearPeriod < " + scope.yp() +
           ") fd LEFT JOIN [OldUser]AMAssetFundAlter fa ON fa.lngAMAssetFundAlterID = "
           "fd.lngAMAssetFundAlterID LEFT JOIN [OldUser]AMAssetAlter aa ON aa.lngAMAssetAlterID = "
           "fa.lngAMAssetAlterID GROUP BY fd.lngAMAssetID, fd.lngAMFundID) g");
    Native("ANALYZE " + std::string(kSourceJournal));
    return true;
}

bool DropSourceJournal() {
    Native("DROP TABLE " + std::string(kSourceJournal));
    return true;
}

}  // namespace tk::am
