// The host's ledger methods: arguments read from variants, rows returned as tab-separated text,
// reports written as the command line writes them.
#include "report/clsAMLedger.hpp"

#include <fstream>
#include <optional>
#include <sstream>

#include "frame/ClassRegistry.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetAlterer.hpp"
#include "ledger/AssetDisposer.hpp"
#include "ledger/InputText.hpp"
#include "ledger/LedgerQueries.hpp"
#include "ledger/PeriodCloser.hpp"
#include "report/LedgerReports.hpp"

namespace tk::am {
namespace {

using Args = Dispatchable::Args;
using ledger::YearPeriod;

std::optional<Variant> given(const Args& a, size_t i) {
    const Variant& v = argOr(a, i, Variant());
    if (v.isEmpty() || (v.type() == Variant::Type::Text && v.toText().empty())) return std::nullopt;
    return v;
}

std::optional<double> givenNumber(const Args& a, size_t i) {
    auto v = given(a, i);
    return v ? std::optional(v->toDouble()) : std::nullopt;
}

std::vector<std::string> listOf(const Args& a, size_t i) {
    std::vector<std::string> items;
    if (auto v = given(a, i)) {
        std::stringstream in(v->toText());
        for (std::string item; std::getline(in, item, ',');)
            if (!item.empty()) items.push_back(item);
    }
    return items;
}

std::string amount(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Rows as tab-separated lines under their titles.
class RowText {
  public:
    explicit RowText(std::initializer_list<std::string> titles) { add(titles); }
    void add(const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) text_ << (i ? "\t" : "") << cells[i];
        text_ << "\n";
    }
    Variant value() const { return Variant(text_.str()); }

  private:
    std::ostringstream text_;
};

Variant addAsset(clsAMLedger& self, Args& a) {
    ledger::NewAsset asset;
    asset.category = requiredArg(a, 0).toText();
    asset.name = requiredArg(a, 1).toText();
    asset.cost = requiredArg(a, 2).toDouble();
    asset.date = requiredArg(a, 3).toText();
    if (auto department = given(a, 4)) asset.department = department->toText();
    for (const auto& fund : listOf(a, 5)) asset.funds.push_back(ledger::fundOf(fund));
    for (const auto& line : listOf(a, 6)) asset.accountLines.push_back(ledger::accountLineOf(line));
    const auto session = self.session();
    return Variant(ledger::AssetAdder(session).add(asset).second);
}

Variant alter(clsAMLedger& self, Args& a) {
    ledger::AssetAlteration change;
    change.date = requiredArg(a, 1).toText();
    change.cost = givenNumber(a, 2);
    change.impairment = givenNumber(a, 3);
    change.residual = givenNumber(a, 4);
    const auto session = self.session();
    ledger::AssetAlterer(session).alter(requiredArg(a, 0).toText(), change);
    return Variant(true);
}

Variant transfer(clsAMLedger& self, Args& a) {
    ledger::AssetAlteration change;
    change.date = requiredArg(a, 1).toText();
    change.department = requiredArg(a, 2).toText();
    const auto session = self.session();
    ledger::AssetAlterer(session).alter(requiredArg(a, 0).toText(), change);
    return Variant(true);
}

Variant dispose(clsAMLedger& self, Args& a) {
    const auto session = self.session();
    const ledger::AssetDisposer disposer(session);
    const std::string code = requiredArg(a, 0).toText(), date = requiredArg(a, 1).toText();
    const std::string way = given(a, 2) ? given(a, 2)->toText() : "08";
    if (auto costOut = givenNumber(a, 3))
        disposer.disposePart(code, date, way, *costOut);
    else
        disposer.dispose(code, date, way);
    return Variant(true);
}

Variant closePeriods(clsAMLedger& self, Args& a) {
    const YearPeriod from = YearPeriod::parse(requiredArg(a, 0).toText());
    const YearPeriod to = given(a, 1) ? YearPeriod::parse(given(a, 1)->toText()) : from;
    const auto session = self.session();
    ledger::PeriodCloser(session).close(from, to);
    return Variant(true);
}

Variant assets(clsAMLedger& self, Args&) {
    const auto session = self.session();
    RowText rows({"资产编码", "资产名称", "类别", "部门", "原值"});
    for (const auto& r : ledger::LedgerQueries(session).assets())
        rows.add({r.code, r.name, r.category, r.department, amount(r.cost)});
    return rows.value();
}

Variant registerRows(clsAMLedger& self, Args& a) {
    const auto session = self.session();
    const ledger::LedgerQueries queries(session);
    const YearPeriod end =
        given(a, 0) ? YearPeriod::parse(given(a, 0)->toText()) : queries.latestRun();
    RowText rows({"资产编码", "资产名称", "类别", "部门", "原值", "累计折旧", "减值准备", "净值"});
    for (const auto& r : queries.register_(end))
        rows.add({r.code, r.name, r.category, r.department, amount(r.figures.cost),
                  amount(r.figures.depreciation), amount(r.figures.impairment),
                  amount(r.figures.netValue())});
    return rows.value();
}

Variant depreciation(clsAMLedger& self, Args& a) {
    const auto session = self.session();
    const YearPeriod from = YearPeriod::parse(requiredArg(a, 0).toText());
    const YearPeriod to = given(a, 1) ? YearPeriod::parse(given(a, 1)->toText()) : from;
    RowText rows({"期间", "资金来源", "科目编码", "科目名称", "部门", "折旧额"});
    for (const auto& r : ledger::LedgerQueries(session).depreciation(
             from, to, given(a, 2) && given(a, 2)->toBool()))
        rows.add({r.period.text(), r.fund, r.accountCode, r.accountName, r.department,
                  amount(r.amount)});
    return rows.value();
}

Variant schedule(clsAMLedger& self, Args& a) {
    const auto session = self.session();
    const ledger::LedgerQueries queries(session);
    const auto s = queries.schedule(given(a, 0) ? given(a, 0)->toInt32() : queries.scheduleYear());
    RowText rows({"资产编码", "资产名称", "月份", "折旧额", "试算"});
    for (const auto& r : s.rows)
        for (int m = 1; m <= 12; ++m)
            rows.add({r.code, r.name, std::to_string(m), amount(r.months.at(m - 1)),
                      s.isOpen(m) ? "1" : "0"});
    return rows.value();
}

// The report of the command line's `report KIND --html|--csv` over the whole
// ledger: the register at the latest run, every period's depreciation, the
// schedule of the latest run's year.
report::Report reportOf(const report::LedgerReports& reports, const ledger::LedgerQueries& queries,
                        const std::string& kind, const std::optional<ledger::Schedule>& s) {
    if (kind == "register") return reports.registerAt(queries.latestRun());
    if (kind == "depreciation") {
        auto [first, last] = queries.periodSpan();
        return reports.depreciation(first, last);
    }
    if (kind == "schedule") return reports.schedule(*s);
    throw RunTimeError(errors::kInvalidArgument,
                       "报表应为 register、depreciation 或 schedule: \"" + kind + "\"");
}

Variant writeReport(clsAMLedger& self, Args& a) {
    const auto session = self.session();
    const ledger::LedgerQueries queries(session);
    const report::LedgerReports reports(session);
    const std::string kind = requiredArg(a, 0).toText(), file = requiredArg(a, 1).toText();
    const std::string format = given(a, 2) ? given(a, 2)->toText() : "html";
    std::optional<ledger::Schedule> s;
    if (kind == "schedule" || format == "html") s = queries.schedule(queries.scheduleYear());
    const report::Report report = reportOf(reports, queries, kind, s);
    if (format == "html") {
        reports.writeHtml(report, *s, file);
        return Variant(true);
    }
    std::ofstream out(file, std::ios::binary);
    report.print(out, format == "csv");
    if (!out) throw RunTimeError(errors::kInvalidArgument, "无法写入文件: " + file);
    return Variant(true);
}

}  // namespace

void clsAMLedger::describe(DispatchTable<clsAMLedger>& t) {
    t.field("Organization", &clsAMLedger::Organization);
    t.method("AddAsset", addAsset);
    t.method("Alter", alter);
    t.method("Transfer", transfer);
    t.method("Dispose", dispose);
    t.method("RecordWork", [](clsAMLedger& self, Args& a) {
        const auto session = self.session();
        ledger::PeriodCloser(session).recordWork(requiredArg(a, 0).toText(),
                                                 YearPeriod::parse(requiredArg(a, 1).toText()),
                                                 requiredArg(a, 2).toDouble());
        return Variant(true);
    });
    t.method("ClosePeriods", closePeriods);
    t.method("RebuildJournal", [](clsAMLedger& self, Args&) {
        const auto session = self.session();
        ledger::PeriodCloser(session).rebuildJournal();
        return Variant(true);
    });
    t.method("Amortise", [](clsAMLedger& self, Args&) {
        const auto session = self.session();
        ledger::PeriodCloser(session).amortise();
        return Variant(true);
    });
    t.method("Assets", assets);
    t.method("Register", registerRows);
    t.method("Depreciation", depreciation);
    t.method("Schedule", schedule);
    t.method("WriteReport", writeReport);
}

}  // namespace tk::am

using tk::am::clsAMLedger;
TKAM_REGISTER_CLASS(clsAMLedger)
