#include "AssetCommand.hpp"

#include <iostream>
#include <stdexcept>

#include "AssetAdder.hpp"
#include "AssetAlterer.hpp"
#include "AssetDisposer.hpp"
#include "InputText.hpp"
#include "TablePrinter.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::tools {
namespace {

std::optional<double> optionalNumber(const Options& o, const std::string& name,
                                     const std::string& what) {
    auto text = o.value(name);
    if (!text) return std::nullopt;
    return parseNonNegative(*text, what);
}

std::optional<double> optionalAmount(const Options& o, const std::string& name,
                                     const std::string& what) {
    auto text = o.value(name);
    if (!text) return std::nullopt;
    return parseAmount(*text, what);
}

std::string methodName(int16_t method) {
    static const char* const names[] = {"类别默认",       "不提折旧",   "平均年限法",    "工作量法",
                                        "双倍余额递减法", "年数总和法", "固定余额递减法"};
    return method >= 0 && method <= 6 ? names[method] : std::to_string(method);
}

// How a query's column shows in a table.
enum class Cell { Text, Amount, Method, Period };
struct QueryColumn {
    std::string title;
    Cell cell = Cell::Text;
};

std::string cellText(const Variant& value, Cell cell) {
    switch (cell) {
        case Cell::Amount:
            return formatAmount(value.toDouble());
        case Cell::Method:
            return methodName(static_cast<int16_t>(value.toInt32()));
        case Cell::Period:
            return YearPeriod::fromKey(value.toInt32()).text();
        case Cell::Text:
            break;
    }
    return value.toText();
}

// The rows of a query as a table, amounts to the right.
TablePrinter queryTable(const AccountSetSession& session, const std::string& sql,
                        const std::vector<QueryColumn>& columns) {
    std::vector<TablePrinter::Column> heads;
    for (const auto& c : columns)
        heads.push_back({c.title, c.cell == Cell::Amount ? TablePrinter::Align::Right
                                                         : TablePrinter::Align::Left});
    TablePrinter table(heads);
    auto rs = session.connection().GetRecordset(sql, 3, 1);
    for (; !rs->eof(); rs->moveNext()) {
        std::vector<std::string> cells;
        for (size_t i = 0; i < columns.size(); ++i)
            cells.push_back(cellText(rs->field(static_cast<int>(i)), columns[i].cell));
        table.addRow(std::move(cells));
    }
    return table;
}

NewAsset newAssetFrom(const Options& o) {
    NewAsset asset;
    asset.category = o.value("category", "");
    asset.name = o.value("name", "");
    asset.date = o.value("date", "");
    asset.department = o.value("department", "");
    auto cost = o.value("cost");
    if (!cost) throw std::runtime_error("请指定原值 (--cost)");
    asset.cost = parseAmount(*cost, "原值");
    asset.residualRate = optionalNumber(o, "residual-rate", "净残值率");
    asset.life = optionalNumber(o, "life", "使用期间");
    asset.totalWork = optionalNumber(o, "total-work", "工作总量");
    if (auto method = o.value("method"))
        asset.method = static_cast<int16_t>(parseInteger(*method, 1, 6, "折旧方法"));
    for (const std::string& fund : o.values("fund")) {
        auto parts = splitParts(fund, 2, "资金来源");
        asset.funds.push_back({parts[0], parseNonNegative(parts[1], "资金来源比例")});
    }
    for (const std::string& line : o.values("account-line")) {
        auto parts = splitParts(line, 3, "折旧分摊");
        asset.accountLines.push_back(
            {parts[0], parts[1], parseNonNegative(parts[2], "折旧分摊比例")});
    }
    return asset;
}

int addAsset(const CliContext& cli) {
    NewAsset asset = newAssetFrom(cli.options());
    AccountSetSession session(cli);
    auto [id, code] = AssetAdder(session).add(asset);
    std::cout << "资产已新增: " << code << " " << asset.name << " (编号 " << id << ")\n";
    return 0;
}

int listAssets(const CliContext& cli) {
    AccountSetSession session(cli);
    const Options& o = cli.options();
    std::string where = " Where a.lngOrganizationID = " + std::to_string(session.organization());
    if (auto category = o.value("category"))
        where += " And t.strAMAssetTypeCode Like " + sqlText(*category + "%");
    if (auto department = o.value("department"))
        where += " And d.strDepartmentCode = " + sqlText(*department);
    TablePrinter table = queryTable(
        session,
        "Select a.strAMAssetCode, a.strAMAssetName, t.strAMAssetTypeName, d.strDepartmentName,"
        " v.dblAmount From AMAsset a, AMAssetAlter v, AMAssetType t, Department d" +
            where +
            " And v.lngAMAssetAlterID = a.lngAMAssetLastAlterID"
            " And t.lngAMAssetTypeID = a.lngAMAssetTypeID"
            " And d.lngDepartmentID = v.lngDepartmentID Order By a.strAMAssetCode",
        {{"资产编码"}, {"资产名称"}, {"类别"}, {"部门"}, {"原值", Cell::Amount}});
    o.flag("csv") ? table.printCsv(std::cout) : table.print(std::cout);
    return 0;
}

int recordWork(const CliContext& cli) {
    const Options& o = cli.options();
    auto period = o.value("period");
    auto work = o.value("work");
    if (o.word(2).empty() || !period || !work)
        throw std::runtime_error(
            "用法: amasset asset work 资产编码 --period yyyy-MM --work 工作量");
    YearPeriod yp = YearPeriod::parse(*period);
    double amount = parseNonNegative(*work, "工作量");
    AccountSetSession session(cli);
    session.requirePeriod(yp);
    int32_t asset = session.assetID(o.word(2));
    inTransaction(session, [&] {
        am::clsAMAssetDeprection depreciation;
        requireEngine(depreciation.CaclDeprectionWork(0, static_cast<int16_t>(yp.year), yp.period,
                                                      asset, amount, session.organization()),
                      depreciation, "登记工作量失败");
        return 0;
    });
    std::cout << "已登记工作量: " << o.word(2) << " " << yp.text() << " " << amount << "\n";
    return 0;
}

AssetAlteration alterationFrom(const Options& o) {
    AssetAlteration a;
    a.date = o.value("date", "");
    a.cost = optionalAmount(o, "cost", "原值");
    a.impairment = optionalAmount(o, "impairment", "减值准备");
    a.residual = optionalAmount(o, "residual", "净残值");
    a.life = optionalNumber(o, "life", "使用期间/工作总量");
    if (auto method = o.value("method"))
        a.method = static_cast<int16_t>(parseInteger(*method, 1, 6, "折旧方法"));
    a.department = o.value("department");
    a.way = o.value("way");
    return a;
}

int alterAsset(const CliContext& cli) {
    const Options& o = cli.options();
    if (o.word(2).empty() || !o.value("date"))
        throw std::runtime_error(
            "用法: amasset asset alter 资产编码 --date yyyy-MM-dd [--cost 原值] [--impairment "
            "减值准备]\n"
            "         [--residual 净残值] [--life 月数或工作总量] [--method 1..6] [--department "
            "部门编码] [--way 变动方式编码]");
    AssetAlteration alteration = alterationFrom(o);
    AccountSetSession session(cli);
    AssetAlterer(session).alter(o.word(2), alteration);
    std::cout << "资产已变动: " << o.word(2) << " " << alteration.date << "\n";
    return 0;
}

int disposeAsset(const CliContext& cli) {
    const Options& o = cli.options();
    auto date = o.value("date");
    if (o.word(2).empty() || !date)
        throw std::runtime_error(
            "用法: amasset asset dispose 资产编码 --date yyyy-MM-dd [--way 减少方式编码]"
            " [--part 30% | --cost-out 金额]");
    AccountSetSession session(cli);
    AssetDisposer disposer(session);
    const std::string way = o.value("way", "08");
    const auto part = o.value("part"), amount = o.value("cost-out");
    if (part || amount) {
        const double costOut =
            part ? disposer.costOfPart(o.word(2), *part) : parseAmount(*amount, "减少的原值");
        disposer.disposePart(o.word(2), *date, way, costOut);
        std::cout << "资产已部分减少: " << o.word(2) << " " << *date << " 原值 "
                  << formatDouble(costOut) << "\n";
        return 0;
    }
    disposer.dispose(o.word(2), *date, way);
    std::cout << "资产已减少: " << o.word(2) << " " << *date << "\n";
    return 0;
}

void printCard(const AccountSetSession& session, const am::clsAMAssetCard& card) {
    auto text = [&](const std::string& sql) { return session.lookup(sql).value_or(""); };
    TablePrinter fields({{"项目"}, {"内容"}});
    fields.addRow({"资产编码", card.strAMAssetCode});
    fields.addRow({"资产名称", card.strAMAssetName});
    fields.addRow(
        {"类别", text("Select strAMAssetTypeName From AMAssetType Where lngAMAssetTypeID = " +
                      std::to_string(card.lngAMAssetTypeID))});
    fields.addRow({"部门", text("Select d.strDepartmentName From Department d, AMAssetAlter v"
                                " Where d.lngDepartmentID = v.lngDepartmentID"
                                " And v.lngAMAssetAlterID = " +
                                std::to_string(card.lngAMAssetAlterID))});
    fields.addRow({"入账日期", card.strCreateDate});
    fields.addRow({"折旧方法", methodName(card.bytDepreciationMethod)});
    fields.addRow({"原值", formatAmount(card.dblAmount)});
    fields.addRow({"净残值", formatAmount(card.dblNetworth)});
    fields.addRow({"减值准备", formatAmount(card.dblDecAmount)});
    fields.addRow({"使用期间/工作总量", formatAmount(card.dblUseage)});
    fields.print(std::cout);
}

// Every version of the card, oldest first, with the way that made it.
void printVersions(const AccountSetSession& session, int32_t assetID) {
    std::cout << "\n版本:\n";
    queryTable(session,
               "Select v.strDate, m.strAMAssetMethodName, d.strDepartmentName,"
               " v.bytDepreciationMethod, v.dblUseage, v.dblAmount, v.dblDecAmount, v.dblNetworth"
               " From AMAssetAlter v, AMAssetMethod m, Department d"
               " Where m.lngAMAssetMethodID(+) = v.lngAMAssetMethodID"
               " And d.lngDepartmentID(+) = v.lngDepartmentID And v.lngAMAssetID = " +
                   std::to_string(assetID) + " Order By v.lngAMAssetAlterID",
               {{"日期"},
                {"方式"},
                {"部门"},
                {"折旧方法", Cell::Method},
                {"使用期间/工作总量", Cell::Amount},
                {"原值", Cell::Amount},
                {"减值准备", Cell::Amount},
                {"净残值", Cell::Amount}})
        .print(std::cout);
}

// What each funding source carries, as the journal shows it now.
void printFunds(const AccountSetSession& session, int32_t assetID) {
    std::cout << "\n已过账的资金来源:\n";
    queryTable(session,
               "Select f.strAMFundName, Sum(j.dblAmountAlter),"
               " Sum(j.dblDeprection + j.dblDeprectionAlter), Sum(j.dblDecAmountAlter)"
               " From AMAssetFundDaily j, AMFund f Where j.lngAMFundID = f.lngAMFundID"
               " And j.lngAMAssetID = " +
                   std::to_string(assetID) +
                   " Group By f.strAMFundCode, f.strAMFundName Order By f.strAMFundCode",
               {{"资金来源"},
                {"原值", Cell::Amount},
                {"累计折旧", Cell::Amount},
                {"减值准备", Cell::Amount}})
        .print(std::cout);
}

// The asset's charge per depreciated period, and its accumulated depreciation
// at the period's end (an opening figure included).
void printDepreciation(const AccountSetSession& session, int32_t assetID) {
    std::cout << "\n折旧:\n";
    queryTable(session,
               "Select intYear * 100 + bytPeriod, Sum(dblDepreciation),"
               " Sum(dblInitDepreciation + dblDepreciation) From AMAssetFundBalance"
               " Where lngAMAssetID = " +
                   std::to_string(assetID) + " Group By intYear * 100 + bytPeriod Order By 1",
               {{"期间", Cell::Period}, {"折旧额", Cell::Amount}, {"累计折旧", Cell::Amount}})
        .print(std::cout);
}

// The card's latest version, its history, its depreciation and what its
// sources carry.
int showAsset(const CliContext& cli) {
    if (cli.options().word(2).empty())
        throw std::runtime_error("用法: amasset asset show 资产编码");
    AccountSetSession session(cli);
    am::clsAMAssetCard card;
    card.Mode = am::atOther;
    card.LoadID(session.assetID(cli.options().word(2)));
    printCard(session, card);
    printVersions(session, card.lngAMAssetID);
    printDepreciation(session, card.lngAMAssetID);
    printFunds(session, card.lngAMAssetID);
    return 0;
}

}  // namespace

int assetCommand(const CliContext& cli) {
    std::string action = cli.options().word(1);
    if (action == "add") return addAsset(cli);
    if (action == "list") return listAssets(cli);
    if (action == "show") return showAsset(cli);
    if (action == "work") return recordWork(cli);
    if (action == "alter") return alterAsset(cli);
    if (action == "dispose") return disposeAsset(cli);
    std::cerr
        << "用法: amasset asset add --category 类别编码 --name 名称 --cost 原值 --date yyyy-MM-dd\n"
           "         [--residual-rate R] [--life 月数 | --total-work 工作总量] [--method 2..6]\n"
           "         [--department 部门编码] [--fund 编码:比例 ...] [--account-line 科目:部门:比例 "
           "...]\n"
           "       amasset asset list [--category 类别编码] [--department 部门编码] [--csv]\n"
           "       amasset asset show 资产编码\n"
           "       amasset asset work 资产编码 --period yyyy-MM --work 工作量\n"
           "       amasset asset alter 资产编码 --date yyyy-MM-dd [--cost 原值] [--impairment "
           "减值准备]\n"
           "         [--residual 净残值] [--life 月数或工作总量] [--method 1..6] [--department "
           "部门编码]\n"
           "         [--way 变动方式编码]\n"
           "       amasset asset dispose 资产编码 --date yyyy-MM-dd [--way 减少方式编码]"
           " [--part 30% | --cost-out 金额]\n";
    return 2;
}

}  // namespace tk::tools
