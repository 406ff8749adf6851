// The year-end as a real company meets it: a second organisation in the same
// sets, an old set that has already closed periods of the new year, and a
// journal whose totals were corrected by hand.
#include <string>

#include "CarryForwardFixture.hpp"
#include "OrganizationRows.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"

namespace tk::am::test {
namespace {

std::string Id(int32_t id) { return std::to_string(id); }

class TurnCornersTest : public CarryForwardTest {
  protected:
    void SetUp() override { BuildYear(); }

    void Carry(int32_t org = kOrg, const std::string& startDate = "2024-01-01") {
        clsAMAssetTurn turn = Turn(startDate, org);
        std::string message;
        EXPECT_TRUE(turn.Execute(message)) << message << Log("errSql") << Log("固定资产结转");
        UseOld();
    }
    void Apportion(int32_t org = kOrg) {
        std::string message;
        EXPECT_TRUE(clsAMAssetAmortise().Execute(org, message));
    }
    // Every row of an organisation in the old and the new set.
    struct BothSets {
        tk::test::OrganizationRows old, carried;
    };
    BothSets RowsOf(int32_t org) {
        return {tk::test::RowsOfOrganization(accountSet.name(), org),
                tk::test::RowsOfOrganization(next.name(), org)};
    }
    // The rows of a period of a new or old set's table, figures only.
    std::vector<std::string> Figures(connect::Connection& set, const std::string& schema,
                                     const std::string& columns, const std::string& table,
                                     int32_t yearPeriod) {
        return tk::test::SortedRows(set, "Select " + columns + " From " + schema + "." + table +
                                             " Where lngOrganizationID = 1 And intYear * 100 + "
                                             "bytPeriod = " +
                                             Id(yearPeriod));
    }
};

// Organisation 2 keeps its own year in the same sets and is carried first.
// Carrying organisation 1, and carrying it again, leaves every row of
// organisation 2 in both sets byte for byte as it was.
TEST_F(TurnCornersTest, CarryingOneOrganisationLeavesTheOthersRowsAsTheyWere) {
    BuildOtherYear();
    Carry(kOther);
    const BothSets before = RowsOf(kOther);
    ASSERT_FALSE(before.carried.at("amassetalter").empty());
    ASSERT_FALSE(before.carried.at("amassetfundcostalter").empty());
    for (int run = 1; run <= 2; ++run) {
        Carry();
        const BothSets after = RowsOf(kOther);
        EXPECT_EQ(tk::test::ChangedRows(before.old, after.old), "") << "run " << run;
        EXPECT_EQ(tk::test::ChangedRows(before.carried, after.carried), "") << "run " << run;
    }
}

// An organisation that started in the old set on the carry-forward date has
// every table of the old set copied whole. Another organisation that keeps
// its books in the new set only (made like the old one, so that its ids
// follow the old set's) keeps every row as it was, and so does the old set.
TEST_F(TurnCornersTest, CopyingWholeTablesLeavesTheOthersRowsAsTheyWere) {
    accountSet.admin(
        "DO $$ DECLARE s record; v bigint; BEGIN FOR s IN SELECT sequencename FROM "
        "pg_sequences WHERE schemaname = '" +
        lowerAscii(next.name()) + "' LOOP EXECUTE format('SELECT last_value FROM %I.%I', '" +
        lowerAscii(accountSet.name()) +
        "', s.sequencename) INTO v; PERFORM setval(format('%I.%I', '" + lowerAscii(next.name()) +
        "', s.sequencename), v); END LOOP; END $$");
    InNewSet([&] {
        AssetPlan van = AssetPlan::Of(2, 48000, 2400, 48);
        van.org = kOther;
        van.department = 7;
        van.year = 2025;
        AddAsset(van);
        RunPeriod(2025, 1, kOther);
        RunPeriod(2025, 2, kOther);
        Apportion(kOther);
    });
    const BothSets before = RowsOf(kOther);
    ASSERT_FALSE(before.carried.at("amassetfundbalanceamortise").empty());
    Carry(kOrg, "2025-01-01");
    const BothSets after = RowsOf(kOther);
    EXPECT_EQ(tk::test::ChangedRows(before.old, after.old), "");
    EXPECT_EQ(tk::test::ChangedRows(before.carried, after.carried), "");
}

// The old set closed January and February 2025 before the carry-forward:
// the new set holds both periods with the old set's figures to the cent,
// February, its latest, written again from the opening records, and both
// apportioned whole and posted.
TEST_F(TurnCornersTest, AnOldSetThatClosedTwoPeriodsOfTheNewYear) {
    for (int16_t period = 1; period <= 2; ++period) {
        RecordWork(assets.workload, 2025, period, 2000);
        RunPeriod(2025, period);
        Apportion();
    }
    Carry();
    const std::string balances =
        "lngAMAssetID, lngAMFundID, dblInitDepreciation, dblDepreciation, intInitPeriods, "
        "intPeriods, dblInitWork, dblWork";
    for (int32_t yp : {202501, 202502}) {
        SCOPED_TRACE(yp);
        const auto old = Figures(*conn, accountSet.name(), balances, "AMAssetFundBalance", yp);
        ASSERT_FALSE(old.empty());
        EXPECT_EQ(Figures(*nextConn, next.name(), balances, "AMAssetFundBalance", yp), old);
        const std::string charged = Id(yp) + " And lngOrganizationID = 1";
        EXPECT_EQ(NewScalar("Select dblDepreciation From " + next.name() +
                            ".AMAssetDepreciation Where intYear * 100 + bytPeriod = " + charged),
                  Scalar("Select dblDepreciation From AMAssetDepreciation Where intYear * 100 + "
                         "bytPeriod = " +
                         charged));
        const double apportioned = NewScalar(
            "Select Sum(dblAmount) From " + next.name() +
            ".AMAssetFundBalanceAmortise Where bytDirection = 1 And intYear * 100 + bytPeriod = " +
            charged);
        const double posted = NewScalar("Select Sum(dblDeprection) From " + next.name() +
                                        ".AMAssetFundDaily Where blnFromDepreciation = 1 And "
                                        "YearPeriod = " +
                                        charged);
        EXPECT_EQ(Cents(apportioned),
                  Cents(Scalar("Select Sum(dblDepreciation) From AMAssetFundBalance "
                               "Where intYear * 100 + bytPeriod = " +
                               charged)));
        EXPECT_EQ(Cents(posted), Cents(apportioned));
    }
}

// December's impairment of the impaired asset: an older release posted the
// month's depreciation on the source version it was charged on, the one
// before the impairment, after the impairment's movement on the new one. The
// source opens on the running totals of its last posted row whichever
// version it carries, not on the movement's, which lack December's charge:
// with a total a company corrected by a cent, a cent above its movements.
TEST_F(TurnCornersTest, EachSourceOpensOnItsLastPostedRowWhateverVersionItCarries) {
    const std::string source =
        " Where lngAMAssetID = " + Id(assets.impaired) + " And lngAMFundID = 1";
    const std::string last = "(Select Max(lngAMAssetFundDailyID) From AMAssetFundDaily" + source +
                             " And YearPeriod = 202412)";
    const std::string before =
        "(Select fa.lngAMAssetFundRecentAlterID From AMAssetFundAlter fa, AMAssetFund f Where "
        "fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMAssetID = " +
        Id(assets.impaired) + " And f.lngAMFundID = 1)";
    ASSERT_EQ(Scalar("Select blnFromDepreciation From AMAssetFundDaily Where "
                     "lngAMAssetFundDailyID = " +
                     last),
              1);
    const double total = Scalar(
        "Select dblTotalDeprection From AMAssetFundDaily Where "
        "lngAMAssetFundDailyID = " +
        last);
    Execute(
        "Update AMAssetFundDaily Set lngAMAssetFundAlterID = " + before +
        ", dblTotalDeprection = dblTotalDeprection + 0.01 Where lngAMAssetFundDailyID = " + last);
    Carry();
    EXPECT_EQ(Cents(NewScalar("Select dblDepreciation From " + next.name() +
                              ".AMAssetFundAlter Where blnIsInit = 1 And lngAMAssetID = " +
                              Id(assets.impaired) + " And lngAMFundID = 1")),
              Cents(total) + 1);
}

}  // namespace
}  // namespace tk::am::test
