#include "AccountSetSession.hpp"

#include <cstdint>
#include <stdexcept>

#include "InputText.hpp"
#include "frame/Context.hpp"
#include "frame/InputLimits.hpp"
#include "frame/Utility.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::tools {

AccountSetSession::AccountSetSession(const CliContext& cli, const std::string& fallbackName) {
    const Options& o = cli.options();
    name_ = o.value("account-set", o.value("user", fallbackName));
    if (name_.empty()) throw std::runtime_error("请用 --account-set 指定账套");
    if (!am::AccountSetAdmin(cli.adminServer()).exists(name_))
        throw std::runtime_error("账套不存在: " + name_);
    conn_ = std::make_shared<connect::Connection>();
    conn_->ServerName = cli.server();
    conn_->UserName = am::AccountSetAdmin::schemaName(name_);
    conn_->Open();
    am::context().User = conn_->UserName;
    am::context().ConnBase = conn_;
    organization_ = parseInteger(o.value("org", "1"), 1, INT32_MAX, "机构编号");
    if (!lookup("Select lngOrganizationID From Organization Where lngOrganizationID = " +
                std::to_string(organization_)))
        throw std::runtime_error("机构不存在: " + std::to_string(organization_));
}

std::optional<std::string> AccountSetSession::lookup(const std::string& sql) const {
    auto rs = conn_->GetRecordset(sql, 3, 1);
    if (rs->eof() || rs->field(0).isNull()) return std::nullopt;
    return rs->field(0).toText();
}

double AccountSetSession::number(const std::string& sql) const {
    auto text = lookup(sql);
    return text ? std::stod(*text) : 0;
}

YearPeriod AccountSetSession::periodOfDate(const std::string& date) const {
    am::InputLimits::checkDate("日期", date);
    auto key =
        lookup("Select intYear * 100 + bytPeriod From AccountPeriod Where lngOrganizationID = " +
               std::to_string(organization_) + " And strStartDate <= '" + date +
               "' And strEndDate >= '" + date + "'");
    if (!key || date.size() != 10) throw std::runtime_error("日期不在会计期间内: \"" + date + "\"");
    int32_t yp = std::stoi(*key);
    return YearPeriod::fromKey(yp);
}

std::vector<YearPeriod> AccountSetSession::openPeriods(std::optional<int32_t> throughYear) const {
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

int32_t AccountSetSession::assetID(const std::string& code) const {
    auto id = lookup("Select lngAMAssetID From AMAsset Where lngOrganizationID = " +
                     std::to_string(organization_) + " And strAMAssetCode = '" +
                     am::QuoteSql(code) + "'");
    if (!id) throw std::runtime_error("资产不存在: \"" + code + "\"");
    return std::stoi(*id);
}

std::optional<YearPeriod> AccountSetSession::latestDepreciated() const {
    auto key = lookup(
        "Select Max(intYear * 100 + bytPeriod) From AMAssetDepreciation Where lngOrganizationID "
        "= " +
        std::to_string(organization_));
    if (!key) return std::nullopt;
    return YearPeriod::fromKey(std::stoi(*key));
}

void AccountSetSession::requirePeriod(const YearPeriod& period) const { periodEnd(period); }

std::string AccountSetSession::periodEnd(const YearPeriod& period) const {
    auto end =
        lookup("Select strEndDate From AccountPeriod Where lngOrganizationID = " +
               std::to_string(organization_) + " And intYear = " + std::to_string(period.year) +
               " And bytPeriod = " + std::to_string(period.period));
    if (!end) throw std::runtime_error("会计期间不存在: " + period.text());
    return *end;
}

}  // namespace tk::tools
