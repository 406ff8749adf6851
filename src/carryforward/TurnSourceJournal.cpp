// Builds the grouped source journal in one serial, sorted pass: each source's opening sums, its
// last row and its part of the summary of opening totals.
#include "carryforward/TurnSourceJournal.hpp"

#include "carryforward/PlannerSetting.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

// A journal row counts towards the summary with its source version and
// card version, as the summary has always joined them.
constexpr const char* kVersioned = " FILTER (WHERE aa.lngAMAssetAlterID IS NOT NULL)";
constexpr const char* kUnversioned = " FILTER (WHERE aa.lngAMAssetAlterID IS NULL)";

// The journal's rows grouped by source version, apart in the source's latest
// period: one sort of the organisation's journal, and rows of one version
// share their version's figures.
std::string RowsByVersion(const TurnScope& scope) {
    return "SELECT fd.lngAMAssetID, fd.lngAMFundID, fd.lngAMAssetFundAlterID, fd.YearPeriod = "
           "fd.LastPeriod AS last, max(fd.YearPeriod * 10000000000 + fd.lngAMAssetFundDailyID) "
           "AS lastKey, count(*) AS rows, sum(fd.dblAmountAlter) AS amount, "
           "sum(fd.dblDeprectionAlter + fd.dblDeprection) AS depreciation, "
           "sum(fd.dblDecAmountAlter) AS impairment, sum(fd.dblNetworthAlter) AS residual, "
           "max(fd.lngAMAssetAlterID) AS alterID, max(fd.dblTotalWorks) AS works, "
           "max(fd.intTotalPeriods) AS periods, max(fd.dblTotalDepredWorks) AS depredWorks, "
           "max(fd.intTotalDepredPeriods) AS depredPeriods FROM (SELECT fd.*, max(fd.YearPeriod) "
           "OVER (PARTITION BY fd.lngAMAssetID, fd.lngAMFundID) AS LastPeriod FROM "
           "[OldUser]AMAssetFundDaily fd WHERE fd.lngOrganizationID = " +
           scope.org() + " AND fd.YearPeriod < " + scope.yp() +
           ") fd GROUP BY fd.lngAMAssetID, fd.lngAMFundID, fd.lngAMAssetFundAlterID, "
           "fd.YearPeriod = fd.LastPeriod";
}

// A movement summed apart for the summary's rows and the others.
std::string Sums(const std::string& name) {
    return "sum(p." + name + ")" + kVersioned + " AS " + name + ", sum(p." + name + ")" +
           kUnversioned + " AS " + name + "Other, ";
}

// What the source's latest period takes out of the summary: a source version
// not yet approved, once for each of its rows there.
std::string Pending(const std::string& change, const std::string& name) {
    return "sum(CASE WHEN p.last AND fa.bytStatus <> 2 THEN (" + change + ") * p.rows END)" +
           kVersioned + " AS " + name + "Pending, ";
}

// A figure of the source's latest period, as the summary reads it.
std::string Latest(const std::string& name) {
    return "max((CASE WHEN p.last THEN 1 ELSE 0 END) * p." + name + ")" + kVersioned + " AS " +
           name;
}

std::string Total(const std::string& name) {
    return "COALESCE(g." + name + ", 0) + COALESCE(g." + name + "Other, 0)";
}

}  // namespace

void BuildSourceJournal(const TurnScope& scope) {
    // Partial sums of exact decimals cost more to pass between processes and
    // combine than the parallel scan saves; and the journal comes sorted by
    // source, where grouping as it comes beats hashing a million groups.
    PlannerSetting serial("max_parallel_workers_per_gather", "0");
    PlannerSetting sorted("enable_hashagg", "off");
    RunNative("DROP TABLE IF EXISTS " + std::string(kSourceJournal));
    RunNative(
        "CREATE TEMPORARY TABLE " + std::string(kSourceJournal) +
        " ON COMMIT DROP AS SELECT g.*, oracompat.round(" + Total("amount") +
        ", 2) AS a, oracompat.round(" + Total("depreciation") + ", 2) AS d, " + Total("residual") +
        " AS n, oracompat.round(" + Total("impairment") +
        ", 2) AS i FROM (SELECT p.lngAMAssetID, p.lngAMFundID, "
        // the source's last row: its latest period's, of several the last posted
        "mod(max(p.lastKey), 10000000000) AS lastDailyID, sum(p.rows)" +
        kVersioned + " AS summaryRows, " + Sums("amount") + Sums("depreciation") +
        Sums("impairment") + Sums("residual") +
        Pending("fa.dblAmountAlter + fa.dblTransferAmountAlter", "amount") +
        Pending("fa.dblDepreciationAlter + fa.dblTransferDepreciationAlter", "depreciation") +
        Pending("fa.dblDecAmountAlter + fa.dblTransferDecAmountAlter", "impairment") +
        Pending("fa.dblNetworthAlter", "residual") +
        "max(CASE WHEN p.last THEN CASE WHEN fa.bytStatus = 2 THEN p.alterID ELSE "
        "aa.lngAMAssetRecentAlterID END ELSE 0 END)" +
        kVersioned + " AS alterID, " + Latest("works") + ", " + Latest("periods") + ", " +
        Latest("depredWorks") + ", " + Latest("depredPeriods") + " FROM (" + RowsByVersion(scope) +
        ") p LEFT JOIN [OldUser]AMAssetFundAlter fa ON fa.lngAMAssetFundAlterID = "
        "p.lngAMAssetFundAlterID LEFT JOIN [OldUser]AMAssetAlter aa ON aa.lngAMAssetAlterID = "
        "fa.lngAMAssetAlterID GROUP BY p.lngAMAssetID, p.lngAMFundID) g");
    RunNative("ANALYZE " + std::string(kSourceJournal));
}

void DropSourceJournal() { RunNative("DROP TABLE " + std::string(kSourceJournal)); }

}  // namespace tk::am
