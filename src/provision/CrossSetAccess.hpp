// The access a run in one account set is granted to another for as long as it lasts.
#pragma once
#include <memory>
#include <string>

namespace tk::connect {
class Session;
}

namespace tk::am {

// What a run logged in as one account set may do in another for as long as
// the run lasts: the carry-forward and the adjustment scripts read the old set,
// the upgrade also gives the old set's assets a blank other card there. Granted
// by the administrative login when made, revoked when it goes; `accountset
// secure` takes back what a run killed half way left behind.
class CrossSetAccess {
  public:
    enum class Purpose { Read, Upgrade };

    CrossSetAccess(const std::string& adminServer, const std::string& from, const std::string& to,
                   Purpose purpose = Purpose::Read);
    ~CrossSetAccess();
    CrossSetAccess(const CrossSetAccess&) = delete;
    CrossSetAccess& operator=(const CrossSetAccess&) = delete;

  private:
    std::unique_ptr<connect::Session> session_;
    std::string from_, to_;
};

}  // namespace tk::am
