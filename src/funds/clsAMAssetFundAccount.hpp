// The clsAMAssetFundAccount class: the accounts a category posts to for one funding
// source.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "host/Dispatchable.hpp"

namespace tk::am {

// The eight accounts an asset of one category posts to when one funding source
// finances it. An account not set for the category and source is inherited:
// from the category's own accounts, then from its ancestors nearest first,
// finally from the module settings.
class clsAMAssetFundAccount : public DispatchableBase<clsAMAssetFundAccount> {
  public:
    std::string_view className() const override { return "clsAMAssetFundAccount"; }
    static void describe(DispatchTable<clsAMAssetFundAccount>& t);

    // Database errors reach the caller with the accounts partly resolved.
    void LoadID(int32_t lngAMAssetTypeID, int32_t lngAMFundID, int32_t lngOrganizationID);

    int32_t lngAssetAccountID = 0;
    std::string strAssetAccount;
    int32_t lngDepreciationAccountID = 0;
    std::string strDepreciationAccount;
    int32_t lngDecAccountID = 0;
    std::string strDecAccount;
    int32_t lngOutAccountID = 0;
    std::string strOutAccount;
    int32_t lngPayAccountID = 0;
    std::string strPayAccount;
    int32_t lngFixUpAccountID = 0;
    std::string strFixUpAccount;
    int32_t lngSpecialAccountID = 0;
    std::string strSpecialAccount;
    int32_t lngAddToAccountID = 0;
    std::string strAddToAccount;

  private:
    void loadFundSetting(int32_t typeID, int32_t fundID, int32_t organizationID);
    void loadCategoryAccounts(int32_t typeID, int32_t organizationID);
    void inheritFromAncestors(const std::string& code, int32_t fundID, int32_t organizationID);
    void loadModuleDefaults(int32_t organizationID);
    bool allFound() const;
    void FindParentAccount(const std::string& kind, const std::string& codes, int32_t fundID,
                           int32_t organizationID, int32_t& accountID, std::string& account);
};

}  // namespace tk::am
