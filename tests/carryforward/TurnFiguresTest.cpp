// The carried-forward books against the old set's own: opening figures, lines
// and records to the cent, and the same charges to the end of every life.
#include <map>
#include <string>
#include <utility>

#include "CarryForwardFixture.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/PeriodCloser.hpp"
#include "ledger/YearEndTurn.hpp"

namespace tk::am::test {
namespace {

std::string Id(int32_t id) { return std::to_string(id); }

class TurnFiguresTest : public CarryForwardTest {
  protected:
    void SetUp() override {
        BuildYear();
        clsAMAssetTurn turn = Turn();
        std::string message;
        ASSERT_TRUE(turn.Execute(message)) << message;
        UseOld();
    }

    std::vector<int32_t> CarriedAssets() const {
        return {assets.straightLine, assets.declining,      assets.sumOfYears,
                assets.workload,     assets.fixedDeclining, assets.notDepreciated,
                assets.impaired,     assets.transferred,    assets.administrative};
    }

    // The old set's own figures for a source at the end of December 2024.
    std::string OldFundFigure(const std::string& expression, int32_t asset, int32_t fund) {
        return "Select " + expression +
               " From AMAssetFund f, AMAssetFundAlter fa, AMAssetFundBalance b"
               " Where fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID"
               " And b.lngAMAssetID = f.lngAMAssetID And b.lngAMFundID = f.lngAMFundID"
               " And b.intYear = 2024 And b.bytPeriod = 12 And f.lngAMAssetID = " +
               Id(asset) + " And f.lngAMFundID = " + Id(fund);
    }
    std::string NewOpening(const std::string& expression, int32_t asset, int32_t fund) {
        return "Select " + expression + " From " + next.name() + ".AMAssetFundAlter fa Where " +
               "fa.blnIsInit = 1 And fa.lngAMAssetID = " + Id(asset) +
               " And fa.lngAMFundID = " + Id(fund);
    }
    std::string NewJournal(const std::string& expression, int32_t asset, int32_t fund) {
        return "Select " + expression + " From " + next.name() + ".AMAssetFundDaily d, " +
               next.name() + ".AMAssetFundAlter fa Where fa.lngAMAssetFundAlterID = " +
               "d.lngAMAssetFundAlterID And fa.blnIsInit = 1 And d.lngAMAssetID = " + Id(asset) +
               " And d.lngAMFundID = " + Id(fund);
    }
    std::vector<int32_t> Funds(int32_t asset) {
        auto rs = conn->GetRecordset(
            "Select lngAMFundID From AMAssetFund Where lngAMAssetID = " + Id(asset), 3, 1);
        std::vector<int32_t> funds;
        for (; !rs->eof(); rs->moveNext()) funds.push_back(rs->field(0).toInt32());
        return funds;
    }
};

// Per asset and funding source, the new set opens on what the old set's own
// books show at the end of the year, to the cent.
TEST_F(TurnFiguresTest, OpeningRecordsAndJournalCarryTheOldClosingFigures) {
    struct Figure {
        const char* old;
        const char* opening;
        const char* journal;
    };
    const Figure figures[] = {
        {"fa.dblAmount", "fa.dblAmount", "d.dblTotalAmount"},
        {"b.dblInitDepreciation + b.dblDepreciation", "fa.dblDepreciation", "d.dblTotalDeprection"},
        {"fa.dblDecAmount", "fa.dblDecAmount", "d.dblTotalDecAmount"},
        {"fa.dblNetworth", "fa.dblNetworth", "d.dblTotalNetWorth"}};
    for (int32_t asset : CarriedAssets()) {
        for (int32_t fund : Funds(asset)) {
            SCOPED_TRACE("asset " + Id(asset) + " fund " + Id(fund));
            for (const Figure& f : figures) {
                int64_t closing = Cents(Scalar(OldFundFigure(f.old, asset, fund)));
                EXPECT_EQ(Cents(NewScalar(NewOpening(f.opening, asset, fund))), closing) << f.old;
                EXPECT_EQ(Cents(NewScalar(NewJournal(f.journal, asset, fund))), closing) << f.old;
            }
        }
        double periods = Scalar(OldFundFigure("Max(b.intInitPeriods + b.intPeriods)", asset, 1));
        double work = Scalar(OldFundFigure("Max(b.dblInitWork + b.dblWork)", asset, 1));
        const std::string card =
            " From " + next.name() + ".AMAsset Where lngAMAssetID = " + Id(asset);
        if (asset == assets.workload)
            EXPECT_EQ(NewScalar("Select dblStartWork" + card), work);
        else
            EXPECT_EQ(NewScalar("Select dblStartUsage" + card), periods) << asset;
        // The card opens on the last day of the old set, with no reference
        // to the old set's receipts.
        EXPECT_EQ(NewScalar("Select Count(*)" + card +
                            " And strCreateDate = '2024-12-31' And lngRefReceiptTypeID = 0 And "
                            "lngRefActivityDetailID = 0"),
                  1)
            << asset;
    }
    EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() +
                        ".AMAsset Where lngAMAssetID = " + Id(assets.disposed)),
              0);
}

// The new set charges, period by period and per funding source, what the old
// set itself goes on to charge, through the end of the declining assets'
// lives (May 2029): every method, both depreciation types, impairment and
// transfer included. Declining schedules begun mid-year keep their years:
//  - double-declining 50,000, residual 2,000, 5 years, bought May 2024, from
//    June: year 1 (Jun 2024-May 2025) 2/5 x 50,000 = 20,000, a twelfth each by
//    running total, so January 2025 (its 8th month) is 13,333.33 - 11,666.67 =
//    1,666.66 and May 2025 20,000 - 18,333.33 = 1,666.67; year 2 2/5 x 30,000
//    = 12,000 (June 2025: 1,000.00); year 3 2/5 x 18,000 = 7,200; years 4 and
//    5 share 10,800 - 2,000 = 8,800 (June 2027: 366.67);
//  - sum-of-years 36,000, residual 1,800, 3 years, bought March 2024: 34,200
//    x 3/6 = 17,100 for April 2024-March 2025 (1,425.00 a month), then x 2/6
//    = 11,400 (April 2025: 950.00), then x 1/6 = 5,700 (April 2026: 475.00);
//  - fixed-declining 40,000, residual 4,000, 4 years, bought February 2024:
//    rate 1 - (4,000 / 40,000)^(1/4) = 0.437659, year 1 (Mar 2024-Feb 2025)
//    40,000 x 0.437659 = 17,506.35, January 2025 (11th month) 16,047.49 -
//    14,588.63 = 1,458.86; year 2 22,493.65 x 0.437659 = 9,844.54, March 2025
//    9,844.54 / 12 = 820.38.
TEST_F(TurnFiguresTest, TheNewSetChargesWhatTheOldSetForecastsThroughTheEndOfLife) {
    const std::string years = "ARRAY[2026,2027,2028,2029]";
    accountSet.admin("DO $$ BEGIN PERFORM " + accountSet.name() + ".AMAssetMakePeriods(" + years +
                     "); PERFORM " + next.name() + ".AMAssetMakePeriods(" + years + "); END $$;");
    auto runToEndOfLife = [&] {
        for (int32_t yp = 202501; yp <= 202905; yp = yp % 100 == 12 ? yp + 89 : yp + 1) {
            RecordWork(assets.workload, yp / 100, static_cast<int16_t>(yp % 100), 2000);
            RunPeriod(yp / 100, static_cast<int16_t>(yp % 100));
        }
    };
    runToEndOfLife();
    UseNew();
    runToEndOfLife();
    UseOld();
    auto newCharge = [&](int32_t asset, int32_t fund, int32_t yp) {
        return Cents(NewScalar("Select Sum(dblDepreciation) From " + next.name() +
                               ".AMAssetFundBalance Where lngAMAssetID = " + Id(asset) +
                               (fund ? " And lngAMFundID = " + Id(fund) : std::string()) +
                               " And intYear * 100 + bytPeriod = " + Id(yp)));
    };
    const std::pair<int32_t, std::map<int32_t, int64_t>> textbook[] = {
        {assets.declining, {{202501, 166666}, {202505, 166667}, {202506, 100000}, {202706, 36667}}},
        {assets.sumOfYears, {{202501, 142500}, {202504, 95000}, {202604, 47500}}},
        {assets.fixedDeclining, {{202501, 145886}, {202503, 82038}}}};
    for (const auto& [asset, charges] : textbook)
        for (const auto& [yp, cents] : charges)
            EXPECT_EQ(newCharge(asset, 0, yp), cents) << "asset " << asset << " period " << yp;
    for (int32_t asset : CarriedAssets())
        for (int32_t fund : Funds(asset)) {
            std::map<int32_t, double> forecast = Charges(asset, fund);
            int months = 0;
            for (const auto& [yp, charge] : forecast) {
                if (yp < 202501) continue;
                ++months;
                EXPECT_EQ(newCharge(asset, fund, yp), Cents(charge))
                    << "asset " << asset << " fund " << fund << " period " << yp;
            }
            EXPECT_EQ(months, 53) << asset;
        }
}

// The asset's label, other card, custom fields, auxiliary equipment, document
// and image come over as they are; its label and other card open with records
// of the opening alteration, whose flags say which records the asset has.
TEST_F(TurnFiguresTest, AnAssetsRecordsComeOverWithIt) {
    const std::string asset = Id(assets.straightLine);
    for (const char* table : {"AMAssetLabel", "AMAssetLabelCustom", "AMAssetOther", "AMAssetCustom",
                              "AMAssetAux", "AMAssetDocument", "AMAssetImage"}) {
        std::vector<std::string> carried = Rows(table);
        ASSERT_EQ(carried.size(), 1u) << table;
        auto old = conn->GetRecordset(std::string("Select * From ") + table, 3, 1);
        std::string row;
        for (int i = 0; i < old->fieldCount(); ++i) row += old->field(i).toText() + "|";
        EXPECT_EQ(carried[0], row) << table;
    }
    EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() + ".AMAssetLabelAlter la, " +
                        next.name() + ".AMAssetAlter aa Where aa.lngAMAssetAlterID = " +
                        "la.lngAMAssetAlterID And aa.blnIsInit = 1 And la.intYear = 2025 And " +
                        "la.bytPeriod = 1 And la.lngAMAssetID = " + asset),
              1);
    EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() + ".AMAssetOtherAlter oa, " +
                        next.name() + ".AMAssetAlter aa Where aa.lngAMAssetAlterID = " +
                        "oa.lngAMAssetAlterID And aa.blnIsInit = 1 And oa.strDate = " +
                        "'2024-12-31' And oa.lngAMAssetID = " + asset),
              1);
    const std::string flags =
        "Select blnLabelAlter + blnAuxAlter + blnPicAlter + blnDocAlter + "
        "blnOtherAlter From " +
        next.name() + ".AMAssetAlter Where blnIsInit = 1 And lngAMAssetID = ";
    EXPECT_EQ(NewScalar(flags + asset), 5);
    EXPECT_EQ(NewScalar(flags + Id(assets.declining)), 0);
}

// The totals a carry-forward is proved by: the old set's journal before 2025
// and the new set's opening rows hold the same nine assets and amounts, and a
// cent more in the new set's journal is a disagreement.
TEST_F(TurnFiguresTest, TheTotalsOfBothSetsAgreeToTheCent) {
    UseNew();
    ledger::LedgerSession session(nextConn, 1, next.name());
    ledger::YearEndTurn yearEnd(session, accountSet.name(), "2025-01-01");
    const ledger::TurnTotals before = yearEnd.closing();
    EXPECT_EQ(before.assets, static_cast<double>(CarriedAssets().size()));
    EXPECT_TRUE(before.agreesWith(yearEnd.opening()));
    accountSet.admin("UPDATE " + next.name() +
                     ".AMAssetFundDaily SET dblAmountAlter = dblAmountAlter + "
                     "0.01 WHERE lngAMAssetID = " +
                     Id(assets.straightLine));
    EXPECT_FALSE(before.agreesWith(yearEnd.opening()));
}

// The straight-line asset's sources open with their cost and account lines:
// cost 72,000 and 48,000, depreciated 570.00 and 380.00 a month from
// February (six tenths and four of 114,000 over 120 months), 6,270.00 and
// 4,180.00 by December; the dollar line 72,000 / 7.1 = 10,140.85 and the
// dinar line 48,000 / 23.456 = 2,046.385, to the dinar's three decimals.
// January 2025 apportions the 950.00 over the lines: 665.00 to production,
// 285.00 to the general office.
TEST_F(TurnFiguresTest, CostAndAccountLinesOpenOnTheOldFigures) {
    const std::string opening =
        " And fa.blnIsInit = 1 And fa.lngAMAssetID = " + Id(assets.straightLine) +
        " Order By fa.lngAMFundID";
    auto figures = [&](const std::string& columns, const std::string& table) {
        std::vector<std::vector<double>> rows;
        auto rs = nextConn->GetRecordset(
            "Select " + columns + " From " + next.name() + "." + table + " l, " + next.name() +
                ".AMAssetFundAlter fa Where fa.lngAMAssetFundAlterID = l.lngAMAssetFundAlterID" +
                opening + ", 1, 2, 3",
            3, 1);
        for (; !rs->eof(); rs->moveNext()) {
            rows.emplace_back();
            for (int i = 0; i < rs->fieldCount(); ++i)
                rows.back().push_back(rs->field(i).toDouble());
        }
        return rows;
    };
    using Rows = std::vector<std::vector<double>>;
    EXPECT_EQ(
        figures("fa.lngAMFundID, l.lngCurrencyID, l.dblRate, l.dblCurrAmount, l.dblAmount, "
                "l.dblDepreciation, l.dblDecAmount",
                "AMAssetFundCostAlter"),
        (Rows{{1, 2, 7.1, 10140.85, 72000, 6270, 0}, {2, 3, 23.456, 2046.385, 48000, 4180, 0}}));
    EXPECT_EQ(figures("fa.lngAMFundID, l.lngAccountID, l.lngDepartmentID, l.dblRate",
                      "AMAssetFundAccAlter"),
              (Rows{{1, 13, 3, 70}, {1, 18, 1, 30}, {2, 13, 3, 70}, {2, 18, 1, 30}}));
    UseNew();
    RunPeriod(2025, 1);
    std::string message;
    EXPECT_TRUE(clsAMAssetAmortise().Execute(kOrg, message));
    EXPECT_EQ(
        tk::test::SortedRows(
            *nextConn, "Select lngAccountID, lngDepartmentID, Sum(dblAmount) From " + next.name() +
                           ".AMAssetFundBalanceAmortise Where bytDirection = 1 And "
                           "intYear = 2025 And lngAMAssetID = " +
                           Id(assets.straightLine) + " Group By lngAccountID, lngDepartmentID"),
        (std::vector<std::string>{"13|3|665|", "18|1|285|"}));
}

// A set made like the carried-forward one holds its reference data only, so
// an asset added to it depreciates as in a fresh set: double-declining, cost
// 100,000 over 60 months with a 4% residual value, added on 2025-01-20, it
// charges 2/5 of 100,000 over its first twelve months from February,
// 3,333.33 a month.
TEST_F(TurnFiguresTest, ASetMadeLikeACarriedForwardSetGivesANewAssetItsOwnSchedule) {
    ASSERT_GT(NewScalar("Select Count(*) From " + next.name() + ".AMAssetFundBasis"), 0)
        << "the carried schedules a copy must leave behind";
    AccountSetOptions options;
    options.years = {2025};
    options.like = next.name();
    const tk::test::TestAccountSet like("like", options);
    options.like.clear();
    options.demo = true;
    const tk::test::TestAccountSet fresh("fresh", options);

    auto charges = [](const tk::test::TestAccountSet& set) {
        auto setConn = set.useOnThisThread();
        const ledger::LedgerSession session(setConn, kOrg, set.name());
        ledger::NewAsset asset;
        asset.category = "02-01-01";
        asset.name = "加工中心";
        asset.cost = 100000;
        asset.residualRate = 4;
        asset.life = 60;
        asset.method = 4;
        asset.date = "2025-01-20";
        asset.department = "0103";
        const int32_t id = ledger::AssetAdder(session).add(asset).first;
        ledger::PeriodCloser(session).close({2025, 1}, {2025, 4});
        return tk::test::SortedRows(
            *setConn,
            "Select bytPeriod, Sum(dblDepreciation) From AMAssetFundBalance Where "
            "lngAMAssetID = " +
                Id(id) + " Group By bytPeriod");
    };
    auto likeConn = like.connect();
    for (const char* table :
         {"AMAssetFundBasis", "AMAsset", "AMAssetFundDaily", "Voucher", "AMAssetObjectMap"})
        EXPECT_EQ(tk::test::SortedRows(*likeConn, std::string("Select Count(*) From ") + table),
                  std::vector<std::string>{"0|"})
            << table << " of the reference set copied";
    const auto own = charges(fresh);
    EXPECT_EQ(own, (std::vector<std::string>{"1|0|", "2|3333.33|", "3|3333.34|", "4|3333.33|"}));
    EXPECT_EQ(charges(like), own);
    EXPECT_GT(
        std::stoi(tk::test::SortedRows(*likeConn, "Select last_value From AMAsset_SEQ").at(0)),
        static_cast<int>(NewScalar("Select Max(lngAMAssetID) From " + next.name() + ".AMAsset")))
        << "an id the new set draws is none the carry-forward brings";
}

}  // namespace
}  // namespace tk::am::test
