// Adding new assets, described by codes, to the register: one at a time or many at once.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "ledger/LedgerSession.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::am {
class clsAMAssetType;
class clsAMAssetFundAccount;
class CodeSource;
}  // namespace tk::am

namespace tk::ledger {

// A new asset as the command line or a file describes it, by codes.
struct NewAsset {
    struct Fund {
        std::string code;
        double percent = 100;  // share of the cost
    };
    struct AccountLine {
        std::string account, department;
        double percent = 100;  // share of the depreciation
    };
    std::optional<std::string> code;  // drawn from the coding rules when not given
    std::string category, name, date, department;
    double cost = 0;
    std::optional<double> residual;  // an amount; else the rate's share of the cost
    std::optional<double> residualRate, life, totalWork;
    std::optional<int16_t> method;
    std::vector<Fund> funds;  // empty: the first funding source carries it all
    std::vector<AccountLine> accountLines;
};

// Adds assets through the card, funding-source and depreciation classes, each
// asset in one transaction (afterwards the whole asset exists or none of it),
// or many at once inside the caller's.
class AssetAdder {
  public:
    explicit AssetAdder(const LedgerSession& session) : session_(session) {}
    // The new asset's id and code; input that names nothing known raises an
    // AssetInputError before anything is written.
    std::pair<int32_t, std::string> add(const NewAsset& asset) const;
    // The asset with every code looked up, ready to write; the AssetInputError
    // `add` would raise, if any. Writes nothing.
    struct Resolved;
    std::shared_ptr<const Resolved> prepare(const NewAsset& asset) const;
    // Prepared assets written inside the caller's transaction in a few
    // statements per table, with the rows adding them one by one in the same
    // order would give. A refused asset raises an am::RowRefusal naming its
    // place in `assets`.
    using Prepared = std::pair<const NewAsset*, const Resolved*>;
    void addAll(std::span<const Prepared> assets) const;

  private:
    Resolved resolve(const NewAsset& asset) const;
    int32_t idOf(const std::string& sql, const std::string& field, const std::string& what,
                 const std::string& code) const;
    // The asset's code (drawn unless given) and its card's code.
    std::pair<std::string, std::string> codesOf(const NewAsset& asset, const Resolved& r,
                                                am::CodeSource& codes) const;
    std::pair<int32_t, std::string> write(const NewAsset& asset, const Resolved& r) const;
    void recalculateAll(std::span<const Prepared> assets,
                        const std::vector<am::clsAMAssetCard>& cards) const;
    // The records of a new asset, before they are saved.
    am::clsAMAssetCard cardOf(const NewAsset& asset, const Resolved& r, const std::string& code,
                              const std::string& cardCode) const;
    std::vector<am::clsAMAssetFund> fundsOf(const NewAsset& asset, const Resolved& r,
                                            const am::clsAMAssetCard& card) const;
    std::vector<am::clsAMAssetFundAccAlter> linesOf(const NewAsset& asset, const Resolved& r,
                                                    int32_t fundVersion) const;
    YearPeriod periodOf(const std::string& date) const;
    // The reference rows an asset names (ids by code, the period of a date, a
    // category and its accounts for a funding source), read once for all the
    // assets this adder writes.
    const am::clsAMAssetType& categoryOf(int32_t category) const;
    const am::clsAMAssetFundAccount& accountsOf(int32_t category, int32_t fund) const;

    const LedgerSession& session_;
    mutable std::map<std::string, std::optional<std::string>> ids_;  // by query
    mutable std::map<std::string, YearPeriod> periods_;
    mutable std::map<int32_t, std::shared_ptr<am::clsAMAssetType>> categories_;
    mutable std::map<std::pair<int32_t, int32_t>, std::shared_ptr<am::clsAMAssetFundAccount>>
        fundAccounts_;
};

// "01:60" → a funding source and its share; an error naming the text otherwise.
NewAsset::Fund fundOf(const std::string& text);
// "510101:0103:100" → an account line; an error naming the text otherwise.
NewAsset::AccountLine accountLineOf(const std::string& text);

}  // namespace tk::ledger
