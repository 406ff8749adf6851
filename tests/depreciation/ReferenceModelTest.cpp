// The reference model against textbook figures, without a database, so the
// differential test compares the routines with something known to be right.
#include <gtest/gtest.h>

#include <cmath>

#include "ReferenceModel.hpp"

namespace tk::am::test {
namespace {

// Months counted from January 2024.
int Period(int month) { return 202401 + month / 12 * 100 + month % 12; }

Money Cents(double yuan) { return std::llround(yuan * 100); }

std::vector<Money> InCents(std::initializer_list<double> yuan) {
    std::vector<Money> cents;
    for (double amount : yuan) cents.push_back(Cents(amount));
    return cents;
}

// Closes count periods from month first and returns the asset's charges.
std::vector<Money> ClosePeriods(ReferenceModel& model, int asset, int first, int count,
                                int fund = 0) {
    std::vector<Money> charges;
    for (int month = first; month < first + count; ++month) {
        model.close(Period(month));
        charges.push_back(model.charge(asset, fund, Period(month)));
    }
    return charges;
}

std::vector<Money> YearTotals(const std::vector<Money>& charges) {
    std::vector<Money> years(charges.size() / 12);
    for (size_t i = 0; i < years.size() * 12; ++i) years[i / 12] += charges[i];
    return years;
}

// A five-year public-sector asset, depreciated from its month of addition.
std::vector<Money> FiveYears(int method, double cost, double residual) {
    ReferenceModel model;
    int asset = model.add(202401, method, 60, Rule::PublicSector,
                          {{.cost = Cents(cost), .residual = Cents(residual)}});
    std::vector<Money> charges = ClosePeriods(model, asset, 0, 61);
    EXPECT_EQ(charges.back(), 0) << "nothing after the life";
    return YearTotals(charges);
}

// Straight line: 120,000 over five years is 24,000 a year, 2,000 a month
// (the standard textbook example); the enterprise rule starts after March.
TEST(ReferenceModel, StraightLineChargesEqualMonthsFromTheMonthAfterAddition) {
    ReferenceModel model;
    int asset = model.add(202403, 2, 60, Rule::Enterprise, {{.cost = Cents(120000)}});
    std::vector<Money> charges = ClosePeriods(model, asset, 2, 62);
    EXPECT_EQ(charges.front(), 0) << "not in the month of addition";
    for (int month = 1; month <= 60; ++month) EXPECT_EQ(charges[month], Cents(2000)) << month;
    EXPECT_EQ(charges.back(), 0);
    EXPECT_EQ(model.accumulated(asset, 0), Cents(120000));
}

// Cost 100,000, residual 4,000, five years: the textbook's double-declining
// table switches to straight line for the last two years, and the sum of the
// years' digits gives 5/15, 4/15, ... of 96,000.
TEST(ReferenceModel, AcceleratedMethodsGiveTheTextbookYears) {
    EXPECT_EQ(FiveYears(4, 100000, 4000), InCents({40000, 24000, 14400, 8800, 8800}));
    EXPECT_EQ(FiveYears(5, 100000, 4000), InCents({32000, 25600, 19200, 12800, 6400}));
}

// Fixed-declining balance, cost 100,000, residual 10,000, five years: the
// textbook rate 1 - (10,000 / 100,000)^(1/5) = 36.9043% on each year's opening
// carrying amount, and the life ends exactly at the residual value.
TEST(ReferenceModel, FixedDecliningAppliesTheTextbookRateAndEndsAtTheResidual) {
    std::vector<Money> years = FiveYears(6, 100000, 10000);
    Money book = Cents(100000);
    for (int year = 0; year < 4; ++year) {
        EXPECT_NEAR(double(years[year]) / book, 0.369043, 2e-6) << "year " << year + 1;
        book -= years[year];
    }
    EXPECT_EQ(book - years[4], Cents(10000));
}

// Workload: a truck of 600,000 with 5% residual over 500,000 km depreciates
// 1.14 a km, so 4,000 km in a month cost 4,560 (the textbook truck example).
TEST(ReferenceModel, WorkloadChargesTheWorkDone) {
    ReferenceModel model;
    int truck = model.add(202401, 3, 500000, Rule::PublicSector,
                          {{.cost = Cents(600000), .residual = Cents(30000)}});
    model.work(truck, 202401, 4000);
    model.work(truck, 202403, 500000);
    EXPECT_EQ(ClosePeriods(model, truck, 0, 4), InCents({4560, 0, 565440, 0}));
}

// A change in estimate is prospective: 100,000 over ten years, after four
// years (40,000) the remaining life is cut to three: 20,000 a year from then.
TEST(ReferenceModel, ChangeOfLifeSpreadsTheCarryingAmountOverTheRemainingLife) {
    ReferenceModel model;
    int asset = model.add(202401, 2, 120, Rule::PublicSector, {{.cost = Cents(100000)}});
    EXPECT_EQ(YearTotals(ClosePeriods(model, asset, 0, 48)), std::vector<Money>(4, Cents(10000)));
    EXPECT_EQ(model.alter(asset, 202801, {{}}, {}, 84), Verdict::Accepted);
    EXPECT_EQ(YearTotals(ClosePeriods(model, asset, 48, 37)), InCents({20000, 20000, 20000}));
    EXPECT_EQ(model.accumulated(asset, 0), Cents(100000));
}

TEST(ReferenceModel, TransferMidLifeChangesNoCharge) {
    ReferenceModel model;
    int moved = model.add(202401, 2, 36, Rule::Enterprise, {{.cost = Cents(10000)}});
    int kept = model.add(202401, 2, 36, Rule::Enterprise, {{.cost = Cents(10000)}});
    ClosePeriods(model, moved, 0, 7);
    model.transfer(moved, 202408);
    ClosePeriods(model, moved, 7, 40);
    for (int month = 0; month < 47; ++month)
        EXPECT_EQ(model.charge(moved, 0, Period(month)), model.charge(kept, 0, Period(month)));
    EXPECT_EQ(model.accumulated(moved, 0), Cents(10000));
}

// 60,000 and 40,000 of a 100,000 asset: each month splits 60/40 to the cent
// and each source ends exactly at its own cost.
TEST(ReferenceModel, FundingSourcesSplitByTheirShareToTheCent) {
    ReferenceModel model;
    int asset = model.add(202401, 2, 36, Rule::PublicSector,
                          {{.cost = Cents(40000)}, {.cost = Cents(60000)}});
    std::vector<Money> minor = ClosePeriods(model, asset, 0, 36);
    for (int month = 0; month < 36; ++month) {
        Money whole = minor[month] + model.charge(asset, 1, Period(month));
        EXPECT_LE(std::abs(minor[month] * 10 - whole * 4), 10) << "within a cent, month " << month;
    }
    EXPECT_EQ(model.accumulated(asset, 0), Cents(40000));
    EXPECT_EQ(model.accumulated(asset, 1), Cents(60000));
}

// Added in March, disposed of in August: the enterprise rule charges April to
// August, the public-sector rule March to July; both keep August's rows.
TEST(ReferenceModel, DisposalEndsTheRowsAfterItsMonth) {
    ReferenceModel model;
    int enterprise = model.add(202403, 2, 12, Rule::Enterprise, {{.cost = Cents(12000)}});
    int publicSector = model.add(202403, 2, 12, Rule::PublicSector, {{.cost = Cents(12000)}});
    model.dispose(enterprise, 202408);
    model.dispose(publicSector, 202408);
    EXPECT_EQ(ClosePeriods(model, enterprise, 2, 7), InCents({0, 1000, 1000, 1000, 1000, 1000, 0}));
    for (int month = 2; month < 7; ++month)
        EXPECT_EQ(model.charge(publicSector, 0, Period(month)), Cents(1000));
    EXPECT_EQ(model.charge(publicSector, 0, 202408), 0);
    EXPECT_TRUE(model.inRegister(publicSector, 202408) && model.inRegister(enterprise, 202408));
    EXPECT_FALSE(model.inRegister(publicSector, 202409) || model.inRegister(enterprise, 202409));
}

// 12,000 less 1,200 residual over a year, 900 a month from February. A change
// dated July counts July's charge: net 12,000 - 6 x 900 = 6,600.
TEST(ReferenceModel, ChangesThatBreakTheFloorsAreRefusedAndChangeNothing) {
    ReferenceModel model;
    int asset = model.add(202401, 2, 12, Rule::Enterprise,
                          {{.cost = Cents(12000), .residual = Cents(1200)}});
    ClosePeriods(model, asset, 0, 6);
    EXPECT_EQ(model.alter(asset, 202407, {{.cost = -Cents(6700)}}), Verdict::NegativeNet);
    EXPECT_EQ(model.alter(asset, 202407, {{.residual = Cents(5500)}}), Verdict::BelowResidual);
    EXPECT_EQ(model.alter(asset, 202407, {{.impairment = Cents(6700)}}), Verdict::NegativeNet);
    EXPECT_EQ(model.accumulated(asset, 0), Cents(4500));
    EXPECT_EQ(model.alter(asset, 202407, {{.impairment = Cents(6000)}}), Verdict::Accepted);
    EXPECT_EQ(ClosePeriods(model, asset, 6, 2), InCents({900, 0}))
        << "below the residual nothing more is charged";
}

}  // namespace
}  // namespace tk::am::test
