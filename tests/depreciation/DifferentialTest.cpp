// The engine against the reference model: one seeded random sequence of
// additions, changes, transfers, work, disposals and period closes drives
// both, and every funding source's charge and accumulated depreciation must
// agree to the cent after every period, with the journal in step.
// TKAM_DIFF_OPERATIONS makes a longer run, TKAM_DIFF_SEED another sequence.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <sstream>

#include "DepreciationFixture.hpp"
#include "ReferenceModel.hpp"
#include "depreciation/clsAMAssetDaily.hpp"

namespace tk::am::test {
namespace {

int EnvOr(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : fallback;
}

struct Tracked {
    int32_t id = 0;
    int16_t method = 2;
    std::vector<double> costs;  // per source, as the cards hold them
    double impairment = 0, residual = 0;
    bool disposed = false;
    int workedIn = 0;
};

class DifferentialTest : public DepreciationTest {
  protected:
    void SetUp() override {
        // 办公设备 follows the public-sector rule, everything else the enterprise one.
        UsePublicSectorRule();
    }

    // Only changes, every asset carried through to the end of its life.
    bool lifetimes = false;

    void Run(uint64_t seed, int operations) {
        random.seed(seed);
        seed_ = seed;
        for (int done = 0; done < operations && !HasFailure(); ++done) {
            Step();
            EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily Where YearPeriod >= " +
                             std::to_string(open)),
                      0)
                << "nothing is posted in an open period";
            if (HasFailure())
                ADD_FAILURE() << "seed " << seed << ", shortest failing prefix: " << done + 1
                              << " operations; the last ones:\n"
                              << Tail();
        }
        std::cout << "seed " << seed << ", through " << open << ":";
        for (const auto& [kind, count] : tally) std::cout << " " << kind << " " << count << ";";
        std::cout << "\n";
    }

  private:
    std::mt19937_64 random;
    uint64_t seed_ = 0;
    ReferenceModel model;
    std::vector<Tracked> assets;
    int open = 202401;
    std::vector<std::string> log;
    std::map<std::string, int> tally;  // operations by kind, for the run's summary

    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    static double Round2(double value) { return std::round(value * 100) / 100; }
    double Sum(const std::vector<double>& values) {
        double total = 0;
        for (double v : values) total += v;
        return total;
    }
    // The last operations, and the whole prefix in a file to replay by hand.
    std::string Tail() const {
        std::string text, path = "/tmp/tkam-differential-" + std::to_string(seed_) + ".log";
        std::ofstream all(path);
        for (size_t i = 0; i < log.size(); ++i) {
            all << log[i] << "\n";
            if (i + 20 >= log.size()) text += log[i] + "\n";
        }
        return text + "(all of them in " + path + ")";
    }
    void Note(const std::string& what) {
        log.push_back(std::to_string(open) + " " + what);
        ++tally[what.substr(0, what.find(' '))];
    }

    void Step() {
        int live = 0;
        for (const Tracked& a : assets) live += !a.disposed;
        int roll = Pick(100);
        if (assets.size() < (lifetimes ? 30u : 50u) && (roll < 30 || live == 0)) return Add();
        if (roll < 3) return Close();
        Tracked& asset = assets[Pick(static_cast<int>(assets.size()))];
        if (asset.disposed) return;
        if (roll < 6 && !lifetimes) return Dispose(asset);
        if (roll < 20) return Transfer(asset);
        if (roll < 35 && asset.method == 3) return Work(asset);
        Alter(asset);
    }

    // Every method, or only those that run down to the residual value by time.
    int AnyMethod() {
        static constexpr int kByTime[] = {2, 4, 5, 6};
        return lifetimes ? kByTime[Pick(4)] : 1 + Pick(6);
    }

    void Add() {
        int16_t method = static_cast<int16_t>(AnyMethod());
        bool workload = method == 3;
        AssetPlan plan = AssetPlan::Of(method, Round2(Uniform(1000, 500000)), 0,
                                       workload ? std::round(Uniform(1000, 50000)) : 12 + Pick(49),
                                       Pick(3) == 0 ? 22 : 10);
        plan.residual = Round2(plan.cost * (method == 6 ? Uniform(0.01, 0.1) : Uniform(0, 0.1)));
        plan.year = open / 100;
        plan.period = static_cast<int16_t>(open % 100);
        int sources = 1 + Pick(3);
        for (int i = 0; i < sources; ++i)
            plan.fundCosts.push_back(i + 1 == sources ? Round2(plan.cost - Sum(plan.fundCosts))
                                                      : Round2(plan.cost / sources));
        Tracked tracked{SaveAsset(plan), method, plan.fundCosts, 0, plan.residual};
        Note("add " + std::to_string(tracked.id) + " method " + std::to_string(method));
        EXPECT_TRUE(depreciation.CaclDeprectionAdd(0, tracked.id, kOrg))
            << depreciation.ErrorMessage();
        std::vector<FundFigures> funds;
        std::vector<double> residuals = SplitByCost(plan.residual, plan.fundCosts);
        for (size_t i = 0; i < plan.fundCosts.size(); ++i)
            funds.push_back({Cents(plan.fundCosts[i]), 0, Cents(residuals[i]), 0});
        model.add(open, method, plan.life,
                  plan.category == 22 ? Rule::PublicSector : Rule::Enterprise, funds);
        assets.push_back(tracked);
    }

    Change Dated() const {
        Change change;
        change.year = open / 100;
        change.period = static_cast<int16_t>(open % 100);
        return change;
    }

    void Alter(Tracked& asset) {
        Change change = Dated();
        double cost = Sum(asset.costs);
        std::optional<int> method;
        std::optional<double> life;
        switch (Pick(5)) {
            case 0:
                change.costChange = std::max(Round2(cost * Uniform(-0.9, 0.5)),
                                             Round2(asset.impairment + asset.residual - cost));
                break;
            case 1:
                change.impairmentChange =
                    Round2((cost - asset.residual - asset.impairment) * Uniform(0.01, 1));
                break;
            case 2:
                change.residualChange =
                    Round2((cost - asset.impairment) * Uniform(asset.method == 6 ? 0.01 : 0, 0.5) -
                           asset.residual);
                break;
            default:
                method = AnyMethod();
                if (*method == 6 && asset.residual <= 0) method = 2;
                change.method = static_cast<int16_t>(*method);
                life = change.life = *method == 3 ? std::round(Uniform(1000, 50000)) : 6 + Pick(60);
        }
        Note("alter " + std::to_string(asset.id) + " cost " + std::to_string(change.costChange) +
             " impairment " + std::to_string(change.impairmentChange) + " residual " +
             std::to_string(change.residualChange) + " life " + std::to_string(change.life) +
             " method " + std::to_string(change.method));
        int32_t version = SaveChange(asset.id, change);
        bool accepted = depreciation.CaclDeprectionAlter(0, asset.id, kOrg);
        std::vector<FundFigures> deltas;
        std::vector<double> costs = SplitByCost(change.costChange, asset.costs),
                            impairments = SplitByCost(change.impairmentChange, asset.costs),
                            residuals = SplitByCost(change.residualChange, asset.costs);
        for (size_t i = 0; i < costs.size(); ++i)
            deltas.push_back({Cents(costs[i]), Cents(impairments[i]), Cents(residuals[i]), 0});
        Verdict verdict =
            model.alter(static_cast<int>(&asset - assets.data()), open, deltas, method, life);
        EXPECT_EQ(accepted, verdict == Verdict::Accepted) << depreciation.ErrorMessage();
        if (!accepted) {
            ++tally[verdict == Verdict::NegativeNet ? "refused: net below 0"
                                                    : "refused: net below the residual value"];
            return TakeBack(asset.id, version);
        }
        for (size_t i = 0; i < costs.size(); ++i)
            asset.costs[i] = Round2(asset.costs[i] + costs[i]);
        asset.impairment = Round2(asset.impairment + change.impairmentChange);
        asset.residual = Round2(asset.residual + change.residualChange);
        if (method) asset.method = static_cast<int16_t>(*method);
    }

    // What a host does with a refused change: the version goes again.
    void TakeBack(int32_t asset, int32_t version) {
        std::string v = std::to_string(version), a = std::to_string(asset);
        Execute(
            "Update AMAsset Set lngAMAssetLastAlterID = (Select lngAMAssetRecentAlterID From "
            "AMAssetAlter Where lngAMAssetAlterID = " +
            v + ") Where lngAMAssetID = " + a);
        Execute(
            "Update AMAssetFund Set lngAMAssetFundLastAlterID = (Select "
            "y.lngAMAssetFundRecentAlterID From AMAssetFundAlter y Where "
            "y.lngAMAssetFundAlterID = AMAssetFund.lngAMAssetFundLastAlterID) Where lngAMAssetID "
            "= " +
            a);
        Execute("Delete From AMAssetFundAlter Where lngAMAssetAlterID = " + v);
        Execute("Delete From AMAssetAlter Where lngAMAssetAlterID = " + v);
        EXPECT_TRUE(depreciation.CaclDeprectionAlter(2, asset, kOrg));
    }

    void Transfer(Tracked& asset) {
        Change change = Dated();
        change.department = 3 + 2 * Pick(2);
        Note("transfer " + std::to_string(asset.id));
        SaveChange(asset.id, change);
        EXPECT_TRUE(depreciation.CaclDeprectionAlter(0, asset.id, kOrg))
            << depreciation.ErrorMessage();
        model.transfer(static_cast<int>(&asset - assets.data()), open);
    }

    void Work(Tracked& asset) {
        if (asset.workedIn == open) return;
        asset.workedIn = open;
        double work = std::round(Uniform(0, 3000));
        Note("work " + std::to_string(asset.id) + " " + std::to_string(work));
        bool accepted =
            depreciation.CaclDeprectionWork(0, static_cast<int16_t>(open / 100),
                                            static_cast<int16_t>(open % 100), asset.id, work, kOrg);
        Verdict verdict = model.work(static_cast<int>(&asset - assets.data()), open, work);
        EXPECT_EQ(accepted, verdict == Verdict::Accepted) << depreciation.ErrorMessage();
        if (!accepted) ++tally["refused: work past a change's floor"];
    }

    void Dispose(Tracked& asset) {
        Change change = Dated();
        change.alterType = 2;
        Note("dispose " + std::to_string(asset.id));
        DepreciationTest::Alter(asset.id, change);
        model.dispose(static_cast<int>(&asset - assets.data()), open);
        asset.disposed = true;
    }

    void Close() {
        Note("close");
        RunPeriod(open / 100, static_cast<int16_t>(open % 100));
        model.close(open);
        Compare();
        EXPECT_EQ(Scalar("Select Count(*) From (Select Sum(y.dblAmount - y.dblDecAmount - "
                         "b.dblInitDepreciation - b.dblDepreciation) As dblNet From "
                         "AMAssetFundBalance b, AMAssetFundAlter y Where y.lngAMAssetFundAlterID = "
                         "b.lngAMAssetFundAlterID And b.intYear * 100 + b.bytPeriod = " +
                         std::to_string(open) + " Group By b.lngAMAssetID) x Where x.dblNet < 0"),
                  0)
            << "no net value below 0 in " << open;
        ExpectJournalInStep();
        open = NextPeriod(open);
    }

    void Compare() {
        std::map<std::pair<int32_t, int32_t>, std::pair<int64_t, int64_t>> rows;
        auto rs = conn->GetRecordset(
            "Select lngAMAssetID, lngAMFundID, dblDepreciation, dblInitDepreciation + "
            "dblDepreciation From AMAssetFundBalance Where intYear * 100 + bytPeriod = " +
                std::to_string(open),
            3, 1);
        for (; !rs->eof(); rs->moveNext())
            rows[{rs->field(0).toInt32(), rs->field(1).toInt32()}] = {
                Cents(rs->field(2).toDouble()), Cents(rs->field(3).toDouble())};
        for (size_t a = 0; a < assets.size(); ++a) {
            int index = static_cast<int>(a);
            for (size_t f = 0; f < assets[a].costs.size(); ++f) {
                auto row = rows.find({assets[a].id, static_cast<int32_t>(f + 1)});
                ASSERT_EQ(row != rows.end(), model.inRegister(index, open))
                    << "asset " << assets[a].id << " in " << open;
                if (row == rows.end()) continue;
                int fund = static_cast<int>(f);
                EXPECT_EQ(row->second.first, model.charge(index, fund, open))
                    << "charge of asset " << assets[a].id << " source " << f + 1 << " in " << open;
                EXPECT_EQ(row->second.second, model.accumulated(index, fund))
                    << "accumulated of asset " << assets[a].id << " source " << f + 1;
            }
        }
    }

    // The journal's running sums give each source's accumulated depreciation,
    // and posting the period again posts nothing new.
    void ExpectJournalInStep() {
        std::string period = std::to_string(open);
        EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundBalance b Where b.intYear * 100 + "
                         "b.bytPeriod = " +
                         period +
                         " And Abs(b.dblInitDepreciation + b.dblDepreciation - (Select "
                         "Coalesce(Sum(d.dblDeprection + d.dblDeprectionAlter), 0) From "
                         "AMAssetFundDaily d Where d.lngAMAssetID = b.lngAMAssetID And "
                         "d.lngAMFundID = b.lngAMFundID And d.YearPeriod <= " +
                         period +
                         ")) > 0.001 And Not Exists (Select 1 From AMAssetAlter v Where "
                         "v.lngAMAssetAlterID = b.lngAMAssetAlterID And v.bytAlterType = 2)"),
                  0)
            << "journal and balances of " << open;
        double rows = Scalar("Select Count(*) From AMAssetFundDaily");
        auto year = static_cast<int16_t>(open / 100);
        auto month = static_cast<int16_t>(open % 100);
        for (bool fromDepreciation : {false, true})
            EXPECT_TRUE(
                depreciation.WriteDaily(year, month, 0, fromDepreciation, false, Variant(kOrg)));
        EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily"), rows) << "posting twice";
    }

  public:
    // Closes periods until every life is over; then each asset without an
    // impairment stands at its residual value, and what the register holds
    // is what the months charged.
    void ExpectLivesEndAtTheResidualValue() {
        for (int extra = 0; extra < 80 && !HasFailure(); ++extra) Close();
        const std::string last = std::to_string(LastClosed());
        EXPECT_EQ(
            Scalar("Select Count(*) From (Select Sum(y.dblAmount - y.dblDecAmount - "
                   "b.dblInitDepreciation - b.dblDepreciation - y.dblNetworth) As dblOver, "
                   "Sum(y.dblDecAmount) As dblImpairment From AMAssetFundBalance b, "
                   "AMAssetFundAlter y Where y.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID "
                   "And b.intYear * 100 + b.bytPeriod = " +
                   last +
                   " Group By b.lngAMAssetID) x Where x.dblImpairment = 0 And x.dblOver <> 0"),
            0);
        EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundBalance b Where b.intYear * 100 + "
                         "b.bytPeriod = " +
                         last +
                         " And b.dblInitDepreciation + b.dblDepreciation <> (Select "
                         "Sum(c.dblDepreciation) From AMAssetFundBalance c Where c.lngAMAssetID = "
                         "b.lngAMAssetID And c.lngAMFundID = b.lngAMFundID)"),
                  0);
    }
    int LastClosed() const {
        int previous = open - 1;
        return previous % 100 == 0 ? previous - 100 + 12 : previous;
    }

    // A rebuild of the journal gives the rows month-by-month posting gave
    // (it also posts the open period's alterations, which a close posts later).
    void ExpectRebuildEqualsPosting() {
        const std::string rows =
            "Select lngAMAssetID, lngAMFundID, lngAMAssetAlterID, YearPeriod, blnFromDepreciation,"
            " dblDeprection, dblDeprectionAlter, dblAmountAlter, dblTotalDeprection, "
            "dblTotalAmount From AMAssetFundDaily Where YearPeriod < " +
            std::to_string(open) + " Order By 1, 2, 3, 4, 5";
        auto snapshot = [&] {
            std::ostringstream text;
            for (auto rs = conn->GetRecordset(rows, 3, 1); !rs->eof(); rs->moveNext()) {
                for (int i = 0; i < 10; ++i) text << rs->field(i).toText() << ' ';
                text << '\n';
            }
            return text.str();
        };
        std::string posted = snapshot(), error;
        ASSERT_TRUE(clsAMAssetDaily().Execute(kOrg, error)) << error;
        EXPECT_EQ(snapshot(), posted);
    }
};

TEST_F(DifferentialTest, EngineAndModelAgreeOnEverySourceAfterEveryPeriod) {
    Run(static_cast<uint64_t>(EnvOr("TKAM_DIFF_SEED", 1)), EnvOr("TKAM_DIFF_OPERATIONS", 2000));
    ExpectRebuildEqualsPosting();
}

TEST_F(DifferentialTest, ChangesAcceptedOrRefusedKeepEveryLifeWithinItsResidualValue) {
    lifetimes = true;
    Run(static_cast<uint64_t>(EnvOr("TKAM_DIFF_SEED", 1)), EnvOr("TKAM_LIFETIME_OPERATIONS", 600));
    ExpectLivesEndAtTheResidualValue();
}

}  // namespace
}  // namespace tk::am::test
