#pragma once
#include <cstdint>
#include <string>

#include "AccountSetSession.hpp"

namespace tk::tools {

// Takes an asset out of the register (报废, 出售, ...): a decrease version of
// the card and of each funding source, with the sources' account lines carried
// over, then the depreciation recalculated, all in one transaction.
class AssetDisposer {
  public:
    explicit AssetDisposer(const AccountSetSession& session) : session_(session) {}
    // `way` is the code of a way of decrease (AMAssetMethod of type 1).
    void dispose(const std::string& assetCode, const std::string& date,
                 const std::string& way) const;

  private:
    int32_t saveCardVersion(int32_t assetID, YearPeriod period, const std::string& date,
                            int32_t way) const;
    void saveFundVersions(int32_t assetID, int32_t versionID, YearPeriod period,
                          const std::string& date) const;
    void carryAccountLines(int32_t fromVersion, int32_t toVersion) const;

    const AccountSetSession& session_;
};

}  // namespace tk::tools
