// The ledger's operations through the library against the test server, their
// effects checked in the account set's tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "TestDatabase.hpp"
#include "frame/Conversion.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetAlterer.hpp"
#include "ledger/AssetDisposer.hpp"
#include "ledger/AssetInputError.hpp"
#include "ledger/LedgerQueries.hpp"
#include "ledger/PeriodCloser.hpp"

namespace tk::test {
namespace {

using namespace ledger;

class LedgerTest : public ::testing::Test {
  protected:
    Variant value(const std::string& sql) {
        auto rs = conn_->GetRecordset(sql, 3, 1);
        return rs->eof() ? Variant() : rs->field(0);
    }
    double scalar(const std::string& sql) {
        Variant v = value(sql);
        return v.isNull() ? 0 : v.toDouble();
    }
    double everyAssetRow() {
        return scalar(
            "Select (Select Count(*) From AMAsset) + (Select Count(*) From AMAssetAlter) +"
            " (Select Count(*) From AMAssetFund) + (Select Count(*) From AMAssetFundAlter) +"
            " (Select Count(*) From AMAssetFundAccAlter) From dual");
    }
    static NewAsset lathe() {
        NewAsset a;
        a.category = "02-01-01";
        a.name = "数控车床";
        a.cost = 120000;
        a.date = "2024-01-15";
        a.department = "0103";
        return a;
    }
    // The lathe's record under another category, cost and depreciation method.
    static NewAsset like(const std::string& category, double cost, int16_t method) {
        NewAsset a = lathe();
        a.category = category;
        a.cost = cost;
        a.method = method;
        return a;
    }
    // Depreciated by its 500,000 km of work.
    static NewAsset lorry() {
        NewAsset a = like("03-01-02", 300000, 3);
        a.totalWork = 500000;
        return a;
    }
    // Sum of the years' digits over three years, without residual value.
    static NewAsset copier() {
        NewAsset a = like("04-02", 36000, 5);
        a.life = 36;
        a.residualRate = 0;
        a.date = "2024-02-03";
        a.department = "0101";
        return a;
    }
    std::string add(const NewAsset& asset) { return AssetAdder(session_).add(asset).second; }
    void close(const std::string& from, const std::string& to) {
        PeriodCloser(session_).close(YearPeriod::parse(from), YearPeriod::parse(to));
    }
    void alter(const std::string& code, const std::string& date,
               const std::function<void(AssetAlteration&)>& set) {
        AssetAlteration change;
        change.date = date;
        set(change);
        AssetAlterer(session_).alter(code, change);
    }
    Figures registerTotal(const std::string& period) {
        Figures total;
        for (const auto& r : LedgerQueries(session_).register_(YearPeriod::parse(period)))
            total += r.figures;
        return total;
    }
    double charged(int period) {
        return scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where bytPeriod = " +
                      std::to_string(period));
    }

    TestAccountSet set_{"ledger", true};
    std::shared_ptr<connect::Connection> conn_ = set_.useOnThisThread();
    LedgerSession session_{conn_, 1, set_.name()};
};

TEST_F(LedgerTest, BadInputNamesItsFieldAndWritesNothing) {
    const double before = everyAssetRow();
    auto fieldOf = [&](const std::function<void(NewAsset&)>& spoil) {
        NewAsset asset = lathe();
        spoil(asset);
        try {
            add(asset);
        } catch (const AssetInputError& e) {
            return e.field();
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(fieldOf([](NewAsset& a) { a.category = "02-01"; }), "category") << "not a detail";
    EXPECT_EQ(fieldOf([](NewAsset& a) { a.funds = {{"09", 100}}; }), "fund");
    EXPECT_EQ(fieldOf([](NewAsset& a) {
                  a.accountLines = {{"999999", "0103", 100}};
              }),
              "accountLine");
    EXPECT_EQ(fieldOf([](NewAsset& a) { a.cost = -5; }), "cost");
    const std::string taken = add(lathe());
    EXPECT_EQ(fieldOf([&](NewAsset& a) { a.code = taken; }), "code");
    EXPECT_THROW(close("2031-01", "2031-01"), std::runtime_error);
    EXPECT_THROW(close("2024-02", "2024-02"), std::runtime_error) << "January is still open";
    EXPECT_THROW(close("2024-03", "2024-01"), std::runtime_error);
    EXPECT_THROW(LedgerSession(conn_, 9), std::runtime_error) << "no such organisation";
    EXPECT_EQ(scalar("Select Count(*) From AMAsset"), 1);
    EXPECT_GT(everyAssetRow(), before);
}

TEST_F(LedgerTest, TheRegisterAddsUpToTheJournalAndTheBalances) {
    NewAsset first = lathe();
    first.accountLines = {{"510101", "0103", 70}, {"660201", "0101", 30}};
    first.funds = {{"01", 60}, {"02", 40}};
    add(first);
    NewAsset lorry = LedgerTest::lorry();
    lorry.funds = {{"01", 50}, {"02", 50}};
    add(lorry);
    add(copier());
    close("2024-01", "2024-04");

    const Figures total = registerTotal("2024-04");
    const double depreciation = scalar(
        "Select Sum(dblDepreciation) From AMAssetFundBalance Where intYear * 100 + bytPeriod <= "
        "202404");
    EXPECT_GT(depreciation, 0);
    EXPECT_NEAR(
        total.cost,
        scalar("Select Sum(dblAmountAlter) From AMAssetFundDaily Where YearPeriod <= 202404"),
        0.005);
    EXPECT_NEAR(total.depreciation, depreciation, 0.005)
        << "the journal holds what the balances do";

    const auto april = YearPeriod::parse("2024-04");
    const auto rows = LedgerQueries(session_).depreciation(april, april, false);
    double charges = 0;
    bool production = false;
    for (const auto& r : rows) {
        charges += r.amount;
        production |= r.accountCode == "510101" && r.department == "生产部";
    }
    EXPECT_TRUE(production) << "the lathe's line of 70% to production";
    EXPECT_NEAR(charges, charged(4), 0.005);
    double byFund = 0;
    std::set<std::string> funds;
    for (const auto& r : LedgerQueries(session_).depreciation(april, april, true)) {
        byFund += r.amount;
        funds.insert(r.fund);
    }
    EXPECT_NEAR(byFund, charges, 0.005);
    EXPECT_EQ(funds.size(), 2u);
}

// Each close books its apportionment, and the report shows those rows: the
// lathe (120,000, 5% residual, 120 months) charges 950.00 a month from
// February, 70% to production and 30% to the general office; the copier
// (36,000 by the sum of the years' digits over three years, no lines)
// charges 1,500.00 a month from March, unapportioned in its own department;
// the press (36,000.36 over 36 months) charges 1,000.01 over lines of
// 33.34%, 33.33% and 33.33%: 333.40, 333.30, 333.30 and the cent left to
// the heaviest line. Open periods show,
// on trial, what their close then books.
TEST_F(LedgerTest, EveryClosedPeriodIsApportionedAndTheReportShowsWhatTheBooksHold) {
    NewAsset lathe = LedgerTest::lathe();
    lathe.residualRate = 5;
    lathe.life = 120;
    lathe.method = 2;
    lathe.funds = {{"01", 60}, {"02", 40}};
    lathe.accountLines = {{"510101", "0103", 70}, {"660201", "0101", 30}};
    add(lathe);
    add(copier());
    NewAsset press = like("02-01-01", 36000.36, 2);
    press.name = "压力机";
    press.life = 36;
    press.residualRate = 0;
    press.accountLines = {
        {"660101", "0105", 33.34}, {"660201", "0102", 33.33}, {"660201", "0104", 33.33}};
    add(press);
    close("2024-01", "2024-06");
    const YearPeriod first = YearPeriod::parse("2024-01"), last = YearPeriod::parse("2024-09");
    const auto trial = LedgerQueries(session_).depreciation(first, last, true);
    close("2024-07", "2024-09");
    const auto booked = LedgerQueries(session_).depreciation(first, last, true);

    auto line = [](const DepreciationRow& r) {
        return r.period.text() + " " + r.fund + " " + r.accountCode + " " + r.accountName + " " +
               r.department + " " + am::formatAmount(r.amount);
    };
    std::vector<std::string> trialLines, bookedLines, march;
    for (const auto& r : trial) trialLines.push_back(line(r));
    for (const auto& r : booked) bookedLines.push_back(line(r));
    EXPECT_EQ(trialLines, bookedLines) << "the trial shows what the close books";
    for (const auto& r : LedgerQueries(session_).depreciation(YearPeriod::parse("2024-03"),
                                                              YearPeriod::parse("2024-03"), false))
        march.push_back(r.accountCode + " " + r.accountName + " " + r.department + " " +
                        am::formatAmount(r.amount));
    EXPECT_EQ(march, (std::vector<std::string>{
                         "510101 折旧费用 生产部 665.00", "660101 折旧费用 销售部 333.41",
                         "660201 折旧费用 信息中心 333.30", "660201 折旧费用 总经理办公室 285.00",
                         "660201 折旧费用 财务部 333.30", " 未分摊 总经理办公室 1500.00"}));
    for (int period = 1; period <= 9; ++period) {
        const std::string p = " And intYear = 2024 And bytPeriod = " + std::to_string(period);
        double reported = 0;
        for (const auto& r : booked)
            if (r.period.period == period) reported += r.amount;
        EXPECT_NEAR(reported, charged(period), 0.001) << period;
        EXPECT_EQ(scalar("Select Count(*) From AMAssetFundBalance b Where b.dblDepreciation <> "
                         "(Select Nvl(Sum(a.dblAmount), 0) From AMAssetFundBalanceAmortise a"
                         " Where a.bytDirection = 1 And a.lngAMAssetFundAlterID = "
                         "b.lngAMAssetFundAlterID And a.intYear = b.intYear And a.bytPeriod = "
                         "b.bytPeriod)" +
                         p),
                  0)
            << "every source's charge apportioned whole, period " << period;
    }
}

TEST_F(LedgerTest, RecordedWorkDrivesTheWorkloadMethod) {
    NewAsset lorry = LedgerTest::lorry();
    lorry.residualRate = 5;
    lorry.date = "2024-01-20";
    const std::string code = add(lorry);
    close("2024-01", "2024-01");
    PeriodCloser(session_).recordWork(code, YearPeriod::parse("2024-02"), 5000);
    EXPECT_THROW(PeriodCloser(session_).recordWork(code, YearPeriod::parse("2024-02"), -1),
                 std::runtime_error);
    close("2024-02", "2024-02");
    EXPECT_EQ(charged(2), 285000.0 * 5000 / 500000);
    EXPECT_EQ(LedgerQueries(session_).asset(code).depreciation.back().charge, 2850);
}

TEST_F(LedgerTest, ADisposedAssetLeavesTheRegisterOnceAndForAll) {
    NewAsset first = lathe();
    first.funds = {{"01", 50}, {"02", 50}};
    first.accountLines = {{"510101", "0103", 100}};
    const std::string code = add(first);
    NewAsset printer = lathe();
    printer.category = "04-02";
    printer.name = "打印机";
    printer.cost = 6000;
    printer.date = "2024-01-10";
    add(printer);
    close("2024-01", "2024-03");
    const AssetDisposer disposer(session_);
    disposer.dispose(code, "2024-04-10", "08");
    const double rows = everyAssetRow();
    EXPECT_THROW(disposer.dispose(code, "2024-04-11", "08"), std::runtime_error);
    EXPECT_THROW(disposer.dispose(code, "2024-04-11", "01"), std::runtime_error)
        << "not a decrease";
    EXPECT_EQ(everyAssetRow(), rows);
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFundAccAlter"), 4)
        << "lines carried to the decrease";

    close("2024-04", "2024-04");
    const Figures total = registerTotal("2024-04");
    EXPECT_EQ(total.cost, 6000);
    EXPECT_EQ(total.depreciation,
              scalar("Select Sum(dblDepreciation) From AMAssetFundBalance b, AMAsset a"
                     " Where a.lngAMAssetID = b.lngAMAssetID And a.lngAMAssetTypeID = 22"));
}

TEST_F(LedgerTest, AnAlterationSharesItsChangesOverTheSourcesAndMovesTheAsset) {
    NewAsset first = lathe();
    first.funds = {{"01", 60}, {"02", 40}};
    first.accountLines = {{"510101", "0103", 100}};
    const std::string code = add(first);
    close("2024-01", "2024-04");
    const double rows = everyAssetRow();
    const std::vector<std::function<void(AssetAlteration&)>> refused = {
        [](AssetAlteration&) {}, [](AssetAlteration& a) { a.cost = 120000; },
        [](AssetAlteration& a) { a.department = "9999"; },
        [](AssetAlteration& a) {
            a.cost = 1;
            a.way = "01";
        }};
    for (size_t i = 0; i < refused.size(); ++i)
        EXPECT_THROW(alter(code, "2024-05-05", refused[i]), std::runtime_error) << i;
    EXPECT_THROW(add(lathe()), std::runtime_error) << "an addition dated in a depreciated period";
    EXPECT_EQ(everyAssetRow(), rows);

    alter(code, "2024-05-05", [](AssetAlteration& a) {
        a.cost = 150000;
        a.impairment = 1000;
    });
    const std::string latest =
        " From AMAssetFundAlter fa, AMAssetFund f Where fa.lngAMAssetFundAlterID ="
        " f.lngAMAssetFundLastAlterID";
    EXPECT_EQ(scalar("Select dblAmountAlter" + latest + " And f.lngAMFundID = 1"), 18000);
    EXPECT_EQ(scalar("Select dblDecAmountAlter" + latest + " And f.lngAMFundID = 2"), 400);
    EXPECT_EQ(scalar("Select Sum(dblAmount)" + latest), 150000);
    alter(code, "2024-05-20", [](AssetAlteration& a) { a.department = "0101"; });
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFundAccAlter l, AMAssetFund f"
                     " Where l.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID"
                     " And l.lngDepartmentID = 1"),
              2)
        << "the lines follow the asset to its new department";

    close("2024-05", "2024-06");
    const Figures total = registerTotal("2024-06");
    EXPECT_EQ(total.cost, 150000);
    EXPECT_EQ(total.impairment, 1000);
    EXPECT_EQ(LedgerQueries(session_).register_(YearPeriod::parse("2024-06")).at(0).department,
              "总经理办公室");
    const auto june = YearPeriod::parse("2024-06");
    const auto charges = LedgerQueries(session_).depreciation(june, june, false);
    EXPECT_TRUE(std::ranges::any_of(charges, [](const DepreciationRow& r) {
        return r.accountCode == "510101" && r.department == "总经理办公室";
    })) << "the line followed the asset";
    const AssetDetail detail = LedgerQueries(session_).asset(code);
    EXPECT_EQ(detail.versions.at(1).way, "计提减值准备");
    EXPECT_EQ(detail.versions.at(2).way, "部门调拨");
}

TEST_F(LedgerTest, TheScheduleForecastsWhatThePeriodEndsWillCharge) {
    NewAsset first = lathe();
    first.life = 120;
    first.method = 2;
    first.residualRate = 5;
    const std::string code = add(first);
    add(copier());
    close("2024-01", "2024-03");
    alter(code, "2024-05-10", [](AssetAlteration& a) { a.impairment = 5000; });
    const std::string written =
        "Select (Select Count(*) From AMAssetFundBalance) + (Select Count(*) From "
        "AMAssetFundBalanceEx) + (Select Count(*) From AMAssetDepreciation) From dual";
    const double rows = scalar(written);
    const Schedule forecast = LedgerQueries(session_).schedule(2024);
    EXPECT_EQ(scalar(written), rows) << "the trial run keeps nothing";
    EXPECT_TRUE(forecast.isOpen(4));
    EXPECT_FALSE(forecast.isOpen(3));

    close("2024-04", "2024-12");
    const Schedule actual = LedgerQueries(session_).schedule(2024);
    ASSERT_EQ(actual.rows.size(), forecast.rows.size());
    double year = 0, after = 0;
    for (size_t i = 0; i < actual.rows.size(); ++i) {
        EXPECT_EQ(actual.rows[i].months, forecast.rows[i].months) << actual.rows[i].code;
        year += std::accumulate(actual.rows[i].months.begin(), actual.rows[i].months.end(), 0.0);
        after += actual.rows[i].after;
    }
    EXPECT_EQ(actual.netBookValue, forecast.netBookValue);
    EXPECT_NEAR(year + after, (120000 * 0.95 - 5000) + 36000, 0.005)
        << "the year and what is left add up to what the schedules depreciate";
    EXPECT_NEAR(actual.netBookValue[11], registerTotal("2024-12").netValue(), 0.005)
        << "the forecast ends where the register stands";
}

// The year after the account set's last is forecast too, on periods that
// are not kept: the lathe (114,000 over 120 months from February 2024)
// charges 950.00 every month of 2026 and leaves 114,000 - 35 x 950 after it.
TEST_F(LedgerTest, TheScheduleForecastsTheYearAfterTheAccountSetsLast) {
    add(lathe());
    close("2024-01", "2025-12");
    const double periods = scalar("Select Count(*) From AccountPeriod");
    ASSERT_EQ(LedgerQueries(session_).periodSpan().second.key(), 202512);

    const Schedule next = LedgerQueries(session_).schedule(2026);
    ASSERT_EQ(next.rows.size(), 1u);
    for (double month : next.rows[0].months) EXPECT_DOUBLE_EQ(month, 950.00);
    EXPECT_DOUBLE_EQ(next.rows[0].after, 114000 - 35 * 950.00);
    EXPECT_EQ(next.byCategory.size(), 12u) << "the category chart sees the trial months too";
    EXPECT_EQ(scalar("Select Count(*) From AccountPeriod"), periods);
}

// A lathe of 120,000 (sources 60/40, residual 6,000, 120 months) charges
// 950.00 a month; a 1,000 impairment in June leaves 108,250 over 115 months
// from July: 941.30.  A 30% partial decrease dated in July takes out 36,000
// of cost with 30% of the impairment, the residual value and the 5,691.30
// depreciated by the end of July, source by source; what stays depreciates
// at 70%: 75,116.09 over the 114 months left, 658.91 a month.
TEST_F(LedgerTest, APartialDecreaseTakesItsShareOfEveryFigureSourceBySource) {
    NewAsset first = lathe();
    first.life = 120;
    first.method = 2;
    first.residualRate = 5;
    first.funds = {{"01", 60}, {"02", 40}};
    const std::string code = add(first);
    close("2024-01", "2024-05");
    alter(code, "2024-06-10", [](AssetAlteration& a) { a.impairment = 1000; });
    close("2024-06", "2024-06");
    const AssetDisposer disposer(session_);
    try {
        disposer.disposePart(code, "2024-07-20", "08", 120000);
        ADD_FAILURE() << "the whole cost is no part";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("须大于 0 且小于原值 120,000.00"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(disposer.costOfPart(code, "30%"), 36000);
    disposer.disposePart(code, "2024-07-20", "08", 36000);
    auto out = [&](int fund, const std::string& column) {
        return scalar("Select fa." + column +
                      " From AMAssetFundAlter fa, AMAssetFund f Where "
                      "fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMFundID "
                      "= " +
                      std::to_string(fund));
    };
    EXPECT_EQ(out(1, "dblAmountAlter"), -21600);
    EXPECT_EQ(out(2, "dblAmountAlter"), -14400);
    EXPECT_EQ(out(1, "dblDepreciationAlter"), -1024.43) << "30% of 3,414.78";
    EXPECT_EQ(out(2, "dblDepreciationAlter"), -682.96) << "30% of 2,276.52";
    EXPECT_EQ(out(1, "dblDecAmountAlter") + out(2, "dblDecAmountAlter"), -300);
    EXPECT_EQ(out(1, "dblNetworthAlter") + out(2, "dblNetworthAlter"), -1800);

    close("2024-07", "2024-12");
    EXPECT_NEAR(charged(7), 941.30, 0.001) << "July still runs on the whole asset";
    EXPECT_NEAR(charged(8), 658.91, 0.001);
    const Figures total = registerTotal("2024-12");
    EXPECT_NEAR(total.cost, 84000, 0.001);
    EXPECT_NEAR(total.depreciation,
                5691.30 - 1707.39 +
                    scalar("Select Sum(dblDepreciation) From AMAssetFundBalance "
                           "Where bytPeriod > 7"),
                0.005)
        << "the register's depreciation is what stays of the months charged";
}

}  // namespace
}  // namespace tk::test
