// The clsAMAssetAux class: an asset's pieces of auxiliary equipment, one unversioned
// row each.
#pragma once
#include <cstdint>
#include <string>

#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The pieces of auxiliary equipment of an asset, each a row of its own, not
// versioned: a save overwrites it.
class clsAMAssetAux : public DispatchableBase<clsAMAssetAux> {
  public:
    std::string_view className() const override { return "clsAMAssetAux"; }
    static void describe(DispatchTable<clsAMAssetAux>& t);

    // Errors reach the caller.
    void LoadID(int32_t lngAMAssetID, int32_t lngAMAssetAuxID);
    // A new piece (piece id 0), a change, or a deletion: of the piece for a
    // negative piece id, of all the asset's pieces for a negative asset id.
    // The piece id, the asset id for a deletion, or 0 on any failure.
    int32_t SaveCard();

    int32_t lngAMAssetID = 0;
    int32_t lngAMAssetAuxID = 0;
    RecordText strAMAssetAuxCode{TextKind::Quoted};
    RecordText strAMAssetAuxName{TextKind::Quoted};
    int32_t lngAMAssetTypeID = 0;
    int32_t lngAMAssetMethodID = 0;
    RecordText strAuxStyle{TextKind::Quoted};
    RecordText strFeatures{TextKind::Quoted};
    RecordText strPurpose{TextKind::Quoted};
    RecordText strUnit{TextKind::Quoted};
    double dblQuantity = 0;
    double dblAmount = 0;
    RecordText strAddDate{TextKind::Kept};
    RecordText strStartDate{TextKind::Kept};
    RecordText strScraptDate{TextKind::Kept};
    int32_t lngSupplierID = 0;
    RecordText strNotes{TextKind::Quoted};

  private:
    bool write();
    std::string insert() const;
    std::string update() const;
};

}  // namespace tk::am
