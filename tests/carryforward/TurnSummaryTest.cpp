// The carry-forward's summary of opening totals must agree with the joined
// journal, also over pending versions, lost card versions and two organisations.
#include <stdexcept>
#include <string>

#include "CarryForwardFixture.hpp"
#include "carryforward/TurnDataCopy.hpp"

namespace tk::am::test {
namespace {

// The summary of opening totals as the carry-forward has always defined it:
// the journal of the organisation before the date, joined to its source and
// card versions, and each source's latest period joined back from a grouping.
std::string ReferenceSummary(const std::string& old) {
    return "SELECT fd.lngAMAssetID, MAX(Decode(fd.YearPeriod, fdx.YearPeriod, Decode(fa.bytStatus, "
           "2, fd.lngAMAssetAlterID, aa.lngAMAssetRecentAlterID), 0)) As lngAMAssetAlterID, "
           "Round(SUM(fd.dblAmountAlter - Decode(fa.bytStatus, 2, 0, 1) * Decode(fd.YearPeriod, "
           "fdx.YearPeriod, 1, 0) * (fa.dblAmountAlter + fa.dblTransferAmountAlter)),2) As "
           "dblTotalAmount, Round(SUM((fd.dblDeprectionAlter + fd.dblDeprection) - "
           "Decode(fa.bytStatus, 2, 0, 1) * Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * "
           "(fa.dblDepreciationAlter + fa.dblTransferDepreciationAlter)),2) As dblTotalDeprection, "
           "Round(SUM(fd.dblDecAmountAlter - Decode(fa.bytStatus, 2, 0, 1) * Decode(fd.YearPeriod, "
           "fdx.YearPeriod, 1, 0) * (fa.dblDecAmountAlter + fa.dblTransferDecAmountAlter)),2) As "
           "dblTotalDecAmount, Round(SUM(fd.dblNetworthAlter - Decode(fa.bytStatus, 2, 0, 1) * "
           "Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * fa.dblNetworthAlter),2) As "
           "dblTotalNetWorth, MAX(Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * fd.dblTotalWorks) "
           "as dblTotalWorks, MAX(Decode(fd.YearPeriod, fdx.YearPeriod, 1, 0) * "
           "fd.intTotalPeriods) as intTotalPeriods, MAX(Decode(fd.YearPeriod, fdx.YearPeriod, 1, "
           "0) * fd.dblTotalDepredWorks) as dblTotalDepredWorks, MAX(Decode(fd.YearPeriod, "
           "fdx.YearPeriod, 1, 0) * fd.intTotalDepredPeriods) as intTotalDepredPeriods FROM " +
           old + ".AMAssetFundDaily fd, " + old + ".AMAssetFundAlter fa, " + old +
           ".AMAssetAlter aa, (SELECT fd.lngOrganizationID, fd.lngAMAssetID, fd.lngAMFundID, "
           "Max(fd.YearPeriod) As YearPeriod FROM " +
           old +
           ".AMAssetFundDaily fd WHERE fd.lngOrganizationID = 1 AND fd.YearPeriod < 202501 GROUP "
           "BY fd.lngOrganizationID, fd.lngAMAssetID, fd.lngAMFundID) fdx WHERE "
           "fd.lngAMAssetFundAlterID = fa.lngAMAssetFundAlterID AND fa.lngAMAssetAlterID = "
           "aa.lngAMAssetAlterID AND fd.lngOrganizationID = fdx.lngOrganizationID AND "
           "fd.lngAMAssetID = fdx.lngAMAssetID AND fd.lngAMFundID = fdx.lngAMFundID AND "
           "fd.lngOrganizationID = 1 AND fd.YearPeriod < 202501 GROUP BY fd.lngAMAssetID";
}

class TurnSummaryTest : public CarryForwardTest {
  protected:
    void SetUp() override { BuildYear(); }
};

// The summary comes from one grouping of the journal by source, shared with
// the opening records; it must still say what the joined journal says, also
// where a source's latest version waits for approval, where journal rows
// have lost their card version, and where an asset's rows lie partly in
// another organisation.
TEST_F(TurnSummaryTest, TheSummaryAgreesWithTheJoinedJournal) {
    const std::string old = accountSet.name();
    auto asset = [](int32_t id) { return std::to_string(id); };
    accountSet.admin(
        "UPDATE " + old +
        ".AMAssetFundAlter SET bytStatus = 1, dblTransferAmountAlter = 7.125, "
        "dblTransferDepreciationAlter = -3.333, dblNetworthAlter = dblNetworthAlter + 0.5 "
        "WHERE lngAMAssetFundAlterID IN (SELECT lngAMAssetFundAlterID FROM " +
        old + ".AMAssetFundDaily WHERE YearPeriod = 202412 AND lngAMAssetID = " +
        asset(assets.impaired) + ");" + "DELETE FROM " + old +
        ".AMAssetAlter WHERE lngAMAssetID = " + asset(assets.transferred) +
        " AND lngAMAssetAlterID > (SELECT min(lngAMAssetAlterID) FROM " + old +
        ".AMAssetAlter WHERE lngAMAssetID = " + asset(assets.transferred) + ");" + "UPDATE " + old +
        ".AMAssetFundDaily SET lngOrganizationID = 2 WHERE YearPeriod < 202403 AND " +
        "lngAMAssetID = " + asset(assets.straightLine));
    clsAMAssetTurn turn = Turn();
    turn.scope.newYear = 2025;
    turn.scope.newPeriod = 1;
    TurnDataCopy data(turn.scope);
    const std::string summary = "Select * From " + data.summaryTable();
    const std::string reference = ReferenceSummary(old);
    auto count = [&](const std::string& rows) {
        return NewScalar("Select Count(*) From (" + rows + ") x");
    };
    // The grouping lives as long as the run's transaction.
    nextConn->BeginTrans();
    double built = 0, expected = 0, differing = 0;
    bool copied = false;
    try {
        copied = data.CopyCurrentAlterations();
        if (!copied) throw std::runtime_error("the summary was not built");
        built = count(summary);
        expected = count(reference);
        differing = count("(" + summary + " Minus " + reference + ") Union All (" + reference +
                          " Minus " + summary + ")");
    } catch (...) {
        nextConn->RollbackTrans();
        throw;
    }
    nextConn->RollbackTrans();
    ASSERT_TRUE(copied);
    EXPECT_GT(built, 0);
    EXPECT_EQ(built, expected);
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace tk::am::test
