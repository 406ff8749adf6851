// The demo year's categories, names and costs, drawn from a fixed seed so that every run gives
// the same assets, lorry kilometres and July documents.
#include "DemoYear.hpp"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "depreciation/clsAMAssetDeprection.hpp"
#include "ledger/AssetAlterer.hpp"
#include "ledger/AssetDisposer.hpp"
#include "ledger/LedgerQueries.hpp"
#include "register/clsAMAssetType.hpp"

namespace tk::tools {

using namespace ledger;

// A demo category: its code, the names its assets get and their cost range.
struct DemoCategory {
    const char* code;
    std::vector<const char*> names;
    double minCost, maxCost;
    int weight;  // how often it is drawn
};

namespace {

constexpr int16_t kWorkload = 3;
constexpr int16_t kPublicSector = 3;

const std::vector<DemoCategory>& categories() {
    static const std::vector<DemoCategory> kCategories = {
        {"01-01-01", {"综合办公楼", "研发中心大楼", "行政楼"}, 3e6, 9e6, 1},
        {"01-01-02", {"一号生产厂房", "二号生产厂房", "装配车间", "成品仓库"}, 2e6, 8e6, 2},
        {"01-02-01", {"厂区主干道", "物流通道"}, 2e5, 8e5, 1},
        {"01-02-02", {"厂区围墙"}, 1e5, 3e5, 1},
        {"02-01-01",
         {"数控车床", "立式加工中心", "平面磨床", "数控铣床", "摇臂钻床"},
         8e4,
         9e5,
         12},
        {"02-01-02", {"桥式起重机", "电动葫芦", "门式起重机"}, 5e4, 6e5, 5},
        {"02-02", {"注塑机", "激光切割机", "自动焊接机器人", "空气压缩机"}, 1e5, 1.5e6, 10},
        {"03-01-01", {"商务车", "轿车", "中型客车"}, 1.5e5, 6e5, 5},
        {"03-01-02", {"厢式货车", "重型卡车", "冷藏车"}, 1.2e5, 7e5, 6},
        {"04-01-01", {"台式计算机", "图形工作站"}, 4e3, 2e4, 20},
        {"04-01-02", {"笔记本电脑", "移动工作站"}, 5e3, 2.5e4, 20},
        {"04-01-03", {"数据库服务器", "应用服务器", "存储阵列"}, 3e4, 3e5, 6},
        {"04-02", {"激光打印机", "复印机", "投影仪", "扫描仪"}, 2e3, 6e4, 14},
        {"05-01", {"会议桌", "办公桌椅组合", "接待沙发"}, 2e3, 3e4, 10},
        {"05-02", {"文件柜", "档案密集架", "货架"}, 1.5e3, 5e4, 8},
        {"06", {"厂区土地使用权"}, 5e6, 1e7, 1},
    };
    return kCategories;
}

// Where a department's depreciation is charged.
const char* expenseAccount(const std::string& department) {
    if (department == "0103") return "510101";
    if (department == "0105") return "660101";
    return "660201";
}

}  // namespace

DemoYear::DemoYear(const LedgerSession& session) : session_(session), adder_(session) {}

void DemoYear::useBothDepreciationTypes() const {
    for (const char* code : {"04-02", "05-01", "05-02"}) {
        am::clsAMAssetType type;
        type.LoadID(std::stoi(*session_.lookup("Select lngAMAssetTypeID From AMAssetType Where "
                                               "strAMAssetTypeCode = '" +
                                               std::string(code) + "'")),
                    session_.organization());
        type.bytDepreciationtype = kPublicSector;
        if (type.SaveCard() == 0)
            throw std::runtime_error(std::string("保存资产类别失败: ") + code);
    }
}

void DemoYear::addAssets(const std::function<void(const std::string&)>& added) {
    for (int i = 0; i < kAssets; ++i) {
        NewAsset asset = draw(i);
        auto [id, code] = adder_.add(asset);
        if (asset.method == kWorkload) trucks_.push_back({id, session_.periodOfDate(asset.date)});
        added(code);
    }
}

void DemoYear::recordWork(YearPeriod period) {
    am::clsAMAssetDeprection depreciation;
    std::uniform_real_distribution<double> km(1500, 9000);
    for (const auto& [asset, added] : trucks_) {
        if (period <= added) continue;  // from the month after it came
        double work = std::round(km(random_));
        if (!depreciation.CaclDeprectionWork(0, static_cast<int16_t>(period.year), period.period,
                                             asset, work, session_.organization()))
            throw std::runtime_error("登记工作量失败: 期间 " + period.text());
    }
}

DemoYear::Changes DemoYear::changeMidYear() const {
    const std::string date = std::to_string(kYear) + "-07-10";
    const auto machines = assetsOf("02-02", 3);
    for (const auto& [code, cost] : machines) {
        AssetAlteration impairment;
        impairment.date = date;
        impairment.impairment = std::round(cost * 10) / 100;
        AssetAlterer(session_).alter(code, impairment);
    }
    const auto laptops = assetsOf("04-01-02", 2);
    for (const auto& [code, cost] : laptops) {
        AssetAlteration transfer;
        transfer.date = date;
        transfer.department = "0104";
        AssetAlterer(session_).alter(code, transfer);
    }
    const auto computers = assetsOf("04-01-01", 2);
    for (const auto& [code, cost] : computers) AssetDisposer(session_).dispose(code, date, "08");
    return {machines.size(), laptops.size(), computers.size()};
}

std::vector<std::pair<std::string, double>> DemoYear::assetsOf(const std::string& category,
                                                               size_t count) const {
    const std::string midYear = std::to_string(kYear) + "-06-01";
    std::vector<std::pair<std::string, double>> found;
    for (const auto& asset : LedgerQueries(session_).assets(category))
        if (asset.date < midYear && found.size() < count)
            found.emplace_back(asset.code, asset.cost);
    return found;
}

NewAsset DemoYear::draw(int index) {
    const DemoCategory& category = pickCategory();
    std::uniform_int_distribution<size_t> nameOf(0, category.names.size() - 1);
    std::uniform_real_distribution<double> cost(category.minCost, category.maxCost);
    std::uniform_int_distribution<int> month(1, 12), day(1, 28), department(1, 5), method(0, 3);
    NewAsset asset;
    asset.category = category.code;
    asset.name =
        std::string(category.names[nameOf(random_)]) + " " + std::to_string(index + 1) + "号";
    asset.cost = std::round(cost(random_) * 100) / 100;
    char date[11];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", kYear, month(random_), day(random_));
    asset.date = date;
    asset.department = "010" + std::to_string(department(random_));
    static constexpr int16_t kMethods[] = {2, 4, 5, 6};
    if (std::string(category.code) == "03-01-02")
        asset.method = kWorkload;
    else if (std::string(category.code) != "06")
        asset.method = kMethods[method(random_)];
    if (index % 5 == 0) asset.funds = {{"01", 60}, {"02", 40}};
    if (index % 7 == 0)
        asset.accountLines = {{"510101", "0103", 60}, {"660201", "0101", 40}};
    else
        asset.accountLines = {{expenseAccount(asset.department), asset.department, 100}};
    return asset;
}

const DemoCategory& DemoYear::pickCategory() {
    std::vector<int> weights;
    for (const auto& c : categories()) weights.push_back(c.weight);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    return categories()[pick(random_)];
}

}  // namespace tk::tools
