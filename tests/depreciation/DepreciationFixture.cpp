// Writes assets, changes and work straight into the tables and runs periods
// through the engine, for the depreciation and carry-forward tests.
#include "DepreciationFixture.hpp"

#include <algorithm>
#include <cmath>

#include "frame/DataAccess.hpp"

namespace tk::am::test {
namespace {

std::string Num(double value) { return formatDouble(value); }
std::string Int(int64_t value) { return std::to_string(value); }
std::string DateOf(int32_t year, int16_t period) {
    return std::to_string(year) + (period < 10 ? "-0" : "-") + std::to_string(period) + "-15";
}

}  // namespace

std::vector<double> SplitByCost(double amount, const std::vector<double>& costs) {
    double total = 0;
    for (double c : costs) total += c;
    std::vector<double> parts;
    double given = 0;
    for (size_t i = 0; i < costs.size(); ++i) {
        double part =
            i + 1 == costs.size()
                ? amount - given
                : std::round(amount * (total > 0 ? costs[i] / total : 1.0 / costs.size()) * 100) /
                      100;
        given += part;
        parts.push_back(part);
    }
    return parts;
}

namespace {

template <typename... Texts>
std::vector<std::string> List(const Texts&... texts) {
    return {std::string(texts)...};
}

// "Insert Into T(columns) Values(values)", or "... Select values From source".
std::string Insert(const std::string& table, const std::string& columns,
                   const std::vector<std::string>& values, const std::string& source = "") {
    EXPECT_EQ(std::count(columns.begin(), columns.end(), ',') + 1,
              static_cast<std::ptrdiff_t>(values.size()))
        << table;
    std::string list;
    for (const std::string& value : values) list += (list.empty() ? "" : ", ") + value;
    std::string insert = "Insert Into " + table + "(" + columns + ") ";
    return source.empty() ? insert + "Values(" + list + ")"
                          : insert + "Select " + list + " From " + source;
}

}  // namespace

int32_t NextPeriod(int32_t yearPeriod) {
    return yearPeriod % 100 >= 12 ? (yearPeriod / 100 + 1) * 100 + 1 : yearPeriod + 1;
}

int64_t Cents(double amount) { return std::llround(amount * 100); }

void DepreciationTest::Execute(const std::string& sql) { tk::test::ExecuteOk(*conn, sql); }

void DepreciationTest::UsePublicSectorRule(connect::Connection* on) {
    connect::Connection& set = on ? *on : *conn;
    tk::test::ExecuteOk(set,
                        "Insert Into AMAssetTypeEx Select t.*, 1 From AMAssetType t Where "
                        "t.lngAMAssetTypeID = 22 And Not Exists (Select 1 From AMAssetTypeEx x "
                        "Where x.lngAMAssetTypeID = 22 And x.lngOrganizationID = 1)");
    tk::test::ExecuteOk(set,
                        "Update AMAssetTypeEx Set bytDepreciationType = 3 Where lngAMAssetTypeID = "
                        "22 And lngOrganizationID = 1");
}

double DepreciationTest::Scalar(const std::string& sql) {
    auto rs = conn->GetRecordset(sql, 3, 1);
    if (rs->eof() || rs->field(0).isNull()) return 0;
    return rs->field(0).toDouble();
}

int32_t DepreciationTest::AddAsset(const AssetPlan& plan) {
    int32_t asset = SaveAsset(plan);
    EXPECT_TRUE(depreciation.CaclDeprectionAdd(0, asset, plan.org)) << depreciation.ErrorMessage();
    return asset;
}

int32_t DepreciationTest::Alter(int32_t asset, const Change& change) {
    int32_t version = SaveChange(asset, change);
    const int32_t org = OrgOf(asset);
    EXPECT_TRUE(change.alterType == 2 ? depreciation.CaclDeprectionDec(0, asset, org)
                                      : depreciation.CaclDeprectionAlter(0, asset, org))
        << depreciation.ErrorMessage();
    return version;
}

int32_t DepreciationTest::SaveAsset(const AssetPlan& plan) {
    int32_t asset = GetNewID("AMAsset"), version = GetNewID("AMAssetAlter");
    std::string opening = plan.opening ? "1" : "0",
                date = "'" + DateOf(plan.year, plan.period) + "'";
    Execute(
        Insert("AMAsset",
               "lngAMAssetID, strAMAssetCode, strAMAssetName, dblStartUsage, dblStartWork, "
               "lngAMAssetTypeID, lngAMAssetInitAlterID, lngAMAssetLastAlterID, lngOrganizationID, "
               "lngDepartmentID",
               List(Int(asset), "'A" + Int(asset) + "'", "'资产" + Int(asset) + "'",
                    Num(plan.startUsage), Num(plan.startWork), Int(plan.category), Int(version),
                    Int(version), Int(plan.org), Int(plan.department))));
    Execute(Insert(
        "AMAssetAlter",
        "lngAMAssetAlterID, lngAMAssetID, lngTemplateID, lngReceiptTypeID, intYear, bytPeriod, "
        "strDate, lngAMAssetTypeID, lngDepartmentID, bytAlterType, bytDepreciationMethod, "
        "blnIsInit, bytStatus, lngOrganizationID, dblAmount, dblDepreciation, dblNetworth, "
        "dblUseage, dblAmountAlter, dblDepreciationAlter, dblNetworthAlter",
        List(Int(version), Int(asset), "1", "48", Int(plan.year), Int(plan.period), date,
             Int(plan.category), Int(plan.department), "1", Int(plan.method), opening, "2",
             Int(plan.org), Num(plan.cost), Num(plan.openingDepreciation), Num(plan.residual),
             Num(plan.life), Num(plan.cost), Num(plan.openingDepreciation), Num(plan.residual))));
    std::vector<double> costs =
        plan.fundCosts.empty() ? std::vector<double>{plan.cost} : plan.fundCosts;
    std::vector<double> residuals = SplitByCost(plan.residual, costs),
                        openingShares = SplitByCost(plan.openingDepreciation, costs);
    for (size_t i = 0; i < costs.size(); ++i) {
        int32_t fundVersion = GetNewID("AMAssetFundAlter");
        std::string fund = Int(static_cast<int32_t>(i + 1));
        Execute(Insert(
            "AMAssetFundAlter",
            "lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID, lngAMFundID, "
            "lngReceiptTypeID, intYear, bytPeriod, strDate, dblAmount, dblDepreciation, "
            "dblNetworth, dblAmountAlter, dblDepreciationAlter, dblNetworthAlter, bytAlterType, "
            "blnIsInit, lngDepreciationAccountID, bytStatus, lngOrganizationID",
            List(Int(fundVersion), Int(version), Int(asset), fund, "48", Int(plan.year),
                 Int(plan.period), date, Num(costs[i]), Num(openingShares[i]), Num(residuals[i]),
                 Num(costs[i]), Num(openingShares[i]), Num(residuals[i]), "1", opening, "4", "2",
                 Int(plan.org))));
        Execute(Insert(
            "AMAssetFund",
            "lngAMAssetID, lngAMFundID, lngAMAssetFundInitAlterID, lngAMAssetFundLastAlterID",
            List(Int(asset), fund, Int(fundVersion), Int(fundVersion))));
    }
    return asset;
}

int32_t DepreciationTest::SaveChange(int32_t asset, const Change& change) {
    int32_t last = static_cast<int32_t>(
        Scalar("Select lngAMAssetLastAlterID From AMAsset Where lngAMAssetID = " + Int(asset)));
    int32_t version = GetNewID("AMAssetAlter");
    std::string date = "'" + DateOf(change.year, change.period) + "'";
    Execute(Insert(
        "AMAssetAlter",
        "lngAMAssetAlterID, lngAMAssetID, lngTemplateID, lngReceiptTypeID, intYear, bytPeriod, "
        "strDate, lngAMAssetTypeID, lngDepartmentID, bytAlterType, bytDepreciationMethod, "
        "bytStatus, lngOrganizationID, dblAmount, dblDepreciation, dblNetworth, dblDecAmount, "
        "dblUseage, dblAmountAlter, dblNetworthAlter, dblDecAmountAlter, dblDepreciationAlter, "
        "lngAMAssetRecentAlterID",
        List(Int(version), "lngAMAssetID", "3", "50", Int(change.year), Int(change.period), date,
             "lngAMAssetTypeID", change.department ? Int(change.department) : "lngDepartmentID",
             Int(change.alterType),
             change.method >= 0 ? Int(change.method) : "bytDepreciationMethod", "2",
             "lngOrganizationID", "dblAmount + " + Num(change.costChange),
             "dblDepreciation + " + Num(change.depreciationChange),
             "dblNetworth + " + Num(change.residualChange),
             "dblDecAmount + " + Num(change.impairmentChange),
             change.life > 0 ? Num(change.life) : "dblUseage", Num(change.costChange),
             Num(change.residualChange), Num(change.impairmentChange),
             Num(change.depreciationChange), "lngAMAssetAlterID"),
        "AMAssetAlter Where lngAMAssetAlterID = " + Int(last)));
    Execute("Update AMAsset Set lngAMAssetLastAlterID = " + Int(version) +
            " Where lngAMAssetID = " + Int(asset));

    auto rs = conn->GetRecordset(
        "Select f.lngAMFundID, fa.dblAmount From AMAssetFund f, AMAssetFundAlter fa"
        " Where fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMAssetID = " +
            Int(asset) + " Order By f.lngAMFundID",
        3, 1);
    std::vector<int32_t> funds;
    std::vector<double> costs;
    for (; !rs->eof(); rs->moveNext()) {
        funds.push_back(rs->field(0).toInt32());
        costs.push_back(rs->field(1).toDouble());
    }
    std::vector<double> cost = SplitByCost(change.costChange, costs),
                        impairment = SplitByCost(change.impairmentChange, costs),
                        residual = SplitByCost(change.residualChange, costs),
                        depreciation = SplitByCost(change.depreciationChange, costs);
    for (size_t i = 0; i < funds.size(); ++i) {
        int32_t fundVersion = GetNewID("AMAssetFundAlter");
        std::string where =
            " Where lngAMAssetID = " + Int(asset) + " And lngAMFundID = " + Int(funds[i]);
        Execute(Insert(
            "AMAssetFundAlter",
            "lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID, lngAMFundID, "
            "lngReceiptTypeID, intYear, bytPeriod, strDate, dblAmount, dblDepreciation, "
            "dblNetworth, dblDecAmount, dblAmountAlter, dblNetworthAlter, dblDecAmountAlter, "
            "dblDepreciationAlter, bytAlterType, lngDepreciationAccountID, "
            "lngAMAssetFundRecentAlterID, bytStatus, "
            "lngOrganizationID",
            List(Int(fundVersion), Int(version), "fa.lngAMAssetID", "fa.lngAMFundID", "50",
                 Int(change.year), Int(change.period), date, "fa.dblAmount + " + Num(cost[i]),
                 "fa.dblDepreciation + " + Num(depreciation[i]),
                 "fa.dblNetworth + " + Num(residual[i]), "fa.dblDecAmount + " + Num(impairment[i]),
                 Num(cost[i]), Num(residual[i]), Num(impairment[i]), Num(depreciation[i]),
                 Int(change.alterType), "4", "fa.lngAMAssetFundAlterID", "2",
                 "fa.lngOrganizationID"),
            "AMAssetFundAlter fa Where fa.lngAMAssetFundAlterID ="
            " (Select lngAMAssetFundLastAlterID From AMAssetFund" +
                where + ")"));
        Execute("Update AMAssetFund Set lngAMAssetFundLastAlterID = " + Int(fundVersion) + where);
    }
    return version;
}

void DepreciationTest::RecordWork(int32_t asset, int32_t year, int16_t period, double work) {
    EXPECT_TRUE(depreciation.CaclDeprectionWork(0, static_cast<int16_t>(year), period, asset, work,
                                                OrgOf(asset)));
}

int32_t DepreciationTest::OrgOf(int32_t asset) {
    return static_cast<int32_t>(
        Scalar("Select lngOrganizationID From AMAsset Where lngAMAssetID = " + Int(asset)));
}

void DepreciationTest::RunPeriod(int32_t year, int16_t period, int32_t org) {
    auto y = static_cast<int16_t>(year);
    EXPECT_TRUE(depreciation.WriteDaily(y, period, 0, false, false, Variant(org)));
    EXPECT_TRUE(
        depreciation.WriteBalance(0, y, period, DateOf(year, period), "计提折旧", false, 0, 1, org))
        << depreciation.ErrorMessage();
    EXPECT_TRUE(depreciation.WriteDaily(y, period, 0, true, false, Variant(org)));
}

void DepreciationTest::RunPeriods(int32_t fromYear, int16_t fromPeriod, int count, int32_t org) {
    for (int32_t yp = fromYear * 100 + fromPeriod; count-- > 0; yp = NextPeriod(yp))
        RunPeriod(yp / 100, static_cast<int16_t>(yp % 100), org);
}

std::map<int32_t, double> DepreciationTest::Charges(int32_t asset, int32_t fund) {
    auto rs = conn->GetRecordset(
        "Select intYear * 100 + bytPeriod, Sum(dblDepreciation) From AMAssetFundBalance"
        " Where lngAMAssetID = " +
            Int(asset) + (fund ? " And lngAMFundID = " + Int(fund) : std::string()) +
            " Group By intYear * 100 + bytPeriod Order By 1",
        3, 1);
    std::map<int32_t, double> charges;
    for (; !rs->eof(); rs->moveNext()) charges[rs->field(0).toInt32()] = rs->field(1).toDouble();
    return charges;
}

std::vector<double> DepreciationTest::YearTotals(int32_t asset, int32_t fund) {
    std::vector<double> years;
    int charged = 0;
    for (auto [period, charge] : Charges(asset, fund)) {
        if (charge == 0 && charged == 0) continue;
        if (charged++ % 12 == 0) years.push_back(0);
        years.back() += charge;
    }
    return years;
}

}  // namespace tk::am::test
