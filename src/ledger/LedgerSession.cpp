// The session's lookups: the organisation's periods and their dates, assets by code and the
// latest depreciated period.
#include "ledger/LedgerSession.hpp"

#include <cstdint>
#include <stdexcept>

#include "depreciation/PeriodLock.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"
#include "frame/InputLimits.hpp"
#include "ledger/InputText.hpp"

namespace tk::ledger {

LedgerSession::LedgerSession(std::shared_ptr<connect::Connection> connection, int32_t organization,
                             std::string name)
    : name_(std::move(name)), organization_(organization), conn_(std::move(connection)) {
    am::context().User = conn_->UserName;
    am::context().ConnBase = conn_;
    if (!lookup("Select lngOrganizationID From Organization Where lngOrganizationID = " +
                std::to_string(organization_)))
        throw std::runtime_error("机构不存在: " + std::to_string(organization_));
    am::PeriodLock::addIfMissing();
}

LedgerSession LedgerSession::ofThread(int32_t organization) {
    am::connection();  // an error when the host handed in none
    return LedgerSession(am::context().ConnBase, organization, am::context().User);
}

std::optional<std::string> LedgerSession::lookup(const std::string& sql) const {
    auto rs = conn_->GetRecordset(sql, 3, 1);
    if (rs->eof() || rs->field(0).isNull()) return std::nullopt;
    return rs->field(0).toText();
}

double LedgerSession::number(const std::string& sql) const {
    auto text = lookup(sql);
    return text ? std::stod(*text) : 0;
}

YearPeriod LedgerSession::periodOfDate(const std::string& date) const {
    am::InputLimits::checkDate("日期", date);
    auto key =
        lookup("Select intYear * 100 + bytPeriod From AccountPeriod Where lngOrganizationID = " +
               std::to_string(organization_) + " And strStartDate <= '" + date +
               "' And strEndDate >= '" + date + "'");
    if (!key || date.size() != 10) throw std::runtime_error("日期不在会计期间内: \"" + date + "\"");
    int32_t yp = std::stoi(*key);
    return YearPeriod::fromKey(yp);
}

std::vector<YearPeriod> LedgerSession::openPeriods(std::optional<int32_t> throughYear) const {
    const auto latest = latestDepreciated();
    auto rs = conn_->GetRecordset(
        "Select intYear * 100 + bytPeriod From AccountPeriod Where lngOrganizationID = " +
            std::to_string(organization_) + " And intYear * 100 + bytPeriod > " +
            std::to_string(latest ? latest->key() : 0) +
            (throughYear ? " And intYear <= " + std::to_string(*throughYear) : "") + " Order By 1",
        3, 1);
    std::vector<YearPeriod> periods;
    for (; !rs->eof(); rs->moveNext())
        periods.push_back(YearPeriod::fromKey(rs->field(0).toInt32()));
    return periods;
}

void requireEngine(bool done, const am::clsAMAssetDeprection& engine, const std::string& what) {
    if (!done) throw std::runtime_error(what + ": " + engine.ErrorMessage());
}

int32_t LedgerSession::assetID(const std::string& code) const {
    auto id = lookup("Select lngAMAssetID From AMAsset Where lngOrganizationID = " +
                     std::to_string(organization_) + " And strAMAssetCode = '" +
                     am::QuoteSql(code) + "'");
    if (!id) throw std::runtime_error("资产不存在: \"" + code + "\"");
    return std::stoi(*id);
}

std::optional<YearPeriod> LedgerSession::latestDepreciated() const {
    auto key = lookup(
        "Select Max(intYear * 100 + bytPeriod) From AMAssetDepreciation Where lngOrganizationID "
        "= " +
        std::to_string(organization_));
    if (!key) return std::nullopt;
    return YearPeriod::fromKey(std::stoi(*key));
}

void LedgerSession::requirePeriod(const YearPeriod& period) const { periodEnd(period); }

std::string LedgerSession::periodEnd(const YearPeriod& period) const {
    auto end =
        lookup("Select strEndDate From AccountPeriod Where lngOrganizationID = " +
               std::to_string(organization_) + " And intYear = " + std::to_string(period.year) +
               " And bytPeriod = " + std::to_string(period.period));
    if (!end) throw std::runtime_error("会计期间不存在: " + period.text());
    return *end;
}

}  // namespace tk::ledger
