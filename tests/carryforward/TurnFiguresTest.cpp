#include <string>

#include "CarryForwardFixture.hpp"

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
    }
    EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() +
                        ".AMAsset Where lngAMAssetID = " + Id(assets.disposed)),
              0);
}

// A year in the new set charges what the old set itself would have charged,
// month by month, for schedules whose depreciation year is the calendar year;
// the workload asset follows its work. (The new set starts a schedule of its
// own at the opening record, so a declining schedule begun mid-year restarts
// its years there: that is the engine's to carry, see the closing note.)
TEST_F(TurnFiguresTest, NextYearChargesWhatTheOldSetForecasts) {
    const std::vector<int32_t> carried = {assets.straightLine, assets.workload,
                                          assets.notDepreciated, assets.transferred};
    auto runYear = [&] {
        for (int16_t period = 1; period <= 12; ++period) {
            RecordWork(assets.workload, 2025, period, 2000);
            RunPeriod(2025, period);
        }
    };
    runYear();
    std::map<int32_t, std::map<int32_t, std::map<int32_t, double>>> forecast;
    for (int32_t asset : carried)
        for (int32_t fund : Funds(asset)) forecast[asset][fund] = Charges(asset, fund);
    UseNew();
    runYear();
    UseOld();
    for (int32_t asset : carried)
        for (int32_t fund : Funds(asset)) {
            auto rs = nextConn->GetRecordset(
                "Select intYear * 100 + bytPeriod, Sum(dblDepreciation) From " + next.name() +
                    ".AMAssetFundBalance Where lngAMAssetID = " + Id(asset) +
                    " And lngAMFundID = " + Id(fund) +
                    " Group By intYear * 100 + bytPeriod Order By 1",
                3, 1);
            int months = 0;
            for (; !rs->eof(); rs->moveNext(), ++months)
                EXPECT_EQ(Cents(rs->field(1).toDouble()),
                          Cents(forecast[asset][fund][rs->field(0).toInt32()]))
                    << "asset " << asset << " fund " << fund << " period "
                    << rs->field(0).toInt32();
            EXPECT_EQ(months, 12) << asset;
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

}  // namespace
}  // namespace tk::am::test
