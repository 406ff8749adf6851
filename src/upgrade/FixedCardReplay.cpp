#include "upgrade/FixedCardReplay.hpp"

#include "connect/RunTimeError.hpp"
#include "frame/Conversion.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundCostAlter.hpp"
#include "upgrade/UpgradeSteps.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

constexpr int16_t kPeriodDepreciation = 4, kSaved = 2;
constexpr int32_t kWorkload = 3;
// The older module knew one funding source: the company's own (自有资金).
constexpr int32_t kOwnFund = 1;

const char* const kSource =
    "Select fc.*, fa.*,\r\nNvl(fax.lngFixedCardID, 0) As lngFixedCardIDx,\r\n"
    "Nvl(To_Number(fax.strDepreciationMethod), 0) As bytDepreciationMethodx,\r\n"
    "Nvl(Decode(fax.strDepreciationMethod, '3', 0, fax.intUseAge), 0) As intUseAgex,\r\n"
    "Nvl(Decode(fax.strDepreciationMethod, '3', fax.dblTotalWork, 0), 0) As dblTotalWorkx,\r\n"
    "Nvl(fax.dblFixedDecAlterBalance, 0) As dblDecAmountx,\r\n"
    "Nvl(fax.dblNetWorth, 0) As dblNetWorthx,\r\n"
    "Nvl(fm.lngAccountID,0) As lngRelativeAccountID,\r\n"
    "Nvl(a.lngUnitID,0) As lngUnitID From \r\n[OldUser]FixedCard fc, \r\n"
    "[OldUser]FixedAlter fa, \r\n[OldUser]FixedAlter fax, \r\n[OldUser]FixedMethod fm, \r\n"
    "[OldUser]Asset a \r\nWhere fc.lngFixedCardID = fa.lngFixedCardID \r\n"
    "And fa.lngFixedCardID = fax.lngFixedCardID(+) \r\n"
    "And fa.lngLastFixedAlterID = fax.lngFixedAlterID(+) \r\n"
    "And fa.lngFixedMethodID = fm.lngFixedMethodID(+) \r\n"
    "And fc.lngAssetID = a.lngAssetID(+) \r\n"
    "Order by fc.lngFixedCardID, fa.intYear, fa.bytPeriod, fa.lngFixedAlterID";

// The lines of an alteration with the given increase flag; a line without
// department is spread over the alteration's department shares.
std::string AccountLines(const std::string& alter, int increase) {
    std::string flag = std::to_string(increase);
    return " SELECT fa.lngFixedAlterID, fa.lngAccountID, fa.lngDepartmentID, fa.dblRate,"
           " fa.strFlexibleID, fa.blnDepreincrease FROM [OldUser]FixedAccount fa"
           " WHERE fa.lngDepartmentID > 0 AND fa.blnDepreincrease = " +
           flag + " AND fa.lngFixedAlterID = " + alter +
           " UNION SELECT fa.lngFixedAlterID, fa.lngAccountID, fd.lngDepartmentID,"
           " fd.dblRate * fa.dblRate / 100 As dblRate, fa.strFlexibleID, fa.blnDepreincrease"
           " FROM [OldUser]FixedDepartment fd, [OldUser]FixedAccount fa"
           " WHERE fd.lngFixedAlterID = fa.lngFixedAlterID AND fa.lngDepartmentID = 0"
           " AND fd.lngDepartmentID > 0 AND fa.blnDepreincrease = " +
           flag + " AND fa.lngFixedAlterID = " + alter + " Order By 4, 3";
}

int32_t Int(const RecordsetPtr& rs, const char* column) { return rs->field(column).toInt32(); }
double Number(const RecordsetPtr& rs, const char* column) { return ToDouble(rs->field(column)); }
std::string Text(const RecordsetPtr& rs, const char* column) { return rs->field(column).toText(); }

void Require(bool saved, const std::string& what) {
    if (!saved) throw RunTimeError(errors::kDatabase, "升级固定资产卡片和变动数据！" + what);
}

// The receipt type and system template of a version by its kind.
std::pair<int32_t, int32_t> DocumentOf(int16_t alterType, bool initial) {
    if (initial && alterType == atAdd) return {53, 4048};
    if (alterType == atAdd) return {48, 4044};
    if (alterType == atDec) return {49, 4046};
    return {50, 4045};
}

std::string DescriptionOf(int16_t alterType, bool initial) {
    if (initial && alterType == atAdd) return "[升级][期初]";
    if (alterType == atAdd) return "[升级][增加]";
    return alterType == atDec ? "[升级][减少]" : "[升级][其它变动]";
}

// The card's accounts, as the funding source names them.
const std::pair<int32_t clsAMAssetFund::*, const char*> kCardAccounts[] = {
    {&clsAMAssetFund::lngAssetAccountID, "lngFixedAccountID"},
    {&clsAMAssetFund::lngDepreciationAccountID, "lngDeprectionAccountID"},
    {&clsAMAssetFund::lngDecAccountID, "lngFixedDecAccountID"},
    {&clsAMAssetFund::lngFixUpAccountID, "lngFixUpAccountID"},
    {&clsAMAssetFund::lngSpecialAccountID, "lngSpecialAccountID"},
    {&clsAMAssetFund::lngAddToAccountID, "lngAddToAccountID"}};

// The only funding source carries the card's four amounts and their changes.
void CopyFigures(const clsAMAssetCard& card, clsAMAssetFund& fund) {
    for (auto [from, to] :
         {std::pair{&clsAMAssetCard::dblAmount, &clsAMAssetFund::dblAmount},
          {&clsAMAssetCard::dblDepreciation, &clsAMAssetFund::dblDepreciation},
          {&clsAMAssetCard::dblNetworth, &clsAMAssetFund::dblNetworth},
          {&clsAMAssetCard::dblDecAmount, &clsAMAssetFund::dblDecAmount},
          {&clsAMAssetCard::dblAmountAlter, &clsAMAssetFund::dblAmountAlter},
          {&clsAMAssetCard::dblDepreciationAlter, &clsAMAssetFund::dblDepreciationAlter},
          {&clsAMAssetCard::dblNetworthAlter, &clsAMAssetFund::dblNetworthAlter},
          {&clsAMAssetCard::dblDecAmountAlter, &clsAMAssetFund::dblDecAmountAlter}})
        fund.*to = card.*from;
}

}  // namespace

void FixedCardReplay::Run() {
    LoadTemplates();
    UpgradeSteps::RunLogged("Drop Table [NewUser]FixAlterID_Temp");
    std::string errorText;
    Require(ExecuteSql("Create Table [NewUser]FixAlterID_Temp As Select fa.lngFixedAlterID,"
                       " fa.lngFixedCardID, fa.lngFixedCardID As lngAMAssetID, fa.lngFixedCardID As"
                       " lngAMAssetAlterID, fa.lngFixedCardID As lngAMAssetFundAlterID,"
                       " fa.intYear * 100 + fa.bytPeriod As intYearPeriod"
                       " From [OldUser]FixedAlter fa Where 1 = 0",
                       errorText),
            errorText);
    RecordsetPtr rs = OpenRecordset(kSource, 0, 1);
    for (; !rs->eof(); rs->moveNext())
        if (Int(rs, "bytAlterType") != kPeriodDepreciation) ReplayRow(rs);
    CloseRecordset(rs);
}

void FixedCardReplay::LoadTemplates() {
    RecordsetPtr rs = OpenRecordset(
        "Select * From [NewUser]Template Where lngSysTemplateID IN (4044,4045,4046,4047,4048)"
        " Order by lngTemplateID ",
        3, 1);
    for (; !rs->eof(); rs->moveNext())
        templates_.try_emplace(Int(rs, "lngSysTemplateID"), Int(rs, "lngTemplateID"));
    CloseRecordset(rs);
}

void FixedCardReplay::ReplayRow(const RecordsetPtr& rs) {
    bool first = Int(rs, "lngFixedCardID") != currentCard_;
    if (first) {
        currentCard_ = Int(rs, "lngFixedCardID");
        card_ = clsAMAssetCard();
        update_.ReportProgress(
            "升级固定资产卡片, " + Text(rs, "strFixedCode") + " " + Text(rs, "strFixedName"),
            false);
    }
    FillCard(rs, first);
    card_.lngDepartmentID = MainDepartment(Int(rs, "lngFixedAlterID"));
    Require(card_.SaveCard() != 0, card_.strAMAssetCode.str());
    saved_ = {card_.lngAMAssetID, card_.lngAMAssetAlterID, SaveFund(rs, first)};
    SaveCostLines(Int(rs, "lngFixedAlterID"), Int(rs, "lngRelativeAccountID"), saved_.fundVersion);
    SaveAccountLines(Int(rs, "lngFixedAlterID"), saved_.fundVersion);
    Remember(rs);
}

void FixedCardReplay::FillCard(const RecordsetPtr& rs, bool first) {
    int16_t alterType = static_cast<int16_t>(Int(rs, "bytAlterType"));
    bool initial = Int(rs, "blnIsInit") == 1;
    card_.Mode = first ? atAdd : (alterType == atDec ? atDec : atOther);
    card_.lngAMAssetRecentAlterID = first ? 0 : card_.lngAMAssetAlterID;
    card_.lngAMAssetAlterID = 0;
    auto [receiptType, systemTemplate] = DocumentOf(first ? int16_t(atAdd) : alterType, initial);
    card_.lngReceiptTypeID = receiptType;
    card_.lngTemplateID = templates_[systemTemplate];
    card_.lngCardTemplateID = templates_[4047];
    card_.lngAMAssetTypeID = Int(rs, "lngFixedTypeID");
    card_.intYear = Int(rs, "intYear");
    card_.bytPeriod = static_cast<int16_t>(Int(rs, "bytPeriod"));
    card_.strDate = Text(rs, "strDate");
    card_.lngOperatorID = Int(rs, "lngOperatorID");
    card_.lngOrganizationID = Int(rs, "lngOrganizationID");
    card_.strAMAssetCardCode = Text(rs, "strFixedCardCode");
    card_.strAMAssetCode = Text(rs, "strFixedCode");
    card_.strAMAssetName = Text(rs, "strFixedName");
    card_.lngAMAssetMethodID = Int(rs, "lngFixedMethodID");
    card_.blnIsVoucher = static_cast<int16_t>(Int(rs, "blnIsVoucher"));
    card_.blnIsPrint = static_cast<int16_t>(Int(rs, "blnIsPrint"));
    card_.bytAlterType = first ? int16_t(atAdd) : alterType;
    card_.bytAssetState = static_cast<int16_t>(ToDouble(rs->field("strFixedState")));
    card_.bytDepreciationMethod =
        static_cast<int16_t>(ToDouble(rs->field("strDepreciationMethod")));
    card_.lngVoucherID = Int(rs, "lngVoucherID");
    card_.lngClassID1 = Int(rs, "lngClassID1");
    card_.lngClassID2 = Int(rs, "lngClassID2");
    card_.blnIsDepreciationAll = static_cast<int16_t>(Int(rs, "blnIsDeprectionAll"));
    card_.bytDepreciationFactor = static_cast<int16_t>(ToDouble(rs->field("strDeprectionFactor")));
    card_.strAccountStr = Text(rs, "strAccountStr");
    card_.strDepartmentStr = Text(rs, "strDepartmentStr");
    card_.strCurrencyStr = Text(rs, "strCurrencyStr");
    card_.lngUnitID = Int(rs, "lngUnitID");
    card_.blnIsInit = static_cast<int16_t>(initial ? 1 : 0);
    card_.bytStatus = kSaved;
    card_.dblQuantity = 1;
    card_.strDescription = DescriptionOf(card_.bytAlterType, initial);
    card_.strNotes = Text(rs, "strNotes");
    bool workload = card_.bytDepreciationMethod == kWorkload;
    card_.dblAmount = Number(rs, "dblAmount");
    card_.dblDepreciation = Number(rs, "dblDeprection");
    card_.dblNetworth = Number(rs, "dblNetworth");
    card_.dblUseage = workload ? Number(rs, "dblTotalWork") : Number(rs, "intUseAge");
    card_.blnBaseAlter = card_.blnFinanceAlter = 1;
    card_.blnLabelAlter = card_.blnAuxAlter = card_.blnPicAlter = card_.blnDocAlter =
        card_.blnOtherAlter = static_cast<int16_t>(first ? 1 : 0);
    if (!first) return FillChanges(rs);
    card_.dblDecAmount = Number(rs, "dblFixedDecAmount");
    card_.dblAmountAlter = card_.dblAmount;
    card_.dblDepreciationAlter = card_.dblDepreciation;
    card_.dblNetworthAlter = card_.dblNetworth;
    card_.dblDecAmountAlter = card_.dblDecAmount;
    card_.dblUsageAlter = 0;
    card_.strCreateDate = card_.strDate.str();
    card_.strStartDate = Text(rs, "strStartDate");
    card_.dblStartUsage = workload ? 0 : Number(rs, "intStartPeriod");
    card_.dblStartWork = workload ? Number(rs, "intStartWork") : 0;
    card_.strWorkUnit = Text(rs, "strWorkUnit");
}

// A later version's changes: cost in and out, the alteration's own
// depreciation and impairment, and residual value and life against the
// alteration before, compared within the same kind of life.
void FixedCardReplay::FillChanges(const RecordsetPtr& rs) {
    card_.dblDecAmount = Number(rs, "dblFixedDecAlterBalance");
    card_.dblAmountAlter = Number(rs, "dblDebitAmount") - Number(rs, "dblCreditAmount");
    card_.dblDepreciationAlter = Number(rs, "dblAlterDeprection");
    card_.dblDecAmountAlter = Number(rs, "dblFixedDecAlterAmount");
    card_.dblNetworthAlter = card_.dblNetworth - Number(rs, "dblNetWorthx");
    bool workload = card_.bytDepreciationMethod == kWorkload,
         wasWorkload = Int(rs, "bytDepreciationMethodx") == kWorkload;
    card_.dblUsageAlter = workload != wasWorkload ? card_.dblUseage
                          : workload              ? card_.dblUseage - Number(rs, "dblTotalWorkx")
                                                  : card_.dblUseage - Number(rs, "intUseAgex");
}

int32_t FixedCardReplay::SaveFund(const RecordsetPtr& rs, bool first) {
    clsAMAssetFund fund;
    fund.Mode = card_.Mode;
    fund.lngAMAssetID = card_.lngAMAssetID;
    fund.lngAMFundID = kOwnFund;
    fund.lngAMAssetFundRecentAlterID = first ? 0 : saved_.fundVersion;
    fund.lngAMAssetAlterID = card_.lngAMAssetAlterID;
    fund.lngReceiptTypeID = card_.lngReceiptTypeID;
    fund.bytAlterType = card_.bytAlterType;
    fund.intYear = card_.intYear;
    fund.bytPeriod = card_.bytPeriod;
    fund.strDate = card_.strDate.str();
    fund.blnIsInit = card_.blnIsInit;
    fund.lngOperatorID = card_.lngOperatorID;
    fund.lngOrganizationID = card_.lngOrganizationID;
    fund.lngVoucherID = card_.lngVoucherID;
    fund.bytStatus = card_.bytStatus;
    CopyFigures(card_, fund);
    for (auto [account, column] : kCardAccounts) fund.*account = Int(rs, column);
    // the way's own account: where an addition was paid from, a decrease went to
    (card_.bytAlterType == atDec ? fund.lngOutAccountID : fund.lngPayAccountID) =
        Int(rs, "lngRelativeAccountID");
    fund.strAccountStr = Text(rs, "strAccountStr");
    fund.strDepartmentStr = Text(rs, "strDepartmentStr");
    fund.strCurrencyStr = Text(rs, "strCurrencyStr");
    int32_t saved = fund.SaveCard();
    Require(saved != 0, "资金来源 " + card_.strAMAssetCode.str());
    return saved;
}

void FixedCardReplay::SaveCostLines(int32_t oldAlter, int32_t relativeAccount,
                                    int32_t fundVersion) {
    RecordsetPtr rs = OpenRecordset("SELECT * FROM [OldUser]FixedCost WHERE lngFixedAlterID = " +
                                        std::to_string(oldAlter) + " Order By lngFixedCostID",
                                    0, 1);
    for (; !rs->eof(); rs->moveNext()) {
        clsAMAssetFundCostAlter line;
        line.lngAMAssetFundAlterID = fundVersion;
        line.lngAMAssetMethodID = card_.lngAMAssetMethodID;
        line.lngAccountID = relativeAccount;
        line.lngCurrencyID = Int(rs, "lngCurrencyID");
        line.dblRate = Number(rs, "dblRate");
        line.dblCurrAmount = Number(rs, "dblCurrAmount");
        line.dblAmount = Number(rs, "dblAmount");
        Require(line.SaveCard() != 0, "币种原值 " + card_.strAMAssetCode.str());
    }
    CloseRecordset(rs);
}

// The department of a version is the one with the largest share.
int32_t FixedCardReplay::MainDepartment(int32_t oldAlter) {
    RecordsetPtr rs = OpenRecordset(
        "Select lngDepartmentID From [OldUser]FixedDepartment Where lngFixedAlterID = " +
            std::to_string(oldAlter) + " Order By dblRate Desc, lngFixedDepartmentID",
        0, 1);
    int32_t department = rs->eof() ? 0 : rs->field(0).toInt32();
    CloseRecordset(rs);
    return department;
}

void FixedCardReplay::SaveAccountLines(int32_t oldAlter, int32_t fundVersion) {
    int32_t order = 0;
    for (int increase : {0, 1}) {
        RecordsetPtr rs = OpenRecordset(AccountLines(std::to_string(oldAlter), increase), 0, 1);
        for (; !rs->eof(); rs->moveNext()) {
            clsAMAssetFundAccAlter line;
            line.lngAMAssetFundAlterID = fundVersion;
            line.lngAccountID = Int(rs, "lngAccountID");
            line.lngDepartmentID = Int(rs, "lngDepartmentID");
            line.strFlexibleID = Text(rs, "strFlexibleID");
            line.lngOrderNo = ++order;
            line.dblRate = Number(rs, "dblRate");
            line.dblQuotiety = 1;
            line.blnDepreIncrease = static_cast<int16_t>(increase);
            Require(line.SaveCard() != 0, "费用科目 " + card_.strAMAssetCode.str());
        }
        CloseRecordset(rs);
    }
}

void FixedCardReplay::Remember(const RecordsetPtr& rs) {
    std::string errorText;
    Require(ExecuteSql("Insert Into [NewUser]FixAlterID_Temp Values (" +
                           Text(rs, "lngFixedAlterID") + ", " + Text(rs, "lngFixedCardID") + ", " +
                           std::to_string(saved_.asset) + ", " + std::to_string(saved_.version) +
                           ", " + std::to_string(saved_.fundVersion) + ", " +
                           std::to_string(card_.intYear * 100 + card_.bytPeriod) + ")",
                       errorText),
            errorText);
}

}  // namespace tk::am
