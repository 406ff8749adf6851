// The host's grant of one account set to a run in another, through the administrative login.
#include "provision/clsAMAssetSetAccess.hpp"

#include "frame/ClassRegistry.hpp"
#include "host/RunTimeError.hpp"

namespace tk::am {

void clsAMAssetSetAccess::describe(DispatchTable<clsAMAssetSetAccess>& t) {
    t.field("AdminServer", &clsAMAssetSetAccess::AdminServer)
        .field("FromSet", &clsAMAssetSetAccess::FromSet)
        .field("ToSet", &clsAMAssetSetAccess::ToSet)
        .field("ForUpgrade", &clsAMAssetSetAccess::ForUpgrade)
        .method("Grant",
                [](clsAMAssetSetAccess& self, Dispatchable::Args&) {
                    self.Grant();
                    return Variant();
                })
        .method("Revoke", [](clsAMAssetSetAccess& self, Dispatchable::Args&) {
            self.Revoke();
            return Variant();
        });
}

void clsAMAssetSetAccess::Grant() {
    if (AdminServer.empty() || FromSet.empty() || ToSet.empty())
        throw RunTimeError(errors::kInvalidArgument,
                           "授权需要 AdminServer (管理员连接)、FromSet 和 ToSet");
    access_.reset();
    access_ = std::make_unique<CrossSetAccess>(
        AdminServer, FromSet, ToSet,
        ForUpgrade ? CrossSetAccess::Purpose::Upgrade : CrossSetAccess::Purpose::Read);
}

TKAM_REGISTER_CLASS(clsAMAssetSetAccess)

}  // namespace tk::am
