// Taking an asset out of the register, whole or in part.
#pragma once
#include <map>
#include <string>

#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// Takes an asset out of the register (报废, 出售, ...): a decrease version of
// the card and of each funding source, the depreciation recalculated.
class AssetDisposer {
  public:
    explicit AssetDisposer(const LedgerSession& session) : session_(session) {}
    // `way` is the code of a way of decrease (AMAssetMethod of type 1).
    void dispose(const std::string& assetCode, const std::string& date,
                 const std::string& way) const;
    // A partial decrease (部分减少): `costOut` of the cost leaves with the
    // same share of the depreciation, impairment and residual value, per
    // funding source as the account set's routine works them out; the rest
    // stays in the register and depreciates on.
    void disposePart(const std::string& assetCode, const std::string& date, const std::string& way,
                     double costOut) const;
    // The cost a part of the asset given in percent ("30" or "30%") stands for.
    double costOfPart(const std::string& assetCode, const std::string& percent) const;

  private:
    int32_t wayID(const std::string& way) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
