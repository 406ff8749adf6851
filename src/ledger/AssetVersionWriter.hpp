// Writing a decrease or another change as an asset's newest version.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "frame/PublicDef.hpp"
#include "ledger/LedgerSession.hpp"

namespace tk::am {
class clsAMAssetCard;
}

namespace tk::ledger {

// One funding source's part of a change, where the document decides it
// rather than the sources' costs.
struct FundChange {
    double cost = 0, impairment = 0, residual = 0, depreciation = 0;
};

// A document that changes an asset already in the register (a decrease or
// another change): its kind, its date and what it does to the card.
struct AssetDocument {
    am::AlterTypeEnum mode = am::atOther;  // atDec or atOther
    int32_t receiptType = 0;
    int32_t templateID = 0;
    int32_t way = 0;  // lngAMAssetMethodID of the way of decrease or change
    std::string date;
    // Sets the card's new values and their changes in the ...Alter fields,
    // which are zero when it is called.
    std::function<void(am::clsAMAssetCard&)> change;
    // Each source's part, asked once the card has changed; unset, the card's
    // changes are shared by the sources' costs.
    std::function<FundChange(int32_t fund)> fundChange;
};

// Writes a document as the asset's newest version, all in one transaction:
// the card, a version of every funding source carrying its share of the
// changes (in proportion to its cost) and its account lines, then the
// depreciation recalculated. Afterwards the whole change exists or none of it.
class AssetVersionWriter {
  public:
    explicit AssetVersionWriter(const LedgerSession& session) : session_(session) {}
    void write(const std::string& assetCode, const AssetDocument& document) const;

  private:
    // The asset's current version, refused when no document may follow it.
    void loadCurrent(am::clsAMAssetCard& card, const std::string& assetCode,
                     const AssetDocument& document) const;
    void saveCard(am::clsAMAssetCard& card, const AssetDocument& document, YearPeriod period) const;
    void saveFunds(const am::clsAMAssetCard& card, int32_t previousDepartment,
                   const AssetDocument& document, YearPeriod period) const;
    void carryAccountLines(int32_t fromVersion, int32_t toVersion, int32_t fromDepartment,
                           int32_t toDepartment) const;
    void recalculate(const am::clsAMAssetCard& card, const AssetDocument& document) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
