// Whole lives, one group per depreciation method, against textbook figures.
#include <cmath>
#include <numeric>

#include "DepreciationFixture.hpp"

namespace tk::am::test {
namespace {

// A year's figure spread over its months as the rounded running total.
std::vector<int64_t> MonthsOf(int64_t yearCents, int months = 12) {
    std::vector<int64_t> spread;
    for (int m = 1; m <= months; ++m)
        spread.push_back(std::llround(yearCents * m / double(months)) -
                         std::llround(yearCents * (m - 1) / double(months)));
    return spread;
}

class MethodTest : public DepreciationTest {
  protected:
    // Runs the whole life month by month and checks every depreciation year
    // against its figure and every month against the year's spread.
    void ExpectYears(int32_t asset, int32_t firstCharged, const std::vector<double>& years) {
        SCOPED_TRACE("asset " + std::to_string(asset));
        auto charges = Charges(asset);
        int32_t yp = firstCharged;
        for (size_t y = 0; y < years.size(); ++y) {
            int64_t sum = 0;
            for (int64_t expected : MonthsOf(Cents(years[y]))) {
                EXPECT_EQ(Cents(charges[yp]), expected) << "period " << yp;
                sum += Cents(charges[yp]);
                yp = NextPeriod(yp);
            }
            EXPECT_EQ(sum, Cents(years[y])) << "year " << y + 1;
        }
        for (; charges.count(yp); yp = NextPeriod(yp))
            EXPECT_EQ(charges[yp], 0) << "after the life, " << yp;
    }
};

// 100,000 with a residual value of 4,000 over five years by each time method;
// straight-line rounds by year when the months do not divide.
TEST_F(MethodTest, TimeMethodsGiveTheTextbookYearsSpreadOverTheirMonths) {
    int32_t straight = AddAsset(AssetPlan::Of(2, 100000, 4000, 60));
    int32_t rounded = AddAsset(AssetPlan::Of(2, 10000, 0, 36));
    int32_t declining = AddAsset(AssetPlan::Of(4, 100000, 4000, 60));
    int32_t digits = AddAsset(AssetPlan::Of(5, 100000, 4000, 60));
    RunPeriods(2024, 1, 63);
    EXPECT_EQ(Charges(straight)[202401], 0) << "enterprise rule: nothing in the month of addition";
    ExpectYears(straight, 202402, {19200, 19200, 19200, 19200, 19200});
    ExpectYears(rounded, 202402, {3333.33, 3333.33, 3333.34});
    // Double-declining switches to straight-line for the last two years.
    ExpectYears(declining, 202402, {40000, 24000, 14400, 8800, 8800});
    // Sum of the years' digits weighs the remaining years.
    ExpectYears(digits, 202402, {32000, 25600, 19200, 12800, 6400});
}

TEST_F(MethodTest, FixedDecliningAppliesItsRateToTheCarryingAmount) {
    int32_t asset = AddAsset(AssetPlan::Of(6, 100000, 10000, 60));
    RunPeriods(2024, 1, 63);
    double rate = 1 - std::pow(10000.0 / 100000.0, 1.0 / 5), book = 100000;
    std::vector<double> years;
    for (int y = 0; y < 4; ++y) {
        years.push_back(std::round(book * rate * 100) / 100);
        book -= years.back();
    }
    years.push_back(book - 10000);
    ExpectYears(asset, 202402, years);
    EXPECT_EQ(Cents(std::accumulate(years.begin(), years.end(), 0.0)), 9000000);
}

TEST_F(MethodTest, WorkloadChargesTheRecordedWorkAtTheRatePerUnit) {
    // 货车: workload method; 288,000 over 400,000 km is 0.72 a km.
    int32_t asset = AddAsset(AssetPlan::Of(3, 300000, 12000, 400000, 16));
    std::vector<double> work = {8000, 12345.5, 0, 9999, 150000, 200000, 30000};
    RunPeriod(2024, 1);
    int32_t yp = 202402;
    for (double w : work) {
        RecordWork(asset, yp / 100, static_cast<int16_t>(yp % 100), w);
        RunPeriod(yp / 100, static_cast<int16_t>(yp % 100));
        yp = NextPeriod(yp);
    }
    auto charges = Charges(asset);
    double done = 0;
    yp = 202402;
    for (double w : work) {
        double before = std::min(done, 400000.0);
        done += w;
        double now = std::min(done, 400000.0);
        EXPECT_EQ(Cents(charges[yp]), std::llround(now * 72) - std::llround(before * 72)) << yp;
        yp = NextPeriod(yp);
    }
    EXPECT_EQ(
        Cents(Scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where lngAMAssetID = " +
                     std::to_string(asset))),
        28800000);
    EXPECT_EQ(
        Scalar("Select Max(dblInitWork + dblWork) From AMAssetFundBalance Where lngAMAssetID = " +
               std::to_string(asset)),
        std::accumulate(work.begin(), work.end(), 0.0));
}

TEST_F(MethodTest, NoDepreciationMethodAndUndepreciatedCategoryChargeNothing) {
    int32_t none = AddAsset(AssetPlan::Of(1, 5000, 0, 12));
    int32_t land = AddAsset(AssetPlan::Of(0, 800000, 0, 0, 26));
    RunPeriods(2024, 1, 4);
    for (int32_t asset : {none, land}) {
        auto charges = Charges(asset);
        EXPECT_EQ(charges.size(), 4u) << "a row per period all the same";
        for (auto [period, charge] : charges) EXPECT_EQ(charge, 0) << period;
    }
}

TEST_F(MethodTest, UnsetMethodAndLifeComeFromTheCategory) {
    // 办公设备 (category 22): straight-line over 60 periods.
    int32_t asset = AddAsset(AssetPlan::Of(0, 6000, 0, 0, 22));
    RunPeriods(2024, 1, 3);
    EXPECT_EQ(Cents(Charges(asset)[202402]), 10000);
}

}  // namespace
}  // namespace tk::am::test
