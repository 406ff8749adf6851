// The reference model's arithmetic in whole cents: each method's yearly
// figures, a new schedule for each new basis, and the charge split by source.
#include "ReferenceModel.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace tk::am::test {
namespace {

constexpr int64_t kMicro = 1000000;

// Rounds num / den half away from zero, as numeric round does; den > 0.
Money Round(__int128 num, __int128 den) {
    return Money(num >= 0 ? (2 * num + den) / (2 * den) : -((-2 * num + den) / (2 * den)));
}

int64_t CeilDiv(int64_t num, int64_t den) { return num > 0 ? (num + den - 1) / den : num / den; }

int64_t ToMicro(double value) { return std::llround(value * kMicro); }

int NextPeriod(int yp) { return yp % 100 == 12 ? yp + 89 : yp + 1; }

// The first period a version dated yp governs.
int GovernedFrom(Rule rule, int yp) { return rule == Rule::Enterprise ? NextPeriod(yp) : yp; }

FundFigures Plus(const FundFigures& a, const FundFigures& b) {
    return {a.cost + b.cost, a.impairment + b.impairment, a.residual + b.residual,
            a.accumulated + b.accumulated};
}

FundFigures Total(const std::vector<FundFigures>& funds) {
    return std::accumulate(funds.begin(), funds.end(), FundFigures{}, Plus);
}

Money Sum(const std::vector<Money>& values) {
    return std::accumulate(values.begin(), values.end(), Money{0});
}

// A year's figure before the cap; before = the earlier years' figures.
Money RawYear(int method, Money amount, Money book, int64_t life, int64_t year, Money before) {
    int64_t years = CeilDiv(life, 12), months = std::min<int64_t>(12, life - 12 * year);
    switch (method) {
        case 2:
            return Round(__int128(amount) * 12, life);
        case 4:
            if (year == years - 2)
                return Round(__int128(amount - before) * months, life - 12 * year);
            return Round(__int128(book - before) * 2 * months, life);
        case 5: {
            int64_t weights = 12 * (years * (years + 1) / 2 - 1) + (life - 12 * (years - 1));
            return Round(__int128(amount) * (years - year) * months, weights);
        }
        default: {  // 6: the fixed rate that leaves the residual after the life
            long double kept =
                std::pow((long double)(book - amount) / book, (long double)months / life);
            return std::llround((long double)(book - before) * (1 - kept));
        }
    }
}

}  // namespace

int ReferenceModel::add(int yp, int method, double life, Rule rule, std::vector<FundFigures> funds,
                        double startUsage) {
    if (yp <= lastClosed_) throw std::logic_error("an asset added in a closed period");
    Asset& asset = assets_.emplace_back();
    asset.addYp = yp;
    asset.startUsage = ToMicro(startUsage);
    asset.charged.assign(funds.size(), 0);
    asset.versions.push_back({yp, {std::move(funds), method, ToMicro(life), rule}});
    return int(assets_.size()) - 1;
}

Verdict ReferenceModel::alter(int index, int yp, const std::vector<FundFigures>& deltas,
                              std::optional<int> method, std::optional<double> life) {
    if (yp <= lastClosed_) throw std::logic_error("a change dated in a closed period");
    Asset& asset = assets_.at(index);
    Basis basis = asset.versions.back().basis;
    for (size_t f = 0; f < basis.funds.size(); ++f)
        basis.funds[f] = Plus(basis.funds[f], deltas.at(f));
    Verdict verdict =
        judge(asset, asset.versions.back().basis, basis, GovernedFrom(basis.rule, yp));
    if (verdict != Verdict::Accepted) return verdict;
    basis.method = method.value_or(basis.method);
    if (life) basis.life = ToMicro(*life);
    asset.versions.push_back({yp, std::move(basis)});
    return Verdict::Accepted;
}

void ReferenceModel::transfer(int asset, int yp) {
    assets_.at(asset).versions.push_back({yp, assets_.at(asset).versions.back().basis});
}

// The net value where `after` takes effect, against the figures `before` it.
Verdict ReferenceModel::judge(const Asset& asset, const Basis& before, const Basis& after,
                              int effect) const {
    FundFigures was = Total(before.funds), now = Total(after.funds);
    Money net = now.cost - now.impairment - now.accumulated - chargedBefore(asset, effect);
    if (net < 0) return Verdict::NegativeNet;
    if (net < now.residual && (now.cost < was.cost || now.residual > was.residual))
        return Verdict::BelowResidual;
    return Verdict::Accepted;
}

// More work makes the open period charge more before a change still to take
// effect; that change must still stand against the version in force.
Verdict ReferenceModel::work(int index, int yp, double work) {
    Asset& asset = assets_.at(index);
    asset.workIn[yp] += ToMicro(work);
    const Version& latest = asset.versions.back();
    const Version* inForce = governing(asset, yp);
    const int effect = GovernedFrom(latest.basis.rule, latest.yp);
    if (!inForce || inForce == &latest || effect <= yp) return Verdict::Accepted;
    Verdict verdict = judge(asset, inForce->basis, latest.basis, effect);
    if (verdict != Verdict::Accepted) asset.workIn[yp] -= ToMicro(work);
    return verdict;
}

void ReferenceModel::dispose(int asset, int yp) { assets_.at(asset).disposeYp = yp; }

void ReferenceModel::close(int yp) {
    if (yp <= lastClosed_) throw std::logic_error("periods close in order");
    for (Asset& asset : assets_) closePeriod(asset, yp);
    lastClosed_ = yp;
}

Money ReferenceModel::charge(int asset, int fund, int yp) const {
    const auto& rows = assets_.at(asset).rows;
    return rows.contains(yp) ? rows.at(yp).at(fund) : 0;
}

Money ReferenceModel::accumulated(int asset, int fund) const {
    const Asset& a = assets_.at(asset);
    return a.versions.back().basis.funds.at(fund).accumulated + a.charged.at(fund);
}

bool ReferenceModel::inRegister(int asset, int yp) const {
    return assets_.at(asset).rows.contains(yp);
}

// The charges up to the period before yp, open periods depreciated on a copy.
Money ReferenceModel::chargedBefore(const Asset& asset, int yp) const {
    Asset trial = asset;
    for (int p = std::max(NextPeriod(lastClosed_), asset.addYp); p < yp; p = NextPeriod(p))
        closePeriod(trial, p);
    return Sum(trial.charged);
}

const ReferenceModel::Version* ReferenceModel::governing(const Asset& asset, int yp) {
    for (auto v = asset.versions.rbegin(); v != asset.versions.rend(); ++v)
        if (GovernedFrom(v->basis.rule, v->yp) <= yp) return &*v;
    return nullptr;
}

void ReferenceModel::closePeriod(Asset& asset, int yp) {
    if (yp < asset.addYp || (asset.disposeYp && yp > *asset.disposeYp)) return;
    asset.rows[yp].assign(asset.charged.size(), 0);
    const int64_t done = asset.workIn[yp];
    const Version* version = governing(asset, yp);
    const bool governed =
        version && !(asset.disposeYp == yp && version->basis.rule != Rule::Enterprise);
    if (governed && (!asset.schedule || !(asset.schedule->basis == version->basis)))
        asset.schedule = start(asset, version->basis);
    if (governed && version->basis.depreciates()) {
        Schedule& s = *asset.schedule;
        asset.periodsUsed++;
        s.elapsed++;
        s.workDone += done;
        spread(asset, yp, reachedAfter(s));
    }
    asset.workUsed += done;  // work done uses the asset up, charged or not
}

ReferenceModel::Schedule ReferenceModel::start(const Asset& asset, const Basis& basis) {
    Schedule s;
    s.basis = basis;
    std::vector<Money> left, costs;
    for (size_t f = 0; f < basis.funds.size(); ++f) {
        const FundFigures& fund = basis.funds[f];
        Money book = fund.cost - fund.impairment - fund.accumulated - asset.charged[f];
        s.book += book;
        left.push_back(std::max<Money>(book - fund.residual, 0));
        costs.push_back(fund.cost);
        if (std::tie(left[f], costs[f]) > std::tie(left[s.top], costs[s.top])) s.top = f;
    }
    s.amount = std::max<Money>(s.book - Total(basis.funds).residual, 0);
    int64_t used = asset.startUsage + asset.periodsUsed * kMicro;
    s.periods = std::max<int64_t>(1, CeilDiv(basis.life - used, kMicro));
    s.workLeft = basis.life - asset.startUsage - asset.workUsed;
    s.shareOf = Sum(left) > 0 ? left : Sum(costs) > 0 ? costs : std::vector<Money>(costs.size());
    s.shareTotal = std::max<Money>(Sum(s.shareOf), 1);
    if (basis.depreciates() && basis.method != 3 && s.amount > 0) s.years = yearFigures(s);
    return s;
}

// Each year rounded and kept within what is left; the last year takes the rest.
std::vector<Money> ReferenceModel::yearFigures(const Schedule& s) {
    int64_t years = CeilDiv(s.periods, 12);
    std::vector<Money> figures;
    Money before = 0;
    for (int64_t j = 0; j < years; ++j) {
        Money left = s.amount - before;
        Money raw = RawYear(s.basis.method, s.amount, s.book, s.periods, j, before);
        figures.push_back(j == years - 1 ? left : std::clamp<Money>(raw, 0, left));
        before += figures.back();
    }
    return figures;
}

// The asset's accumulated depreciation on the schedule after its elapsed periods.
Money ReferenceModel::reachedAfter(const Schedule& s) {
    if (s.amount == 0) return 0;
    if (s.basis.method == 3)
        return s.workDone >= s.workLeft ? s.amount
                                        : Round(__int128(s.amount) * s.workDone, s.workLeft);
    if (s.elapsed >= s.periods) return s.amount;
    int64_t year = s.elapsed / 12, months = std::min<int64_t>(12, s.periods - 12 * year);
    Money earlier = std::accumulate(s.years.begin(), s.years.begin() + year, Money{0});
    return earlier + Round(__int128(s.years[year]) * (s.elapsed % 12), months);
}

// Splits the period's charge over the sources by their running totals; the
// top-ranked source takes the remainder so they add up to the asset.
void ReferenceModel::spread(Asset& asset, int yp, Money reached) {
    Schedule& s = *asset.schedule;
    std::vector<Money>& row = asset.rows[yp];
    for (size_t f = 0; f < row.size(); ++f)
        row[f] = f == s.top ? 0
                            : Round(__int128(reached) * s.shareOf[f], s.shareTotal) -
                                  Round(__int128(s.reached) * s.shareOf[f], s.shareTotal);
    row[s.top] = reached - s.reached - Sum(row);
    for (size_t f = 0; f < row.size(); ++f) asset.charged[f] += row[f];
    s.reached = reached;
}

}  // namespace tk::am::test
