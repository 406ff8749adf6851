#include "ledger/AssetAdder.hpp"

#include <cmath>
#include <stdexcept>

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Conversion.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundAccount.hpp"
#include "ledger/AssetInputError.hpp"
#include "ledger/InputText.hpp"
#include "ledger/Shares.hpp"
#include "ledger/Transaction.hpp"
#include "register/clsAMAssetCard.hpp"
#include "register/clsAMAssetCode.hpp"
#include "register/clsAMAssetType.hpp"

namespace tk::ledger {
namespace {

constexpr int32_t kAdditionReceiptType = 48;
constexpr int32_t kAdditionTemplate = 1;
constexpr int32_t kCardTemplate = 4;
constexpr int32_t kPurchase = 1;  // way of addition 购入
constexpr int16_t kAddition = 1;
constexpr int16_t kSaved = 2;
constexpr int16_t kWorkload = 3;

// A drawn code ends in a character of code 0, which no text column can hold.
std::string withoutTerminator(std::string code) {
    if (auto end = code.find('\0'); end != std::string::npos) code.erase(end);
    return code;
}

void requireHundred(double total, const std::string& field, const std::string& what) {
    if (std::fabs(total - 100) > 1e-6) throw AssetInputError(field, what + "比例合计应为 100");
}

}  // namespace

struct AssetAdder::Resolved {
    int32_t category = 0, department = 0;
    YearPeriod period;
    int16_t method = 0;
    double life = 0, residual = 0;
    std::vector<int32_t> funds;
    std::vector<double> fundCosts, fundResiduals;
    std::vector<std::pair<int32_t, int32_t>> lineAccounts;  // account, department
};

int32_t AssetAdder::idOf(const std::string& sql, const std::string& field, const std::string& what,
                         const std::string& code) const {
    auto id = session_.lookup(sql);
    if (!id) throw AssetInputError(field, what + "不存在: \"" + code + "\"");
    return std::stoi(*id);
}

AssetAdder::Resolved AssetAdder::resolve(const NewAsset& asset) const {
    const std::string org = std::to_string(session_.organization());
    Resolved r;
    if (asset.name.empty()) throw AssetInputError("name", "请指定资产名称 (--name)");
    if (asset.cost < 0) throw AssetInputError("cost", "原值不能为负数");
    if (asset.code && session_.lookup("Select 1 From AMAsset Where lngOrganizationID = " + org +
                                      " And strAMAssetCode = " + sqlText(*asset.code)))
        throw AssetInputError("code", "资产编码已存在: \"" + *asset.code + "\"");
    r.category = idOf(
        "Select lngAMAssetTypeID From AMAssetType Where blnIsDetail = 1 And strAMAssetTypeCode = " +
            sqlText(asset.category),
        "category", "资产类别(明细)", asset.category);
    try {
        r.period = session_.periodOfDate(asset.date);
    } catch (const std::runtime_error& e) {
        throw AssetInputError("date", e.what());
    }
    r.department =
        asset.department.empty()
            ? idOf("Select Min(lngDepartmentID) From Department Where lngOrganizationID = " + org,
                   "department", "机构的部门", org)
            : idOf("Select lngDepartmentID From Department Where lngOrganizationID = " + org +
                       " And strDepartmentCode = " + sqlText(asset.department),
                   "department", "部门", asset.department);
    const am::clsAMAssetType& type = categoryOf(r.category);
    r.method = asset.method.value_or(type.bytDepreciationMethod);
    r.life = r.method == kWorkload ? asset.totalWork.value_or(type.dblUseage)
                                   : asset.life.value_or(type.dblUseage);
    r.residual =
        asset.residual
            ? am::RoundTo(*asset.residual, 2)
            : am::RoundTo(asset.cost * asset.residualRate.value_or(type.dblNetworthRate) / 100, 2);

    std::vector<NewAsset::Fund> funds =
        asset.funds.empty() ? std::vector<NewAsset::Fund>{{"01", 100}} : asset.funds;
    std::vector<double> percents;
    for (const auto& fund : funds) {
        r.funds.push_back(
            idOf("Select lngAMFundID From AMFund Where strAMFundCode = " + sqlText(fund.code),
                 "fund", "资金来源", fund.code));
        percents.push_back(fund.percent);
    }
    double total = 0;
    for (double p : percents) total += p;
    requireHundred(total, "fund", "资金来源");
    r.fundCosts = splitByWeights(asset.cost, percents);
    r.fundResiduals = splitByWeights(r.residual, percents);

    double lineTotal = 0;
    for (const auto& line : asset.accountLines) {
        r.lineAccounts.emplace_back(
            idOf("Select lngAccountID From Account Where strAccountCode = " + sqlText(line.account),
                 "accountLine", "科目", line.account),
            idOf("Select lngDepartmentID From Department Where lngOrganizationID = " + org +
                     " And strDepartmentCode = " + sqlText(line.department),
                 "accountLine", "部门", line.department));
        lineTotal += line.percent;
    }
    if (!asset.accountLines.empty()) requireHundred(lineTotal, "accountLine", "折旧分摊");
    return r;
}

std::pair<int32_t, std::string> AssetAdder::add(const NewAsset& asset) const {
    Resolved r = resolve(asset);
    return inTransaction(session_, [&] { return write(asset, r); });
}

std::shared_ptr<const AssetAdder::Resolved> AssetAdder::prepare(const NewAsset& asset) const {
    return std::make_shared<const Resolved>(resolve(asset));
}

std::string AssetAdder::codeOf(const NewAsset& asset, const Resolved& r) const {
    if (asset.code) return *asset.code;
    return withoutTerminator(am::clsAMAssetCode().GetCode(am::acAssetCode, asset.date,
                                                          session_.organization(), r.category, 0,
                                                          r.department, r.department));
}

std::pair<int32_t, std::string> AssetAdder::write(const NewAsset& asset, const Resolved& r) const {
    const int32_t org = session_.organization();
    const std::string code = codeOf(asset, r);
    auto [assetID, versionID] = saveCard(asset, r, code);
    saveFunds(assetID, versionID, asset, r);
    am::clsAMAssetDeprection depreciation;
    requireEngine(depreciation.CaclDeprectionAdd(0, assetID, org), depreciation,
                  "资产 " + asset.name + " 未能新增");
    return {assetID, code};
}

std::pair<int32_t, int32_t> AssetAdder::saveCard(const NewAsset& asset, const Resolved& r,
                                                 const std::string& code) const {
    const int32_t org = session_.organization();
    am::clsAMAssetCard card;
    card.Mode = am::atAdd;
    card.strAMAssetCode = code;
    card.strAMAssetCardCode = withoutTerminator(am::clsAMAssetCode().GetCode(
        am::acAssetCardCode, asset.date, org, r.category, 0, r.department, r.department, code));
    card.strAMAssetName = asset.name;
    card.strCreateDate = asset.date;
    card.strStartDate = asset.date;
    card.strDate = asset.date;
    card.lngOrganizationID = org;
    card.lngAMAssetTypeID = r.category;
    card.lngAMAssetMethodID = kPurchase;
    card.lngDepartmentID = r.department;
    card.lngCardTemplateID = kCardTemplate;
    card.lngTemplateID = kAdditionTemplate;
    card.lngReceiptTypeID = kAdditionReceiptType;
    card.intYear = r.period.year;
    card.bytPeriod = r.period.period;
    card.bytAlterType = kAddition;
    card.bytStatus = kSaved;
    card.bytDepreciationMethod = r.method;
    card.dblQuantity = 1;
    card.dblAmount = card.dblAmountAlter = asset.cost;
    card.dblNetworth = card.dblNetworthAlter = r.residual;
    card.dblUseage = r.life;
    int32_t assetID = card.SaveCard();
    if (assetID == 0) throw std::runtime_error("保存资产卡片失败: " + asset.name);
    return {assetID, card.lngAMAssetAlterID};
}

void AssetAdder::saveFunds(int32_t assetID, int32_t versionID, const NewAsset& asset,
                           const Resolved& r) const {
    const int32_t org = session_.organization();
    for (size_t i = 0; i < r.funds.size(); ++i) {
        const am::clsAMAssetFundAccount& accounts = accountsOf(r.category, r.funds[i]);
        am::clsAMAssetFund fund;
        fund.Mode = am::atAdd;
        fund.lngAMAssetID = assetID;
        fund.lngAMAssetAlterID = versionID;
        fund.lngAMFundID = r.funds[i];
        fund.lngReceiptTypeID = kAdditionReceiptType;
        fund.intYear = r.period.year;
        fund.bytPeriod = r.period.period;
        fund.strDate = asset.date;
        fund.dblAmount = fund.dblAmountAlter = r.fundCosts[i];
        fund.dblNetworth = fund.dblNetworthAlter = r.fundResiduals[i];
        fund.bytAlterType = kAddition;
        fund.bytStatus = kSaved;
        fund.lngOrganizationID = org;
        fund.lngAssetAccountID = accounts.lngAssetAccountID;
        fund.lngDepreciationAccountID = accounts.lngDepreciationAccountID;
        fund.lngDecAccountID = accounts.lngDecAccountID;
        fund.lngOutAccountID = accounts.lngOutAccountID;
        fund.lngPayAccountID = accounts.lngPayAccountID;
        fund.lngFixUpAccountID = accounts.lngFixUpAccountID;
        fund.lngSpecialAccountID = accounts.lngSpecialAccountID;
        fund.lngAddToAccountID = accounts.lngAddToAccountID;
        int32_t fundVersion = fund.SaveCard();
        if (fundVersion == 0) throw std::runtime_error("保存资金来源失败: " + asset.name);
        for (size_t l = 0; l < r.lineAccounts.size(); ++l) {
            am::clsAMAssetFundAccAlter line;
            line.lngAMAssetFundAlterID = fundVersion;
            line.lngAccountID = r.lineAccounts[l].first;
            line.lngDepartmentID = r.lineAccounts[l].second;
            line.lngOrderNo = static_cast<int32_t>(l + 1);
            line.dblQuotiety = 1;
            line.dblRate = asset.accountLines[l].percent;
            if (line.SaveCard() == 0)
                throw std::runtime_error("保存折旧分摊科目失败: " + asset.name);
        }
    }
}

const am::clsAMAssetType& AssetAdder::categoryOf(int32_t category) const {
    auto& loaded = categories_[category];
    if (!loaded) {
        loaded = std::make_shared<am::clsAMAssetType>();
        loaded->LoadID(category, session_.organization());
    }
    return *loaded;
}

const am::clsAMAssetFundAccount& AssetAdder::accountsOf(int32_t category, int32_t fund) const {
    auto& loaded = fundAccounts_[{category, fund}];
    if (!loaded) {
        loaded = std::make_shared<am::clsAMAssetFundAccount>();
        loaded->LoadID(category, fund, session_.organization());
    }
    return *loaded;
}

NewAsset::Fund fundOf(const std::string& text) {
    auto parts = splitParts(text, 2, "资金来源");
    return {parts[0], parseNonNegative(parts[1], "资金来源比例")};
}

NewAsset::AccountLine accountLineOf(const std::string& text) {
    auto parts = splitParts(text, 3, "折旧分摊");
    return {parts[0], parts[1], parseNonNegative(parts[2], "折旧分摊比例")};
}

}  // namespace tk::ledger
