// The depreciation tests' fixture: a demo account set of its own, assets and
// changes saved as the card objects would, and periods run as the host does.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestDatabase.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"

namespace tk::am::test {

// An asset as the card and funding-source objects would save it.
struct AssetPlan {
    int32_t category = 10;  // 机床: enterprise rule, straight-line, 120 periods
    int16_t method = 2;
    double cost = 0, residual = 0, life = 0;
    int32_t year = 2024;
    int16_t period = 1;
    std::vector<double> fundCosts;  // cost carried by funding sources 1, 2, ...; empty: one source
    double openingDepreciation = 0, startUsage = 0, startWork = 0;
    bool opening = false;             // an opening record (期初卡片)
    int32_t org = 1, department = 3;  // 生产部 of organisation 1

    static AssetPlan Of(int16_t method, double cost, double residual, double life,
                        int32_t category = 10) {
        AssetPlan plan;
        plan.method = method;
        plan.cost = cost;
        plan.residual = residual;
        plan.life = life;
        plan.category = category;
        return plan;
    }
};

// A new card version: an alteration (atOther) or a decrease (atDec).
struct Change {
    int32_t year = 2024;
    int16_t period = 1;
    int16_t alterType = 3;
    double costChange = 0, impairmentChange = 0, residualChange = 0;
    double depreciationChange = 0;  // an adjustment of the accumulated depreciation
    double life = 0;                // 0 keeps the life
    int16_t method = -1;            // -1 keeps the method
    int32_t department = 0;         // 0 keeps the department
};

// A demo account set of its own with helpers that save assets, alterations
// and work, and run periods the way the host does.
class DepreciationTest : public ::testing::Test {
  protected:
    static constexpr int32_t kOrg = 1;

    explicit DepreciationTest(bool onlineDevice = false) : accountSet("depr", true, onlineDevice) {}

    tk::test::TestAccountSet accountSet;
    std::shared_ptr<connect::Connection> conn = accountSet.useOnThisThread();
    clsAMAssetDeprection depreciation;

    // Saves the card and its sources (SaveAsset, SaveChange) and recalculates,
    // expecting the engine to accept it.
    int32_t AddAsset(const AssetPlan& plan);
    int32_t Alter(int32_t asset, const Change& change);
    int32_t SaveAsset(const AssetPlan& plan);
    int32_t SaveChange(int32_t asset, const Change& change);
    void RecordWork(int32_t asset, int32_t year, int16_t period, double work);
    // The host's period end: post the alterations, depreciate, post the depreciation.
    void RunPeriod(int32_t year, int16_t period, int32_t org = kOrg);
    void RunPeriods(int32_t fromYear, int16_t fromPeriod, int count, int32_t org = kOrg);
    int32_t OrgOf(int32_t asset);

    // Charge per period (year * 100 + period) of an asset, of all its sources or one.
    std::map<int32_t, double> Charges(int32_t asset, int32_t fund = 0);
    // Sum of the charges per depreciation year counted from the first charged period.
    std::vector<double> YearTotals(int32_t asset, int32_t fund = 0);
    double Scalar(const std::string& sql);
    void Execute(const std::string& sql);
    // Category 22 (the demo's office buildings) follows the public-sector
    // rule, charged from the month of addition: for organisation 1 through
    // its overlay, in the set `on` (this one when not given).
    void UsePublicSectorRule(connect::Connection* on = nullptr);
};

int32_t NextPeriod(int32_t yearPeriod);
// Splits an amount over the sources in proportion to their costs, to the
// cent, the last source taking the remainder (as the fixture saves changes).
std::vector<double> SplitByCost(double amount, const std::vector<double>& costs);
// Cents as an integer, so that sums compare exactly.
int64_t Cents(double amount);

}  // namespace tk::am::test
