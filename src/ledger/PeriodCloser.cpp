// The month's close: movements posted, depreciation written and apportioned, depreciation posted,
// period by period, each under the organisation's period lock.
#include "ledger/PeriodCloser.hpp"

#include <stdexcept>

#include "depreciation/PeriodLock.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"
#include "depreciation/clsAMAssetDaily.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "ledger/InputText.hpp"
#include "ledger/Transaction.hpp"

namespace tk::ledger {
namespace {

constexpr int32_t kOperator = 1;

}  // namespace

void PeriodCloser::close(YearPeriod from, YearPeriod to, const PeriodStep& beforeEach,
                         const PeriodStep& afterEach,
                         const std::function<void()>& beforeWaiting) const {
    if (!(from <= to)) throw std::runtime_error("结束期间早于开始期间");
    for (YearPeriod p = from; p <= to; p = p.next()) session_.requirePeriod(p);
    for (YearPeriod p = from; p <= to; p = p.next()) {
        inTransaction(session_, [&] {
            am::PeriodLock::takeAlone(session_.organization(), beforeWaiting);
            if (beforeEach) beforeEach(p);
            closeOne(p);
            return 0;
        });
        if (afterEach) afterEach(p);
    }
}

void PeriodCloser::closeOne(YearPeriod period) const {
    am::clsAMAssetDeprection depreciation;
    const auto year = static_cast<int16_t>(period.year);
    const Variant org(session_.organization());
    step("变动过账");
    requireEngine(depreciation.WriteDaily(year, period.period, 0, false, false, org), depreciation,
                  "期间 " + period.text() + " 变动过账失败");
    charge(period);
    step("折旧过账");
    requireEngine(depreciation.WriteDaily(year, period.period, 0, true, false, org), depreciation,
                  "期间 " + period.text() + " 折旧过账失败");
}

void PeriodCloser::charge(YearPeriod period) const {
    step("计提折旧");
    depreciate(period);
    step("折旧分摊");
    apportion("期间 " + period.text() + " ");
}

// The apportionment takes the latest depreciated period: the one just written.
void PeriodCloser::apportion(const std::string& whose) const {
    am::clsAMAssetAmortise amortise;
    std::string unused;
    if (!amortise.Execute(session_.organization(), unused))
        throw std::runtime_error(whose + "折旧费用分摊失败: " + amortise.ErrorMessage());
}

void PeriodCloser::depreciate(YearPeriod period) const {
    am::clsAMAssetDeprection depreciation;
    requireEngine(depreciation.WriteBalance(0, static_cast<int16_t>(period.year), period.period,
                                            session_.periodEnd(period), "计提折旧", false, 0,
                                            kOperator, session_.organization()),
                  depreciation, "期间 " + period.text() + " 计提折旧失败");
}

void PeriodCloser::recordWork(const std::string& assetCode, YearPeriod period, double work) const {
    if (work < 0) throw std::runtime_error("工作量不能为负数: " + formatDouble(work));
    session_.requirePeriod(period);
    const int32_t asset = session_.assetID(assetCode);
    inTransaction(session_, [&] {
        am::clsAMAssetDeprection depreciation;
        requireEngine(
            depreciation.CaclDeprectionWork(0, static_cast<int16_t>(period.year), period.period,
                                            asset, work, session_.organization()),
            depreciation, "登记工作量失败");
        return 0;
    });
}

// The journal's error text, if any, goes into the message.
void PeriodCloser::rebuildJournal() const {
    inTransaction(session_, [&] {
        am::clsAMAssetDaily daily;
        std::string error;
        if (!daily.Execute(session_.organization(), error))
            throw std::runtime_error("重建资金来源日记账失败" +
                                     (error.empty() ? std::string() : ": " + error));
        return 0;
    });
}

void PeriodCloser::amortise() const {
    inTransaction(session_, [&] {
        apportion("");
        return 0;
    });
}

}  // namespace tk::ledger
