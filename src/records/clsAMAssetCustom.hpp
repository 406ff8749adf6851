// The clsAMAssetCustom class: an asset's one unversioned row of user-defined values.
#pragma once
#include <cstdint>
#include <string>

#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// One row of user-defined values per asset, not versioned: a save overwrites it.
class clsAMAssetCustom : public DispatchableBase<clsAMAssetCustom> {
  public:
    std::string_view className() const override { return "clsAMAssetCustom"; }
    static void describe(DispatchTable<clsAMAssetCustom>& t);

    // Errors reach the caller.
    void LoadID(int32_t lngAMAssetID);
    // Inserts or overwrites the asset's row, or deletes it for a negative id;
    // the asset id, or 0 on any failure.
    int32_t SaveCard();

    int32_t lngAMAssetID = 0;
    RecordText strCustom1{TextKind::Quoted}, strCustom2{TextKind::Quoted},
        strCustom3{TextKind::Quoted}, strCustom4{TextKind::Quoted}, strCustom5{TextKind::Quoted},
        strCustom6{TextKind::Quoted}, strCustom7{TextKind::Quoted}, strCustom8{TextKind::Quoted},
        strCustom9{TextKind::Quoted}, strCustom10{TextKind::Quoted}, strCustom11{TextKind::Quoted},
        strCustom12{TextKind::Quoted}, strCustom13{TextKind::Quoted};
    double dblCustom1 = 0, dblCustom2 = 0, dblCustom3 = 0, dblCustom4 = 0, dblCustom5 = 0;
    RecordText strCustomDate1{TextKind::Kept}, strCustomDate2{TextKind::Kept};

  private:
    std::string insert() const;
    std::string update() const;
};

}  // namespace tk::am
