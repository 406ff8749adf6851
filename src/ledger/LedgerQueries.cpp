// The report queries over the register, the balances and the journal; the forecast depreciates
// open periods on trial in a transaction it rolls back.
#include "ledger/LedgerQueries.hpp"

#include <map>
#include <stdexcept>

#include "frame/Conversion.hpp"
#include "ledger/InputText.hpp"
#include "ledger/PeriodCloser.hpp"
#include "ledger/Transaction.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::ledger {
namespace {

using Rows = std::shared_ptr<connect::Recordset>;

template <class Column>
std::string text(const Rows& rs, Column column) {
    const Variant& v = rs->field(column);
    return v.isNull() ? std::string() : v.toText();
}
double amount(const Rows& rs, int i) { return rs->field(i).toDouble(); }
YearPeriod period(const Rows& rs, int i) { return YearPeriod::fromKey(rs->field(i).toInt32()); }

std::string periodRange(const std::string& column, YearPeriod from, YearPeriod to) {
    return " And " + column + " Between " + std::to_string(from.key()) + " And " +
           std::to_string(to.key());
}

}  // namespace

std::vector<AssetRow> LedgerQueries::assets(const std::optional<std::string>& category,
                                            const std::optional<std::string>& department) const {
    std::string where = " Where a.lngOrganizationID = " + std::to_string(session_.organization());
    if (category) where += " And t.strAMAssetTypeCode Like " + sqlText(*category + "%");
    if (department) where += " And d.strDepartmentCode = " + sqlText(*department);
    auto rs = session_.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, t.strAMAssetTypeName, d.strDepartmentName,"
        " v.dblAmount, v.strDate From AMAsset a, AMAssetAlter v, AMAssetType t, Department d" +
            where +
            " And v.lngAMAssetAlterID = a.lngAMAssetLastAlterID"
            " And t.lngAMAssetTypeID = a.lngAMAssetTypeID"
            " And d.lngDepartmentID = v.lngDepartmentID Order By a.strAMAssetCode",
        3, 1);
    std::vector<AssetRow> rows;
    for (; !rs->eof(); rs->moveNext())
        rows.push_back(
            {text(rs, 0), text(rs, 1), text(rs, 2), text(rs, 3), amount(rs, 4), text(rs, 5)});
    return rows;
}

AssetDetail LedgerQueries::asset(const std::string& code) const {
    am::clsAMAssetCard card;
    card.Mode = am::atOther;
    card.LoadID(session_.assetID(code));
    const std::string id = std::to_string(card.lngAMAssetID);
    AssetDetail d{card.strAMAssetCode.str(),
                  card.strAMAssetName.str(),
                  "",
                  "",
                  card.strCreateDate.str(),
                  card.bytDepreciationMethod,
                  card.dblAmount,
                  card.dblNetworth,
                  card.dblDecAmount,
                  card.dblUseage,
                  {},
                  {},
                  {},
                  {}};
    d.category =
        session_
            .lookup("Select strAMAssetTypeName From AMAssetType Where lngAMAssetTypeID = " +
                    std::to_string(card.lngAMAssetTypeID))
            .value_or("");
    d.department = session_
                       .lookup(
                           "Select d.strDepartmentName From Department d, AMAssetAlter v"
                           " Where d.lngDepartmentID = v.lngDepartmentID"
                           " And v.lngAMAssetAlterID = " +
                           std::to_string(card.lngAMAssetAlterID))
                       .value_or("");
    auto rs = session_.connection().GetRecordset(
        "Select v.strDate, m.strAMAssetMethodName, d.strDepartmentName,"
        " v.bytDepreciationMethod, v.dblUseage, v.dblAmount, v.dblDecAmount, v.dblNetworth"
        " From AMAssetAlter v, AMAssetMethod m, Department d"
        " Where m.lngAMAssetMethodID(+) = v.lngAMAssetMethodID"
        " And d.lngDepartmentID(+) = v.lngDepartmentID And v.lngAMAssetID = " +
            id + " Order By v.lngAMAssetAlterID",
        3, 1);
    for (; !rs->eof(); rs->moveNext())
        d.versions.push_back({text(rs, 0), text(rs, 1), text(rs, 2),
                              static_cast<int16_t>(rs->field(3).toInt32()), amount(rs, 4),
                              amount(rs, 5), amount(rs, 6), amount(rs, 7)});
    // Each depreciated period's charge and the accumulated depreciation at its
    // end (an opening figure included).
    rs = session_.connection().GetRecordset(
        "Select intYear * 100 + bytPeriod, Sum(dblDepreciation),"
        " Sum(dblInitDepreciation + dblDepreciation) From AMAssetFundBalance"
        " Where lngAMAssetID = " +
            id + " Group By intYear * 100 + bytPeriod Order By 1",
        3, 1);
    for (; !rs->eof(); rs->moveNext())
        d.depreciation.push_back({period(rs, 0), amount(rs, 1), amount(rs, 2)});
    // What each funding source carries, as the journal shows it now.
    rs = session_.connection().GetRecordset(
        "Select f.strAMFundName, Sum(j.dblAmountAlter),"
        " Sum(j.dblDeprection + j.dblDeprectionAlter), Sum(j.dblDecAmountAlter)"
        " From AMAssetFundDaily j, AMFund f Where j.lngAMFundID = f.lngAMFundID"
        " And j.lngAMAssetID = " +
            id + " Group By f.strAMFundCode, f.strAMFundName Order By f.strAMFundCode",
        3, 1);
    for (; !rs->eof(); rs->moveNext())
        d.funds.push_back({text(rs, 0), {amount(rs, 1), amount(rs, 2), amount(rs, 3)}});
    describe(card.lngAMAssetID, card.lngAMAssetAlterID, card.lngAMAssetTypeID, d);
    return d;
}

void LedgerQueries::describe(int32_t asset, int32_t version, int32_t category,
                             AssetDetail& d) const {
    auto add = [&d](const std::string& caption, const std::string& value) {
        if (!am::Trim(value).empty()) d.description.emplace_back(caption, value);
    };
    const std::string id = std::to_string(asset);
    auto rs = session_.connection().GetRecordset(
        "Select o.strAssetStyle, o.strAssetModel, o.strMadeIn, o.strFactoryNo, o.strFactoryDate,"
        " l.strLocationName, o.strNotes From AMAssetOtherAlter o, Location l"
        " Where l.lngLocationID(+) = o.lngLocationID And o.lngAMAssetAlterID = " +
            std::to_string(version),
        3, 1);
    if (!rs->eof())
        for (int i = 0; const char* caption :
                        {"规格", "型号", "产地", "出厂编号", "出厂日期", "存放地点", "备注"})
            add(caption, text(rs, i++));
    std::string labels;
    rs = session_.connection().GetRecordset(
        "Select strAMAssetLabelNo From AMAssetLabel Where lngAMAssetID = " + id +
            " Order By lngOrderNo",
        3, 1);
    for (; !rs->eof(); rs->moveNext()) labels += (labels.empty() ? "" : ", ") + text(rs, 0);
    add("标签", labels);
    rs = session_.connection().GetRecordset(
        "Select strDepartmentStr, strAccountStr, strCurrencyStr From AMAssetAlter"
        " Where lngAMAssetAlterID = " +
            std::to_string(version),
        3, 1);
    if (!rs->eof())
        for (int i = 0; const char* caption : {"费用部门", "费用科目", "币种"})
            add(caption, text(rs, i++));
    describeCustom(id, category, add);
}

// The category's own fields, each value read from the column it names.
void LedgerQueries::describeCustom(
    const std::string& asset, int32_t category,
    const std::function<void(const std::string&, const std::string&)>& add) const {
    auto values = session_.connection().GetRecordset(
        "Select * From AMAssetCustom Where lngAMAssetID = " + asset, 3, 1);
    if (values->eof()) return;
    auto fields = session_.connection().GetRecordset(
        "Select strFieldName, strCaption From AMAssetTypeCustom Where lngAMAssetTypeID = " +
            std::to_string(category) + " Order By lngOrderNo, lngAMAssetTypeCustomID",
        3, 1);
    for (; !fields->eof(); fields->moveNext()) {
        const std::string column = am::Trim(text(fields, 0));
        if (values->hasField(column)) add(am::Trim(text(fields, 1)), text(values, column));
    }
}

YearPeriod LedgerQueries::latestRun() const {
    auto latest = session_.latestDepreciated();
    if (!latest) throw std::runtime_error("尚无已结账的期间, 请先运行 period close");
    return *latest;
}

int32_t LedgerQueries::scheduleYear() const {
    if (auto latest = session_.latestDepreciated()) return latest->year;
    return periodSpan().first.year;
}

std::pair<YearPeriod, YearPeriod> LedgerQueries::periodSpan() const {
    auto rs = session_.connection().GetRecordset(
        "Select Min(intYear * 100 + bytPeriod), Max(intYear * 100 + bytPeriod) From AccountPeriod"
        " Where lngOrganizationID = " +
            std::to_string(session_.organization()),
        3, 1);
    if (rs->eof() || rs->field(0).isNull()) throw std::runtime_error("机构没有会计期间");
    return {period(rs, 0), period(rs, 1)};
}

std::vector<RegisterRow> LedgerQueries::register_(YearPeriod end) const {
    session_.requirePeriod(end);
    auto rs = session_.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, t.strAMAssetTypeName, d.strDepartmentName,"
        " Sum(j.dblAmountAlter), Sum(j.dblDeprection + j.dblDeprectionAlter), "
        "Sum(j.dblDecAmountAlter)"
        " From AMAssetFundDaily j, AMAsset a, AMAssetType t, Department d"
        " Where j.lngAMAssetID = a.lngAMAssetID And t.lngAMAssetTypeID = a.lngAMAssetTypeID"
        // the department of the version in force at the period end
        " And d.lngDepartmentID = (Select v.lngDepartmentID From AMAssetAlter v"
        " Where v.lngAMAssetAlterID = (Select Max(w.lngAMAssetAlterID) From AMAssetAlter w"
        " Where w.lngAMAssetID = a.lngAMAssetID And w.intYear * 100 + w.bytPeriod <= " +
            std::to_string(end.key()) +
            "))"
            " And j.lngOrganizationID = " +
            std::to_string(session_.organization()) +
            " And j.YearPeriod <= " + std::to_string(end.key()) +
            " Group By t.strAMAssetTypeCode, t.strAMAssetTypeName, d.strDepartmentCode, "
            "d.strDepartmentName,"
            " a.strAMAssetCode, a.strAMAssetName"
            " Order By t.strAMAssetTypeCode, d.strDepartmentCode, a.strAMAssetCode",
        3, 1);
    std::vector<RegisterRow> rows;
    for (; !rs->eof(); rs->moveNext())
        rows.push_back({text(rs, 0),
                        text(rs, 1),
                        text(rs, 2),
                        text(rs, 3),
                        {amount(rs, 4), amount(rs, 5), amount(rs, 6)}});
    return rows;
}

std::vector<DepreciationRow> LedgerQueries::depreciation(YearPeriod from, YearPeriod to,
                                                         bool byFund) const {
    return inTransaction(
        session_,
        [&] {
            for (YearPeriod p : session_.openPeriods())
                if (p <= to) PeriodCloser(session_).charge(p);
            return apportionedCharges(from, to, byFund);
        },
        Ending::RollBack);
}

// The expense side of the apportionment the books hold; a charge no account
// line takes is unapportioned (no account).
std::vector<DepreciationRow> LedgerQueries::apportionedCharges(YearPeriod from, YearPeriod to,
                                                               bool byFund) const {
    const std::string fund = byFund ? "f.strAMFundName" : "Null";
    const std::string fundGroup = byFund ? " f.strAMFundName," : "";
    const std::string account = "Decode(a.lngAccountID, 0, '未分摊', c.strAccountName)";
    auto rs = session_.connection().GetRecordset(
        "Select a.intYear * 100 + a.bytPeriod, " + fund + ", c.strAccountCode, " + account +
            ", d.strDepartmentName, Sum(a.dblAmount)"
            " From AMAssetFundBalanceAmortise a"
            " Join AMFund f On f.lngAMFundID = a.lngAMFundID"
            " Left Join Account c On c.lngAccountID = a.lngAccountID"
            " Left Join Department d On d.lngDepartmentID = a.lngDepartmentID"
            " Where a.bytDirection = 1 And a.lngOrganizationID = " +
            std::to_string(session_.organization()) +
            periodRange("a.intYear * 100 + a.bytPeriod", from, to) +
            " Group By a.intYear * 100 + a.bytPeriod," + fundGroup +
            " a.lngAccountID, c.strAccountCode, c.strAccountName, d.strDepartmentName"
            " Order By 1, 2, 3, 5",
        3, 1);
    std::vector<DepreciationRow> rows;
    for (; !rs->eof(); rs->moveNext())
        rows.push_back({period(rs, 0), byFund ? text(rs, 1) : "", text(rs, 2), text(rs, 3),
                        text(rs, 4), amount(rs, 5)});
    return rows;
}

std::vector<CategoryCharge> LedgerQueries::depreciationByCategory(YearPeriod from,
                                                                  YearPeriod to) const {
    auto rs = session_.connection().GetRecordset(
        "Select b.intYear * 100 + b.bytPeriod, t.strAMAssetTypeName, Sum(b.dblDepreciation)"
        " From AMAssetFundBalance b, AMAsset a, AMAssetType t"
        " Where a.lngAMAssetID = b.lngAMAssetID And t.lngAMAssetTypeID = a.lngAMAssetTypeID"
        " And b.lngOrganizationID = " +
            std::to_string(session_.organization()) +
            periodRange("b.intYear * 100 + b.bytPeriod", from, to) +
            " Group By b.intYear * 100 + b.bytPeriod, t.strAMAssetTypeCode, t.strAMAssetTypeName"
            " Order By 1, t.strAMAssetTypeCode",
        3, 1);
    std::vector<CategoryCharge> rows;
    for (; !rs->eof(); rs->moveNext()) rows.push_back({period(rs, 0), text(rs, 1), amount(rs, 2)});
    return rows;
}

std::vector<ScheduleRow> LedgerQueries::scheduleRows(int32_t year) const {
    const std::string org = std::to_string(session_.organization());
    const int32_t lastPeriod = static_cast<int32_t>(session_.number(
        "Select Max(bytPeriod) From AccountPeriod Where lngOrganizationID = " + org +
        " And intYear = " + std::to_string(year)));
    auto rs = session_.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, b.bytPeriod, Sum(b.dblDepreciation),"
        " Sum(b.dblRenewDepreciation) From AMAssetFundBalance b, AMAsset a"
        " Where a.lngAMAssetID = b.lngAMAssetID And b.lngOrganizationID = " +
            org + " And b.intYear = " + std::to_string(year) +
            " Group By a.strAMAssetCode, a.strAMAssetName, b.bytPeriod Order By 1, 3",
        3, 1);
    std::vector<ScheduleRow> rows;
    for (; !rs->eof(); rs->moveNext()) {
        if (rows.empty() || rows.back().code != text(rs, 0))
            rows.push_back({text(rs, 0), text(rs, 1), {}, 0});
        const int32_t month = rs->field(2).toInt32();
        rows.back().months.at(month - 1) += amount(rs, 3);
        if (month == lastPeriod) rows.back().after = amount(rs, 4);
    }
    return rows;
}

// Cost less impairment less accumulated depreciation, over every source
// version depreciated in the month.
std::array<double, 12> LedgerQueries::netBookValues(int32_t year) const {
    auto rs = session_.connection().GetRecordset(
        "Select b.bytPeriod, Sum(fa.dblAmount - fa.dblDecAmount - b.dblInitDepreciation -"
        " b.dblDepreciation) From AMAssetFundBalance b, AMAssetFundAlter fa"
        " Where fa.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID And b.lngOrganizationID = " +
            std::to_string(session_.organization()) + " And b.intYear = " + std::to_string(year) +
            " Group By b.bytPeriod",
        3, 1);
    std::array<double, 12> values{};
    for (; !rs->eof(); rs->moveNext()) values.at(rs->field(0).toInt32() - 1) = amount(rs, 1);
    return values;
}

// The year after the account set's last is forecast on trial periods, which
// the forecast's rollback takes away again: the figures the next account set
// will charge, seen before the carry-forward.
void LedgerQueries::addTrialYear(int32_t year) const {
    if (year != periodSpan().second.year + 1) return;
    session_.lookup("Select AMAssetMakePeriods(Array[" + std::to_string(year) + "]) From Dual");
}

Schedule LedgerQueries::schedule(int32_t year) const {
    Schedule s;
    s.year = year;
    return inTransaction(
        session_,
        [&] {
            addTrialYear(year);
            s.open = session_.openPeriods(year);
            for (YearPeriod p : s.open) PeriodCloser(session_).depreciate(p);
            s.rows = scheduleRows(year);
            s.netBookValue = netBookValues(year);
            s.byCategory = depreciationByCategory({year, 1}, {year, 12});
            return s;
        },
        Ending::RollBack);
}

std::vector<JournalRow> LedgerQueries::journal(const std::string& assetCode) const {
    auto rs = session_.connection().GetRecordset(
        "Select j.YearPeriod, f.strAMFundName, j.blnFromDepreciation, j.dblAmountAlter,"
        " j.dblDeprection + j.dblDeprectionAlter, j.dblDecAmountAlter, j.dblTotalAmount, "
        "j.dblTotalDeprection,"
        " j.dblTotalDecAmount From AMAssetFundDaily j, AMFund f Where f.lngAMFundID = j.lngAMFundID"
        " And j.lngAMAssetID = " +
            std::to_string(session_.assetID(assetCode)) +
            " Order By j.YearPeriod, f.strAMFundCode, j.blnFromDepreciation, "
            "j.lngAMAssetFundDailyID",
        3, 1);
    std::vector<JournalRow> rows;
    for (; !rs->eof(); rs->moveNext())
        rows.push_back({period(rs, 0),
                        text(rs, 1),
                        rs->field(2).toInt32() != 0,
                        amount(rs, 3),
                        amount(rs, 4),
                        amount(rs, 5),
                        {amount(rs, 6), amount(rs, 7), amount(rs, 8)}});
    return rows;
}

}  // namespace tk::ledger
