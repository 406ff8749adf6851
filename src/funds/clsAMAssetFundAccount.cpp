// The eight accounts resolved in turn: the source's setting, the category's own, its
// ancestors', then the module settings.
#include "funds/clsAMAssetFundAccount.hpp"

#include <algorithm>
#include <iterator>

#include "frame/ClassRegistry.hpp"
#include "frame/CodeLookup.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Settings.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetFundAccount;

struct AccountKind {
    const char* word;
    int32_t Self::*id;
    std::string Self::*text;
    // The module setting that is the last resort; only the kinds a category
    // carries itself have one.
    const char* moduleSetting;
};

const AccountKind kKinds[] = {
    {"Asset", &Self::lngAssetAccountID, &Self::strAssetAccount, "固定资产科目"},
    {"Depreciation", &Self::lngDepreciationAccountID, &Self::strDepreciationAccount,
     "累计折旧科目"},
    {"Dec", &Self::lngDecAccountID, &Self::strDecAccount, "减值准备科目"},
    {"Out", &Self::lngOutAccountID, &Self::strOutAccount, nullptr},
    {"Pay", &Self::lngPayAccountID, &Self::strPayAccount, nullptr},
    {"FixUp", &Self::lngFixUpAccountID, &Self::strFixUpAccount, nullptr},
    {"Special", &Self::lngSpecialAccountID, &Self::strSpecialAccount, nullptr},
    {"AddTo", &Self::lngAddToAccountID, &Self::strAddToAccount, nullptr},
};
constexpr size_t kAllKinds = std::size(kKinds);
constexpr size_t kCategoryKinds = 3;

bool IsCategoryKind(const std::string& word) {
    return std::any_of(kKinds, kKinds + kCategoryKinds,
                       [&](const AccountKind& kind) { return word == kind.word; });
}

std::string IdColumn(const AccountKind& kind) {
    return "lng" + std::string(kind.word) + "AccountID";
}
std::string TextColumn(size_t index) { return "strAcc" + std::to_string(index + 1); }

// The display texts of the first `count` kinds (code, blank, name of account
// accN) and the outer joins from `owner`'s account columns to those accounts.
struct AccountJoins {
    std::string texts, joins;
};

AccountJoins JoinAccounts(const std::string& owner, size_t count) {
    AccountJoins result;
    for (size_t i = 0; i < count; ++i) {
        const std::string alias = "acc" + std::to_string(i + 1);
        result.texts += alias + ".strAccountCode || ' ' || " + alias + ".strAccountName As " +
                        TextColumn(i) + (i + 1 < count ? "," : " ");
        result.joins += std::string(i == 0 ? "WHERE " : "AND ") + owner + "." +
                        IdColumn(kKinds[i]) + " = " + alias + ".lngAccountID(+) ";
    }
    return result;
}

std::string CategoryView(int32_t organizationID) {
    return OrganizationView("AMAssetType", organizationID);
}

// The first row's account, if any: columns lngID and strAcc.
void ReadFirstAccount(const std::string& sql, int32_t& accountID, std::string& account) {
    RecordsetPtr rs = OpenRecordset(sql, 3, 1);
    if (!rs->eof()) {
        accountID = rs->field("lngID").toInt32();
        account = rs->field("strAcc").toText();
    }
    CloseRecordset(rs);
}

}  // namespace

void clsAMAssetFundAccount::describe(DispatchTable<Self>& t) {
    for (const AccountKind& kind : kKinds) {
        t.field(IdColumn(kind), kind.id);
        t.field("str" + std::string(kind.word) + "Account", kind.text);
    }
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32(), requiredArg(args, 1).toInt32(),
                    requiredArg(args, 2).toInt32());
        return Variant();
    });
}

void clsAMAssetFundAccount::LoadID(int32_t lngAMAssetTypeID, int32_t lngAMFundID,
                                   int32_t lngOrganizationID) {
    loadFundSetting(lngAMAssetTypeID, lngAMFundID, lngOrganizationID);
    loadCategoryAccounts(lngAMAssetTypeID, lngOrganizationID);
    if (!allFound()) {
        RecordsetPtr rs = OpenRecordset(
            " Select AMAssetType.strAMAssetTypeCode, AMAssetType.intLevel From " +
                CategoryView(lngOrganizationID) +
                " Where AMAssetType.lngAMAssetTypeID = " + std::to_string(lngAMAssetTypeID),
            3, 1);
        const std::string code = rs->eof() ? "" : rs->field("strAMAssetTypeCode").toText();
        CloseRecordset(rs);
        inheritFromAncestors(code, lngAMFundID, lngOrganizationID);
    }
    loadModuleDefaults(lngOrganizationID);
}

void clsAMAssetFundAccount::loadFundSetting(int32_t typeID, int32_t fundID,
                                            int32_t organizationID) {
    const AccountJoins accounts = JoinAccounts("acc", kAllKinds);
    RecordsetPtr rs = OpenRecordset(
        "SELECT acc.*," + accounts.texts +
            "FROM [User]AMAssetFundAccSetting2 acc,"
            "[User]Account acc1, [User]Account acc2, [User]Account acc3, [User]Account acc4,"
            "[User]Account acc5, [User]Account acc6, [User]Account acc7, [User]Account acc8 " +
            accounts.joins + "AND lngAMAssetTypeID = " + std::to_string(typeID) + " " +
            "AND lngAMFundID = " + std::to_string(fundID) + " " +
            "AND lngOrganizationID = " + std::to_string(organizationID),
        3, 1);
    bool empty = true;
    connection().IsRsEmpty(rs, empty);
    for (size_t i = 0; i < kAllKinds; ++i) {
        this->*kKinds[i].id = empty ? 0 : rs->field(IdColumn(kKinds[i])).toInt32();
        this->*kKinds[i].text = empty ? "" : rs->field(TextColumn(i)).toText();
    }
    CloseRecordset(rs);
}

// A category's own accounts fill the kinds still open, even with an id of 0.
void clsAMAssetFundAccount::loadCategoryAccounts(int32_t typeID, int32_t organizationID) {
    const AccountJoins accounts = JoinAccounts("AMAssetType", kCategoryKinds);
    RecordsetPtr rs = OpenRecordset(
        " Select AMAssetType.lngAssetAccountID,AMAssetType.lngDepreciationAccountID,"
        "AMAssetType.lngDecAccountID," +
            accounts.texts + "FROM " + CategoryView(organizationID) +
            ",[User]Account acc1, [User]Account acc2, [User]Account acc3 " + accounts.joins +
            "AND lngAMAssetTypeID = " + std::to_string(typeID) + " " +
            "AND lngOrganizationID = " + std::to_string(organizationID),
        3, 1);
    for (size_t i = 0; i < kCategoryKinds && !rs->eof(); ++i) {
        if (this->*kKinds[i].id != 0) continue;
        this->*kKinds[i].id = rs->field(IdColumn(kKinds[i])).toInt32();
        this->*kKinds[i].text = rs->field(TextColumn(i)).toText();
    }
    CloseRecordset(rs);
}

// Ancestor codes are the code cut before each "-", the nearest (longest) first.
void clsAMAssetFundAccount::inheritFromAncestors(const std::string& code, int32_t fundID,
                                                 int32_t organizationID) {
    if (code.empty()) return;
    for (auto dash = static_cast<int32_t>(std::count(code.begin(), code.end(), '-')); dash >= 1;
         --dash) {
        const std::string ancestor = "'" + CodeBeforeNthDash(code, dash) + "'";
        for (const AccountKind& kind : kKinds)
            if (this->*kind.id == 0)
                FindParentAccount(kind.word, ancestor, fundID, organizationID, this->*kind.id,
                                  this->*kind.text);
    }
}

void clsAMAssetFundAccount::loadModuleDefaults(int32_t organizationID) {
    for (size_t i = 0; i < kCategoryKinds; ++i) {
        int32_t& id = this->*kKinds[i].id;
        if (id != 0) continue;
        id = ReadSetting(kKinds[i].moduleSetting, std::string("固定资产"), Variant(0), std::nullopt,
                         organizationID)
                 .toInt32();
        this->*kKinds[i].text = id >= 1 ? GetCodeName(id, "Account", 0, 0) : "";
    }
}

bool clsAMAssetFundAccount::allFound() const {
    return std::all_of(std::begin(kKinds), std::end(kKinds),
                       [this](const AccountKind& kind) { return this->*kind.id != 0; });
}

// The account of kind `kind` set for the nearest of the categories `codes`:
// their funding-source setting first, then (for the kinds a category carries)
// the categories' own account.
void clsAMAssetFundAccount::FindParentAccount(const std::string& kind, const std::string& codes,
                                              int32_t fundID, int32_t organizationID,
                                              int32_t& accountID, std::string& account) {
    accountID = 0;
    account.clear();
    const std::string fund = std::to_string(fundID), organization = std::to_string(organizationID);
    ReadFirstAccount(FormatTemplate(" SELECT acc.lng{0}AccountID As lngID,"
                                    " a.strAccountCode || ' ' || a.strAccountName As strAcc "
                                    " FROM [User]AMAssetFundAccSetting2 acc," +
                                        CategoryView(organizationID) +
                                        ",[User]Account a "
                                        " WHERE acc.lng{0}AccountID = a.lngAccountID(+) "
                                        " AND acc.lngAMAssetTypeID = AMAssetType.lngAMAssetTypeID "
                                        " AND acc.lng{0}AccountID <> 0"
                                        " AND AMAssetType.strAMAssetTypeCode In({1})"
                                        " AND acc.lngAMFundID = {2}"
                                        " AND acc.lngOrganizationID = {3}"
                                        " ORDER BY AMAssetType.strAMAssetTypeCode Desc",
                                    {kind, codes, fund, organization}),
                     accountID, account);
    if (accountID != 0 || !IsCategoryKind(kind)) return;
    ReadFirstAccount(FormatTemplate(" Select AMAssetType.lng{0}AccountID As lngID,"
                                    " a.strAccountCode || ' ' || a.strAccountName As strAcc "
                                    " FROM " +
                                        CategoryView(organizationID) +
                                        ",[User]Account a "
                                        " WHERE AMAssetType.lng{0}AccountID = a.lngAccountID(+) "
                                        " AND AMAssetType.lng{0}AccountID <> 0"
                                        " AND AMAssetType.strAMAssetTypeCode In({1}) "
                                        " AND AMAssetType.lngOrganizationID = {2}"
                                        " ORDER BY AMAssetType.strAMAssetTypeCode Desc",
                                    {kind, codes, organization}),
                     accountID, account);
}

}  // namespace tk::am

using tk::am::clsAMAssetFundAccount;
TKAM_REGISTER_CLASS(clsAMAssetFundAccount)
