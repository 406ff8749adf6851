#pragma once
#include <string>

#include "AccountSetSession.hpp"

namespace tk::tools {

// Takes an asset out of the register (报废, 出售, ...): a decrease version of
// the card and of each funding source, the depreciation recalculated.
class AssetDisposer {
  public:
    explicit AssetDisposer(const AccountSetSession& session) : session_(session) {}
    // `way` is the code of a way of decrease (AMAssetMethod of type 1).
    void dispose(const std::string& assetCode, const std::string& date,
                 const std::string& way) const;

  private:
    const AccountSetSession& session_;
};

}  // namespace tk::tools
