// The rows the ledger's queries return: plain values for a table, a file or a chart.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ledger/YearPeriod.hpp"

namespace tk::ledger {

struct AssetRow {
    std::string code, name, category, department;
    double cost = 0;
    std::string date;  // of the version in force
};

// Cost, accumulated depreciation, impairment.
struct Figures {
    double cost = 0, depreciation = 0, impairment = 0;
    double netValue() const { return cost - depreciation - impairment; }
    Figures& operator+=(const Figures& other) {
        cost += other.cost;
        depreciation += other.depreciation;
        impairment += other.impairment;
        return *this;
    }
};

struct RegisterRow {
    std::string code, name, category, department;
    Figures figures;
};

// One period's charge borne by an account and a department (and a funding
// source, when the report asks for it).
struct DepreciationRow {
    YearPeriod period;
    std::string fund, accountCode, accountName, department;
    double amount = 0;
};

struct CategoryCharge {
    YearPeriod period;
    std::string category;
    double amount = 0;
};

struct ScheduleRow {
    std::string code, name;
    std::array<double, 12> months{};
    double after = 0;  // left to depreciate after the year
};

// A year's depreciation month by month; periods still open are a trial run.
struct Schedule {
    int32_t year = 0;
    std::vector<YearPeriod> open;
    std::vector<ScheduleRow> rows;
    std::array<double, 12> netBookValue{};   // of all assets at each month's end
    std::vector<CategoryCharge> byCategory;  // the charges of each month by asset category
    bool isOpen(int month) const {
        for (YearPeriod p : open)
            if (p.year == year && p.period == month) return true;
        return false;
    }
};

struct JournalRow {
    YearPeriod period;
    std::string fund;
    bool fromDepreciation = false;
    double costChange = 0, depreciationChange = 0, impairmentChange = 0;
    Figures after;
};

struct VersionRow {
    std::string date, way, department;
    int16_t method = 0;
    double life = 0, cost = 0, impairment = 0, residual = 0;
};

struct FundRow {
    std::string fund;
    Figures figures;
};

struct PeriodCharge {
    YearPeriod period;
    double charge = 0, accumulated = 0;
};

// An asset as `asset show` presents it.
struct AssetDetail {
    std::string code, name, category, department, createDate;
    int16_t method = 0;
    double cost = 0, residual = 0, impairment = 0, life = 0;
    std::vector<VersionRow> versions;
    std::vector<PeriodCharge> depreciation;
    std::vector<FundRow> funds;
    // What describes the item now (other card, labels, allocation texts, the
    // category's own fields), caption and value, the blank ones left out.
    std::vector<std::pair<std::string, std::string>> description;
};

}  // namespace tk::ledger
