// Four operators at once through a seeded random mix of additions, changes,
// transfers, disposals, work, closes and reports on one account set: every
// failure is a documented refusal, and afterwards the register, the journal,
// the balances and the forecast agree to the cent and no code is repeated.
// TKAM_SOAK_OPERATIONS (default 200, for CI; 1000 and more for a longer
// run) and TKAM_SOAK_SEED set the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <sstream>

#include "AmassetCli.hpp"
#include "BooksInvariant.hpp"

namespace tk::test {
namespace {

constexpr int kOperators = 4;

int fromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

// The refusals the operations document, by kind: what the command says.
const std::pair<const char*, const char*> kRefusals[] = {
    {"period already depreciated", "已计提折旧"},
    {"date before the asset's last change", "早于资产最近一次变动的日期"},
    {"asset already disposed", "减少, 不能再变动"},
    {"period closed out of order", "尚未结账|早于最近已结账的期间"},
    {"no such period", "会计期间不存在|日期不在会计期间内"},
    {"no work method", "工作量"},
    {"net value below what remains", "净值|不能大于原值"},
    {"nothing changed", "变动后的内容与资产现状相同"},
    {"report before the first close", "尚无已结账的期间"},
};

std::string refusalKind(const std::string& out) {
    for (const auto& [kind, says] : kRefusals)
        if (std::regex_search(out, std::regex(says))) return kind;
    return "";
}

std::string periodText(int key) {
    std::ostringstream out;
    out << key / 100 << '-' << (key % 100 < 10 ? "0" : "") << key % 100;
    return out.str();
}

double amount(std::string text) {
    std::erase(text, ',');
    return text.empty() ? 0 : std::stod(text);
}

// The total row of a CSV report, and whether it has the columns it should.
std::vector<std::string> totalRow(const AmassetCli& cli, const std::string& report,
                                  size_t columns) {
    std::vector<std::string> total = LastCsvRow(cli.run(report).out);
    EXPECT_EQ(total.size(), columns) << report;
    total.resize(columns);
    return total;
}

class SoakTest : public ::testing::Test {
  protected:
    // The latest closed period, 202400 before the first close.
    int latestClosed() const {
        return static_cast<int>(
            cli_.scalar("Select Coalesce(Max(intYear * 100 + bytPeriod), 202400) From "
                        "AMAssetDepreciation"));
    }
    int openPeriod() const {
        const int latest = latestClosed();
        return latest % 100 == 12 ? (latest / 100 + 1) * 100 + 1 : latest + 1;
    }
    std::string someAsset(std::mt19937& random) const {
        int last =
            static_cast<int>(cli_.scalar("Select Coalesce(Max(lngAMAssetID), 0) From AMAsset"));
        if (last == 0) return "";
        int from = std::uniform_int_distribution<int>(1, last)(random);
        return cli_.text(
            "Select Min(strAMAssetCode) From AMAsset Where lngAMAssetID = (Select "
            "Min(lngAMAssetID) From AMAsset Where lngAMAssetID >= " +
            std::to_string(from) + ")");
    }

    // One operation drawn from the mix, as a command line's arguments; about
    // one in `closeEvery` a close, so that the year lasts the run.
    std::string operation(std::mt19937& random, int closeEvery) const {
        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        const int open = openPeriod();
        const std::string day = periodText(open) + "-" + std::to_string(10 + pick(18));
        const std::string cost =
            std::to_string(1000 + pick(200000)) + "." + std::to_string(10 + pick(90));
        const char* departments[] = {"0101", "0102", "0103", "0104", "0105"};
        if (pick(closeEvery) == 0) return "period close --period " + periodText(open);
        const int roll = pick(100);
        const std::string asset = roll < 30 ? "" : someAsset(random);
        if (roll < 25 || asset.empty())
            return "asset add --category 04-02 --name 打印机 --method 2 --life 60 --cost " + cost +
                   " --date " + day + " --department " + departments[pick(5)];
        if (roll < 30)
            return "asset add --category 03-01-02 --name 货车 --method 3 --total-work 100000 "
                   "--cost " +
                   cost + " --date " + day;
        if (roll < 42) return "asset alter " + asset + " --date " + day + " --cost " + cost;
        if (roll < 52)
            return "asset alter " + asset + " --date " + day + " --department " +
                   departments[pick(5)];
        if (roll < 58) return "asset dispose " + asset + " --date " + day;
        if (roll < 66)
            return "asset work " + asset + " --period " + periodText(open) + " --work " +
                   std::to_string(100 + pick(2000));
        return "report register --period " + periodText(std::max(latestClosed(), 202401)) +
               " --csv";
    }

    // The total row of a report whose `column` is what the query adds up.
    std::vector<std::string> totalAgrees(const std::string& report, size_t columns, size_t column,
                                         const std::string& sum) const {
        auto total = totalRow(cli_, report, columns);
        EXPECT_NEAR(amount(total[column]), cli_.scalar(sum), 0.005) << report;
        return total;
    }

    void runOperator(int index, int operations, int closeEvery, int seed) {
        std::mt19937 random(static_cast<unsigned>(seed * 31 + index));
        for (int i = 0; i < operations; ++i) {
            const std::string args = operation(random, closeEvery);
            Outcome done = cli_.run(args);
            std::lock_guard<std::mutex> lock(mutex_);
            ++operations_;
            const std::string command = args.substr(0, args.find(' ', args.find(' ') + 1));
            ++tried_[command];
            if (done.status == 0) {
                ++succeeded_[command];
                continue;
            }
            std::string kind = refusalKind(done.out);
            if (kind.empty()) undocumented_.push_back(args + "\n" + done.out);
            ++refusals_[kind];
        }
    }

    AmassetCli cli_{"gsoak"};
    std::mutex mutex_;
    int operations_ = 0;
    std::map<std::string, int> refusals_, tried_, succeeded_;
    std::vector<std::string> undocumented_;
};

TEST_F(SoakTest, FourOperatorsKeepTheBooksInStep) {
    const int operations = fromEnvironment("TKAM_SOAK_OPERATIONS", 200);
    const int seed = fromEnvironment("TKAM_SOAK_SEED", 18);
    std::vector<std::future<void>> operators;
    for (int o = 0; o < kOperators; ++o)
        operators.push_back(std::async(std::launch::async, [=, this] {
            runOperator(o, operations / kOperators + (o < operations % kOperators),
                        std::max(1, operations / 11), seed);
        }));
    for (auto& o : operators) o.get();
    for (const std::string& failure : undocumented_) ADD_FAILURE() << failure;
    // A run where the commands were refused would keep the books in step
    // trivially. Additions and closes in the open period have nothing to be
    // refused for but a race lost to a close; changes meet disposed assets
    // and later dates, yet a quarter of them must still go through.
    for (const auto& [command, tried] : tried_) {
        const bool plain = command == "asset add" || command == "period close";
        EXPECT_GE(succeeded_[command] * (plain ? 10 : 4), tried * (plain ? 9 : 1))
            << command << ": " << succeeded_[command] << " of " << tried << " went through";
    }

    const int open = openPeriod();
    if (open <= 202412) {
        Outcome rest = cli_.run("period close --period " + periodText(open) + " --to 2024-12");
        ASSERT_EQ(rest.status, 0) << rest.out;
    }

    std::ostringstream figures;
    figures << operations_ << " operations, seed " << seed << "; refusals:";
    for (const auto& [kind, count] : refusals_) figures << " " << kind << " " << count << ";";
    figures << " went through:";
    for (const auto& [command, tried] : tried_)
        figures << " " << command << " " << succeeded_[command] << "/" << tried << ";";
    EXPECT_EQ(cli_.scalar("Select Count(*) - Count(Distinct strAMAssetCode) From AMAsset"), 0);
    EXPECT_EQ(cli_.scalar(RunsOutOfStep()), 0)
        << "a period whose run, balances, journal and apportionment differ";
    EXPECT_EQ(cli_.scalar("Select Count(*) From (Select lngAMAssetID From AMAssetFundBalance Group"
                          " By lngAMAssetID, lngAMFundID, intYear, bytPeriod Having Count(*) > 1)"),
              0)
        << "a funding source with two rows in one period";
    // The year-end register's cost is the journal's, its net value what is left of it,
    // and the schedule of the year charges what the balances hold.
    auto book = totalAgrees("report register --period 2024-12 --csv", 8, 4,
                            "Select Sum(dblAmountAlter) From AMAssetFundDaily"
                            " Where YearPeriod <= 202412");
    EXPECT_NEAR(amount(book[7]), amount(book[4]) - amount(book[5]) - amount(book[6]), 0.005);
    auto schedule = totalAgrees("report schedule --year 2024 --csv", 16, 14,
                                "Select Sum(dblDepreciation) From AMAssetFundBalance"
                                " Where intYear = 2024");
    figures << " assets " << cli_.scalar("Select Count(*) From AMAsset") << "; register cost "
            << book[4] << " = journal; depreciation of the year " << schedule[14] << " = balances";
    std::cout << figures.str() << std::endl;
    RecordProperty("figures", figures.str());
}

}  // namespace
}  // namespace tk::test
