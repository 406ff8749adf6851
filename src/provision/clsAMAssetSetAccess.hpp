// The access a host grants a year-end or upgrade run to a second account set.
#pragma once
#include <memory>
#include <string>

#include "host/Dispatchable.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::am {

// A run logged in as the new account set reads the old one (the carry-forward
// and the adjustment scripts), and an upgrade also gives the old set's assets
// a blank other card there. The host grants that with the administrative
// login, for as long as the run lasts, as the command-line tool does:
//   AdminServer = admin connection string, FromSet = old set, ToSet = new set,
//   ForUpgrade = 1 for an upgrade; Grant before Check, Revoke after Execute
//   (releasing the object revokes too).
class clsAMAssetSetAccess : public DispatchableBase<clsAMAssetSetAccess> {
  public:
    std::string_view className() const override { return "clsAMAssetSetAccess"; }
    static void describe(DispatchTable<clsAMAssetSetAccess>& t);

    void Grant();
    void Revoke() { access_.reset(); }

    std::string AdminServer, FromSet, ToSet;
    int16_t ForUpgrade = 0;

  private:
    std::unique_ptr<CrossSetAccess> access_;
};

}  // namespace tk::am
