// The older module's history in statements: period balances, their apportionment, depreciation
// records per organisation and period.
#include "upgrade/FixedModuleHistory.hpp"

#include <vector>

#include "frame/DataAccess.hpp"
#include "upgrade/UpgradeSteps.hpp"

namespace tk::am {
namespace {

const char* const kLabel = "ErpUpdateAMAssetDepreciation:";

// The working copy holds each organisation's latest depreciated period,
// found once per organisation rather than once per row.
std::string LatestPeriodOf(const std::string& table) {
    return " Insert Into [NewUser]" + table + "Ex Select b.* From [NewUser]" + table +
           " b, (Select x.lngOrganizationID, Max(x.intYear * 100 + x.bytPeriod) As intLatest"
           " From [NewUser]AMAssetFundBalance x Group By x.lngOrganizationID) l"
           " Where l.lngOrganizationID = b.lngOrganizationID"
           " And b.intYear * 100 + b.bytPeriod = l.intLatest";
}

}  // namespace

// A period counts as used when the asset was in service all of it: under the
// enterprise rule not in the month of its addition, unless it came in as an
// opening card; never under the method that does not depreciate. A period's
// version is the latest one in force at its end, found once per period.
bool FixedModuleHistory::WriteBalances(std::string& strErrMsg) {
    UpgradeSteps::RunLogged("Drop Table [NewUser]FixBalID_Temp");
    return UpgradeSteps::RunAll(
        {"Create Table [NewUser]FixBalID_Temp As Select d.lngFixedAlterID, d.lngFixedCardID,"
         " d.intYear * 100 + d.bytPeriod As intYearPeriod, Case When d.strDepreciationMethod = '1'"
         " Or (f.blnIsInit = 0 And f.intYear = d.intYear And f.bytPeriod = d.bytPeriod) Then 0"
         " Else 1 End As intPeriods From [OldUser]FixedAlter d, [OldUser]FixedAlter f"
         " Where d.bytAlterType = 4 And f.lngFixedCardID = d.lngFixedCardID"
         " And f.lngLastFixedAlterID = 0",
         // a card's periods are looked up by card and period
         "Create Index FixBalID_Temp_IX On [NewUser]FixBalID_Temp (lngFixedCardID, intYearPeriod)",
         " Insert Into [NewUser]AMAssetFundBalance (lngAMAssetAlterID, lngAMAssetFundAlterID,"
         " lngAMAssetID, lngAMFundID, intYear, bytPeriod, dblInitDepreciation, dblDepreciation,"
         " intInitPeriods, intPeriods, dblPeriodDepreciation, lngVoucherID, lngOrganizationID)"
         " Select m.lngAMAssetAlterID, m.lngAMAssetFundAlterID, m.lngAMAssetID, 1, d.intYear,"
         " d.bytPeriod, d.dblDeprection - d.dblPeriodDepreciation, d.dblPeriodDepreciation,"
         " c.intStartPeriod + Nvl((Select Sum(e.intPeriods) From [NewUser]FixBalID_Temp e"
         " Where e.lngFixedCardID = p.lngFixedCardID And e.intYearPeriod < p.intYearPeriod), 0),"
         " p.intPeriods, d.dblPeriodDepreciation, d.lngVoucherID, d.lngOrganizationID"
         " From [OldUser]FixedAlter d, [OldUser]FixedCard c, [NewUser]FixBalID_Temp p,"
         " [NewUser]FixAlterID_Temp m, (Select b.lngFixedAlterID, Max(x.lngAMAssetAlterID) As"
         " lngAMAssetAlterID From [NewUser]FixBalID_Temp b, [NewUser]FixAlterID_Temp x"
         " Where x.lngFixedCardID = b.lngFixedCardID And x.intYearPeriod <= b.intYearPeriod"
         " Group By b.lngFixedAlterID) v Where p.lngFixedAlterID = d.lngFixedAlterID"
         " And c.lngFixedCardID = d.lngFixedCardID And v.lngFixedAlterID = p.lngFixedAlterID"
         " And m.lngAMAssetAlterID = v.lngAMAssetAlterID",
         LatestPeriodOf("AMAssetFundBalance")},
        "生成新的固定资产折旧数据出错！", kLabel, strErrMsg);
}

// Each organisation's periods apportioned as the account set's routine
// apportions them, in the form of the older module's history.
bool FixedModuleHistory::WriteApportionment(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {" Select Count(*) From (Select Distinct b.lngOrganizationID, b.intYear,"
         " b.bytPeriod From [NewUser]AMAssetFundBalance b) p"
         " Where [NewUser]AMAssetWriteBalanceAmortise(p.intYear, p.bytPeriod, 0,"
         " p.lngOrganizationID, 0) >= 0",
         LatestPeriodOf("AMAssetFundBalanceAmortise")},
        "折旧数据分摊出错！", kLabel, strErrMsg);
}

// One run per organisation and period, linked to the period's depreciation voucher.
bool FixedModuleHistory::WriteDepreciationRecords(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {" Insert Into [NewUser]AMAssetDepreciation (lngAMAssetDepreciationID, intYear, bytPeriod,"
         " strDate, strName, blnIncreaseDepreciation, dblDepreciation, lngVoucherID, lngOperatorID,"
         " lngOrganizationID) Select [NewUser]AMAssetDepreciation_SEQ.NextVal, r.intYear,"
         " r.bytPeriod, r.strDate, r.intYear || '年' || r.bytPeriod || '期折旧', 0,"
         " r.dblDepreciation, Nvl((Select Max(v.lngVoucherID) From [OldUser]Voucher v"
         " Where v.lngVoucherSourceID = 15 And v.lngOrganizationID = r.lngOrganizationID"
         " And v.intYear = r.intYear And v.bytPeriod = r.bytPeriod), 0), r.lngOperatorID,"
         " r.lngOrganizationID From (Select d.lngOrganizationID, d.intYear, d.bytPeriod,"
         " Max(d.strDate) As strDate, Max(d.lngOperatorID) As lngOperatorID,"
         " Sum(d.dblPeriodDepreciation) As dblDepreciation From [OldUser]FixedAlter d"
         " Where d.bytAlterType = 4 Group By d.lngOrganizationID, d.intYear, d.bytPeriod) r"},
        "生成折旧记录出错！", kLabel, strErrMsg);
}

}  // namespace tk::am
