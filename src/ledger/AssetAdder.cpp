// New assets resolved from their codes and written as card, funding sources and account lines,
// then depreciated; in bulk a few statements per table and one recalculation for all.
#include "ledger/AssetAdder.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Conversion.hpp"
#include "frame/LastRefusal.hpp"
#include "frame/RowRefusal.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundAccount.hpp"
#include "ledger/AssetInputError.hpp"
#include "ledger/InputText.hpp"
#include "ledger/Shares.hpp"
#include "ledger/Transaction.hpp"
#include "register/AssetCodeBatch.hpp"
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
    auto known = ids_.find(sql);
    if (known == ids_.end()) known = ids_.emplace(sql, session_.lookup(sql)).first;
    const auto& id = known->second;
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
        r.period = periodOf(asset.date);
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
        const int32_t id =
            idOf("Select lngAMFundID From AMFund Where strAMFundCode = " + sqlText(fund.code),
                 "fund", "资金来源", fund.code);
        // one version per source: a source named twice would start two chains
        if (std::ranges::find(r.funds, id) != r.funds.end())
            throw AssetInputError("fund", "资金来源重复: \"" + fund.code + "\"");
        r.funds.push_back(id);
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

std::pair<std::string, std::string> AssetAdder::codesOf(const NewAsset& asset, const Resolved& r,
                                                        am::CodeSource& codes) const {
    const int32_t org = session_.organization();
    const std::string code =
        asset.code ? *asset.code
                   : withoutTerminator(codes.code(am::acAssetCode, asset.date, org, r.category, 0,
                                                  r.department, r.department));
    return {code, withoutTerminator(codes.code(am::acAssetCardCode, asset.date, org, r.category, 0,
                                               r.department, r.department, code))};
}

std::pair<int32_t, std::string> AssetAdder::write(const NewAsset& asset, const Resolved& r) const {
    am::CodeSource codes;
    const auto [code, cardCode] = codesOf(asset, r, codes);
    am::clsAMAssetCard card = cardOf(asset, r, code, cardCode);
    const int32_t assetID = card.SaveCard();
    if (assetID == 0) am::LastRefusal::raiseOr("保存资产卡片失败: " + asset.name);
    for (am::clsAMAssetFund& fund : fundsOf(asset, r, card)) {
        const int32_t fundVersion = fund.SaveCard();
        if (fundVersion == 0) am::LastRefusal::raiseOr("保存资金来源失败: " + asset.name);
        for (am::clsAMAssetFundAccAlter& line : linesOf(asset, r, fundVersion))
            if (line.SaveCard() == 0)
                am::LastRefusal::raiseOr("保存折旧分摊科目失败: " + asset.name);
    }
    am::clsAMAssetDeprection depreciation;
    requireEngine(depreciation.CaclDeprectionAdd(0, assetID, session_.organization()), depreciation,
                  "资产 " + asset.name + " 未能新增");
    return {assetID, code};
}

void AssetAdder::addAll(std::span<const Prepared> assets) const {
    am::AssetCodeBatch codes;
    std::vector<am::clsAMAssetCard> cards;
    for (const auto& [asset, r] : assets) {
        const auto [code, cardCode] = codesOf(*asset, *r, codes);
        cards.push_back(cardOf(*asset, *r, code, cardCode));
    }
    codes.finish();
    am::clsAMAssetCard::AddAll(cards);
    std::vector<am::clsAMAssetFund> funds;
    std::vector<size_t> owners;  // the asset of each funding source
    for (size_t i = 0; i < assets.size(); ++i)
        for (am::clsAMAssetFund& fund : fundsOf(*assets[i].first, *assets[i].second, cards[i])) {
            funds.push_back(fund);
            owners.push_back(i);
        }
    try {
        am::clsAMAssetFund::AddAll(funds);
    } catch (const am::RowRefusal& refusal) {
        throw am::RowRefusal(owners[refusal.index()], refusal);
    }
    std::vector<am::clsAMAssetFundAccAlter> lines;
    for (size_t f = 0; f < funds.size(); ++f)
        for (am::clsAMAssetFundAccAlter& line :
             linesOf(*assets[owners[f]].first, *assets[owners[f]].second,
                     funds[f].lngAMAssetFundAlterID))
            lines.push_back(line);
    am::clsAMAssetFundAccAlter::AddAll(lines);
    recalculateAll(assets, cards);
}

void AssetAdder::recalculateAll(std::span<const Prepared> assets,
                                const std::vector<am::clsAMAssetCard>& cards) const {
    std::vector<int32_t> ids;
    for (const am::clsAMAssetCard& card : cards) ids.push_back(card.lngAMAssetID);
    am::clsAMAssetDeprection depreciation;
    const size_t refused = depreciation.CaclDeprectionAddAll(ids, session_.organization());
    if (refused != 0)
        throw am::RowRefusal(refused - 1,
                             RunTimeError(errors::kInvalidArgument,
                                          "资产 " + assets[refused - 1].first->name +
                                              " 未能新增: " + depreciation.ErrorMessage()));
}

am::clsAMAssetCard AssetAdder::cardOf(const NewAsset& asset, const Resolved& r,
                                      const std::string& code, const std::string& cardCode) const {
    am::clsAMAssetCard card;
    card.Mode = am::atAdd;
    card.strAMAssetCode = code;
    card.strAMAssetCardCode = cardCode;
    card.strAMAssetName = asset.name;
    card.strCreateDate = asset.date;
    card.strStartDate = asset.date;
    card.strDate = asset.date;
    card.lngOrganizationID = session_.organization();
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
    return card;
}

std::vector<am::clsAMAssetFund> AssetAdder::fundsOf(const NewAsset& asset, const Resolved& r,
                                                    const am::clsAMAssetCard& card) const {
    std::vector<am::clsAMAssetFund> funds(r.funds.size());
    for (size_t i = 0; i < r.funds.size(); ++i) {
        const am::clsAMAssetFundAccount& accounts = accountsOf(r.category, r.funds[i]);
        am::clsAMAssetFund& fund = funds[i];
        fund.Mode = am::atAdd;
        fund.lngAMAssetID = card.lngAMAssetID;
        fund.lngAMAssetAlterID = card.lngAMAssetAlterID;
        fund.lngAMFundID = r.funds[i];
        fund.lngReceiptTypeID = kAdditionReceiptType;
        fund.intYear = r.period.year;
        fund.bytPeriod = r.period.period;
        fund.strDate = asset.date;
        fund.dblAmount = fund.dblAmountAlter = r.fundCosts[i];
        fund.dblNetworth = fund.dblNetworthAlter = r.fundResiduals[i];
        fund.bytAlterType = kAddition;
        fund.bytStatus = kSaved;
        fund.lngOrganizationID = session_.organization();
        fund.lngAssetAccountID = accounts.lngAssetAccountID;
        fund.lngDepreciationAccountID = accounts.lngDepreciationAccountID;
        fund.lngDecAccountID = accounts.lngDecAccountID;
        fund.lngOutAccountID = accounts.lngOutAccountID;
        fund.lngPayAccountID = accounts.lngPayAccountID;
        fund.lngFixUpAccountID = accounts.lngFixUpAccountID;
        fund.lngSpecialAccountID = accounts.lngSpecialAccountID;
        fund.lngAddToAccountID = accounts.lngAddToAccountID;
    }
    return funds;
}

std::vector<am::clsAMAssetFundAccAlter> AssetAdder::linesOf(const NewAsset& asset,
                                                            const Resolved& r,
                                                            int32_t fundVersion) const {
    std::vector<am::clsAMAssetFundAccAlter> lines(r.lineAccounts.size());
    for (size_t l = 0; l < lines.size(); ++l) {
        lines[l].lngAMAssetFundAlterID = fundVersion;
        lines[l].lngAccountID = r.lineAccounts[l].first;
        lines[l].lngDepartmentID = r.lineAccounts[l].second;
        lines[l].lngOrderNo = static_cast<int32_t>(l + 1);
        lines[l].dblQuotiety = 1;
        lines[l].dblRate = asset.accountLines[l].percent;
    }
    return lines;
}

YearPeriod AssetAdder::periodOf(const std::string& date) const {
    auto known = periods_.find(date);
    if (known == periods_.end()) known = periods_.emplace(date, session_.periodOfDate(date)).first;
    return known->second;
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
