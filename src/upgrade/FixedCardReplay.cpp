// The card replay: old alterations read in order into card and funding-source objects, written
// a thousand cards at a time, with the map from old alterations to new versions kept.
#include "upgrade/FixedCardReplay.hpp"

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/RowRefusal.hpp"
#include "frame/RowSet.hpp"
#include "frame/Statistics.hpp"
#include "frame/SystemTemplates.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundCostAlter.hpp"
#include "host/RunTimeError.hpp"
#include "upgrade/UpgradeSteps.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

constexpr int16_t kSaved = 2;
constexpr int32_t kWorkload = 3;
// Cards written together; a batch's rows fit one statement per table.
constexpr size_t kCardsAtOnce = 1000;
constexpr std::string_view kRememberedColumns[] = {"lngFixedAlterID",       "lngFixedCardID",
                                                   "lngAMAssetID",          "lngAMAssetAlterID",
                                                   "lngAMAssetFundAlterID", "intYearPeriod"};
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
    "And fc.lngAssetID = a.lngAssetID(+) \r\nAnd fa.bytAlterType <> 4 \r\n"
    "Order by fc.lngFixedCardID, fa.intYear, fa.bytPeriod, fa.lngFixedAlterID";

// Only the alterations that become versions, not the periods' depreciation.
const char* const kOfVersions =
    " And Exists(Select 1 From [OldUser]FixedAlter x Where x.lngFixedAlterID ="
    " {0}.lngFixedAlterID And x.bytAlterType <> 4)";

// The lines of every alteration; a line without department is spread over
// the alteration's department shares.
std::string AccountLines() {
    return " SELECT fa.lngFixedAlterID, fa.lngAccountID, fa.lngDepartmentID, fa.dblRate,"
           " fa.strFlexibleID, fa.blnDepreincrease FROM [OldUser]FixedAccount fa"
           " WHERE fa.lngDepartmentID > 0" +
           FormatTemplate(kOfVersions, {"fa"}) +
           " UNION SELECT fa.lngFixedAlterID, fa.lngAccountID, fd.lngDepartmentID,"
           " fd.dblRate * fa.dblRate / 100 As dblRate, fa.strFlexibleID, fa.blnDepreincrease"
           " FROM [OldUser]FixedDepartment fd, [OldUser]FixedAccount fa"
           " WHERE fd.lngFixedAlterID = fa.lngFixedAlterID AND fa.lngDepartmentID = 0"
           " AND fd.lngDepartmentID > 0" +
           FormatTemplate(kOfVersions, {"fa"}) + " Order By 1, 6, 4, 3";
}

int32_t Int(const RecordsetPtr& rs, const char* column) { return rs->field(column).toInt32(); }
double Number(const RecordsetPtr& rs, const char* column) { return ToDouble(rs->field(column)); }
std::string Text(const RecordsetPtr& rs, const char* column) { return rs->field(column).toText(); }

void Require(bool saved, const std::string& what) {
    if (!saved) throw RunTimeError(errors::kDatabase, "升级固定资产卡片和变动数据！" + what);
}

// The receipt type and system template of a version by its kind.
std::pair<int32_t, int32_t> DocumentOf(int16_t alterType, bool initial) {
    const int16_t receiptType = SystemTemplates::receiptTypeOf(alterType, initial);
    return {receiptType, SystemTemplates::ofReceiptType(receiptType)};
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

[[noreturn]] void Refuse(const std::string& what, const clsAMAssetCard& card,
                         const RowRefusal& refusal) {
    throw RunTimeError(errors::kDatabase, "升级固定资产卡片和变动数据！" + what +
                                              card.strAMAssetCode.str() + " " +
                                              refusal.description());
}

// The only funding source of a written version.
clsAMAssetFund FundOf(const clsAMAssetCard& card, const std::vector<int32_t>& accounts,
                      int32_t relativeAccount) {
    clsAMAssetFund fund;
    fund.Mode = card.Mode;
    fund.lngAMAssetID = card.lngAMAssetID;
    fund.lngAMFundID = kOwnFund;
    fund.lngAMAssetAlterID = card.lngAMAssetAlterID;
    fund.lngReceiptTypeID = card.lngReceiptTypeID;
    fund.bytAlterType = card.bytAlterType;
    fund.intYear = card.intYear;
    fund.bytPeriod = card.bytPeriod;
    fund.strDate = card.strDate.str();
    fund.blnIsInit = card.blnIsInit;
    fund.lngOperatorID = card.lngOperatorID;
    fund.lngOrganizationID = card.lngOrganizationID;
    fund.lngVoucherID = card.lngVoucherID;
    fund.bytStatus = card.bytStatus;
    CopyFigures(card, fund);
    for (size_t i = 0; i < std::size(kCardAccounts); ++i)
        fund.*kCardAccounts[i].first = accounts[i];
    // the way's own account: where an addition was paid from, a decrease went to
    (card.bytAlterType == atDec ? fund.lngOutAccountID : fund.lngPayAccountID) = relativeAccount;
    fund.strAccountStr = card.strAccountStr.str();
    fund.strDepartmentStr = card.strDepartmentStr.str();
    fund.strCurrencyStr = card.strCurrencyStr.str();
    return fund;
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
    LoadLines();
    RecordsetPtr rs = OpenRecordset(kSource, 0, 1);
    for (; !rs->eof(); rs->moveNext()) ReplayRow(rs);
    CloseRecordset(rs);
    WriteBatch();
    // what follows looks a card's versions up by card and period, and joins
    // the cards' descriptions by version: planned without statistics for the
    // table just filled, that join read the whole table for every version
    Require(ExecuteSql("Create Index FixAlterID_Temp_IX On [NewUser]FixAlterID_Temp"
                       " (lngFixedCardID, intYearPeriod)",
                       errorText),
            errorText);
    RefreshStatistics(context().NewUser, {"FixAlterID_Temp", "AMAsset", "AMAssetAlter"});
}

// A version's department is the one with the largest share.
void FixedCardReplay::LoadLines() {
    RecordsetPtr rs = OpenRecordset(
        "Select fd.lngFixedAlterID, fd.lngDepartmentID From [OldUser]FixedDepartment fd"
        " Where 1 = 1" +
            FormatTemplate(kOfVersions, {"fd"}) +
            " Order By fd.lngFixedAlterID, fd.dblRate Desc, fd.lngFixedDepartmentID",
        0, 1);
    for (; !rs->eof(); rs->moveNext())
        mainDepartments_.try_emplace(Int(rs, "lngFixedAlterID"), Int(rs, "lngDepartmentID"));
    CloseRecordset(rs);
    rs = OpenRecordset("SELECT * FROM [OldUser]FixedCost fc Where 1 = 1" +
                           FormatTemplate(kOfVersions, {"fc"}) +
                           " Order By fc.lngFixedAlterID, fc.lngFixedCostID",
                       0, 1);
    for (; !rs->eof(); rs->moveNext())
        costLines_[Int(rs, "lngFixedAlterID")].push_back(
            {Int(rs, "lngCurrencyID"), Number(rs, "dblRate"), Number(rs, "dblCurrAmount"),
             Number(rs, "dblAmount")});
    CloseRecordset(rs);
    rs = OpenRecordset(AccountLines(), 0, 1);
    for (; !rs->eof(); rs->moveNext())
        accountLines_[Int(rs, "lngFixedAlterID")].push_back(
            {Int(rs, "lngAccountID"), Int(rs, "lngDepartmentID"), Text(rs, "strFlexibleID"),
             Number(rs, "dblRate"), static_cast<int16_t>(Int(rs, "blnDepreincrease"))});
    CloseRecordset(rs);
}

void FixedCardReplay::LoadTemplates() {
    RecordsetPtr rs = OpenRecordset("Select * From [NewUser]Template Where lngSysTemplateID IN (" +
                                        SystemTemplates::idList() + ") Order by lngTemplateID ",
                                    3, 1);
    for (; !rs->eof(); rs->moveNext())
        templates_.try_emplace(Int(rs, "lngSysTemplateID"), Int(rs, "lngTemplateID"));
    CloseRecordset(rs);
}

void FixedCardReplay::ReplayRow(const RecordsetPtr& rs) {
    bool first = Int(rs, "lngFixedCardID") != currentCard_;
    if (first) {
        if (batchCards_ == kCardsAtOnce) WriteBatch();
        ++batchCards_;
        currentCard_ = Int(rs, "lngFixedCardID");
        card_ = clsAMAssetCard();
        update_.ReportProgress(
            "升级固定资产卡片, " + Text(rs, "strFixedCode") + " " + Text(rs, "strFixedName"),
            false);
    }
    FillCard(rs, first);
    card_.lngDepartmentID = mainDepartments_[Int(rs, "lngFixedAlterID")];
    versions_.push_back(card_);
    Source source{
        Int(rs, "lngFixedAlterID"), Int(rs, "lngFixedCardID"), Int(rs, "lngRelativeAccountID"), {}};
    for (auto [account, column] : kCardAccounts) source.accounts.push_back(Int(rs, column));
    sources_.push_back(std::move(source));
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

void FixedCardReplay::WriteBatch() {
    if (versions_.empty()) return;
    WriteCards();
    const std::vector<clsAMAssetFund> funds = WriteFunds();
    WriteLines(funds);
    Remember(funds);
    versions_.clear();
    sources_.clear();
    batchCards_ = 0;
}

void FixedCardReplay::WriteCards() {
    try {
        clsAMAssetCard::AddAll(versions_);
    } catch (const RowRefusal& refusal) {
        Refuse("", versions_[refusal.index()], refusal);
    }
}

std::vector<clsAMAssetFund> FixedCardReplay::WriteFunds() {
    std::vector<clsAMAssetFund> funds;
    for (size_t i = 0; i < versions_.size(); ++i)
        funds.push_back(FundOf(versions_[i], sources_[i].accounts, sources_[i].relativeAccount));
    try {
        clsAMAssetFund::AddAll(funds);
    } catch (const RowRefusal& refusal) {
        Refuse("资金来源 ", versions_[refusal.index()], refusal);
    }
    return funds;
}

void FixedCardReplay::WriteLines(const std::vector<clsAMAssetFund>& funds) {
    std::vector<clsAMAssetFundCostAlter> costs;
    std::vector<clsAMAssetFundAccAlter> accounts;
    for (size_t i = 0; i < funds.size(); ++i) {
        AddCostLines(i, funds[i].lngAMAssetFundAlterID, costs);
        AddAccountLines(i, funds[i].lngAMAssetFundAlterID, accounts);
    }
    clsAMAssetFundCostAlter::AddAll(std::span(costs));
    clsAMAssetFundAccAlter::AddAll(std::span(accounts));
}

void FixedCardReplay::AddCostLines(size_t version, int32_t fundVersion,
                                   std::vector<clsAMAssetFundCostAlter>& lines) {
    for (const CostLine& cost : costLines_[sources_[version].oldAlter]) {
        clsAMAssetFundCostAlter& line = lines.emplace_back();
        line.lngAMAssetFundAlterID = fundVersion;
        line.lngAMAssetMethodID = versions_[version].lngAMAssetMethodID;
        line.lngAccountID = sources_[version].relativeAccount;
        line.lngCurrencyID = cost.currency;
        line.dblRate = cost.rate;
        line.dblCurrAmount = cost.currAmount;
        line.dblAmount = cost.amount;
    }
}

void FixedCardReplay::AddAccountLines(size_t version, int32_t fundVersion,
                                      std::vector<clsAMAssetFundAccAlter>& lines) {
    int32_t order = 0;
    for (const AccountLine& account : accountLines_[sources_[version].oldAlter]) {
        clsAMAssetFundAccAlter& line = lines.emplace_back();
        line.lngAMAssetFundAlterID = fundVersion;
        line.lngAccountID = account.account;
        line.lngDepartmentID = account.department;
        line.strFlexibleID = account.flexibleID;
        line.lngOrderNo = ++order;
        line.dblRate = account.rate;
        line.dblQuotiety = 1;
        line.blnDepreIncrease = account.increase;
    }
}

// Which old alteration became which version.
void FixedCardReplay::Remember(const std::vector<clsAMAssetFund>& funds) {
    RowSet rows(kRememberedColumns);
    for (size_t i = 0; i < funds.size(); ++i) {
        const clsAMAssetCard& card = versions_[i];
        rows.addValues({std::to_string(sources_[i].oldAlter), std::to_string(sources_[i].oldCard),
                        std::to_string(card.lngAMAssetID), std::to_string(card.lngAMAssetAlterID),
                        std::to_string(funds[i].lngAMAssetFundAlterID),
                        std::to_string(card.intYear * 100 + card.bytPeriod)});
    }
    rows.insertInto("FixAlterID_Temp");
}

}  // namespace tk::am
