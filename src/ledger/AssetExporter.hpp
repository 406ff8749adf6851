// Exporting the register as a CSV file that the importer reads back.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// The assets in the register as a CSV file the importer reads back: each
// asset as it stands now, with its funding sources' shares and its account lines.
class AssetExporter {
  public:
    explicit AssetExporter(const LedgerSession& session) : session_(session) {}
    std::string csv() const;

  private:
    // Rows of (asset id, label, figure) gathered by asset.
    using Labelled = std::vector<std::pair<std::string, double>>;
    std::map<int32_t, Labelled> byAsset(const std::string& sql) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
