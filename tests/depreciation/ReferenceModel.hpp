// An independent model of the depreciation rules, in plain C++, for comparing
// the stored routines' figures period by period.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tk::am::test {

using Money = int64_t;  // cents

enum class Rule { Enterprise = 1, NotDepreciated = 2, PublicSector = 3 };

struct FundFigures {
    Money cost = 0, impairment = 0, residual = 0, accumulated = 0;
    bool operator==(const FundFigures&) const = default;
};

enum class Verdict { Accepted, NegativeNet, BelowResidual };

class ReferenceModel {
  public:
    // An asset whose card is dated in period yp (yyyymm); life in months, or
    // the total work for method 3; startUsage in periods (work for method 3).
    int add(int yp, int method, double life, Rule rule, std::vector<FundFigures> funds,
            double startUsage = 0);
    // A change in estimate: per-source deltas; a refused one changes nothing.
    Verdict alter(int asset, int yp, const std::vector<FundFigures>& deltas,
                  std::optional<int> method = {}, std::optional<double> life = {});
    // A new card version that leaves the depreciation basis alone.
    void transfer(int asset, int yp);
    // Work done in period yp (workload method), recorded before it is closed;
    // refused when it leaves a change still to take effect below its floor.
    Verdict work(int asset, int yp, double work);
    void dispose(int asset, int yp);
    // Depreciates period yp for every asset; periods close in order.
    void close(int yp);
    // The charge of a closed period (0 without a row).
    Money charge(int asset, int fund, int yp) const;
    // Accumulated depreciation: opening, every recorded adjustment and the charges.
    Money accumulated(int asset, int fund) const;
    bool inRegister(int asset, int yp) const;

  private:
    // Lives and work are kept in millionths, so their fractions stay exact.
    struct Basis {
        std::vector<FundFigures> funds;  // accumulated = opening plus adjustments
        int method = 1;
        int64_t life = 0;
        Rule rule = Rule::Enterprise;
        bool operator==(const Basis&) const = default;
        bool depreciates() const { return rule != Rule::NotDepreciated && method != 1; }
    };
    struct Version {
        int yp = 0;
        Basis basis;
    };
    struct Schedule {
        Basis basis;
        Money amount = 0, book = 0;
        int64_t periods = 0, workLeft = 0;  // remaining life and remaining work
        std::vector<Money> years, shareOf;  // shareOf: each source's weight over shareTotal
        Money shareTotal = 1;
        size_t top = 0;
        int64_t elapsed = 0, workDone = 0;  // depreciated periods and their work
        Money reached = 0;                  // the asset's accumulated on the schedule
    };
    struct Asset {
        std::vector<Version> versions;
        int addYp = 0;
        std::optional<int> disposeYp;
        int64_t startUsage = 0, periodsUsed = 0, workUsed = 0;
        std::map<int, int64_t> workIn;
        std::optional<Schedule> schedule;
        std::vector<Money> charged;  // per source, over all closed periods
        std::map<int, std::vector<Money>> rows;
    };

    static const Version* governing(const Asset& asset, int yp);
    Verdict judge(const Asset& asset, const Basis& before, const Basis& after, int effect) const;
    static void closePeriod(Asset& asset, int yp);
    static Schedule start(const Asset& asset, const Basis& basis);
    static std::vector<Money> yearFigures(const Schedule& s);
    static Money reachedAfter(const Schedule& s);
    static void spread(Asset& asset, int yp, Money reached);
    Money chargedBefore(const Asset& asset, int yp) const;

    std::vector<Asset> assets_;
    int lastClosed_ = 0;
};

}  // namespace tk::am::test
