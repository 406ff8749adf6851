// Opening records from the old set's closing figures: alterations, cards, funding sources, cost
// and account lines and schedules carried on, then the organisation recalculated and reposted.
#include "carryforward/TurnOpeningRecords.hpp"

#include <memory>
#include <utility>
#include <vector>

#include "carryforward/PlannerSetting.hpp"
#include "carryforward/TurnSourceJournal.hpp"
#include "depreciation/clsAMAssetDaily.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/Currency.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/Statistics.hpp"
#include "frame/SystemTemplates.hpp"
#include "frame/TableCopier.hpp"

namespace tk::am {
namespace {

constexpr int16_t kTurnReceiptType = SystemTemplates::kOpeningType;

// A statement in PostgreSQL's own dialect: an organisation-wide update from an
// aggregate, which Oracle's dialect can only write as a subquery per row.
bool Native(const std::string& sql) {
    RunNative(sql);
    return true;
}

// For an organisation-wide statement, whose joins are better hashed than
// looked up row by row: over tables written a moment ago the estimates often
// say a handful of rows and pick the lookups. Not for a statement with a join
// inside a subquery it runs per row, which would then hash whole tables each time.
PlannerSetting HashedJoins() { return PlannerSetting("enable_nestloop", "off"); }

bool ExecuteAll(const std::vector<std::string>& statements) {
    for (const std::string& sql : statements)
        if (!ExecuteSql(sql)) return false;
    return true;
}

using Columns = std::vector<std::pair<std::string, std::string>>;

// "Insert Into target (c1,...) Select e1,... From source": the columns named
// with the value each takes; an empty value copies the source's column.
std::string InsertSelect(const std::string& target, const Columns& columns) {
    std::string names, values;
    for (const auto& [column, value] : columns) {
        names += (names.empty() ? "" : ",") + column;
        values += (values.empty() ? "" : ",") + (value.empty() ? "ama2." + column : value);
    }
    return "Insert Into " + target + " (" + names + ") Select " + values;
}

std::string Text(const std::string& value) { return "'" + value + "'"; }

// The change flags of an opening alteration, each with the table whose rows
// of the asset it stands for: cleared where the asset has none.
const std::pair<const char*, const char*> kRecordFlags[] = {{"blnLabelAlter", "AMAssetLabel"},
                                                            {"blnAuxAlter", "AMAssetAux"},
                                                            {"blnPicAlter", "AMAssetImage"},
                                                            {"blnDocAlter", "AMAssetDocument"},
                                                            {"blnOtherAlter", "AMAssetOther"}};

// The opening alteration's amounts, each with the summary's total it takes.
const std::pair<const char*, const char*> kOpeningTotals[] = {
    {"dblAmount", "dblTotalAmount"},
    {"dblDepreciation", "dblTotalDeprection"},
    {"dblDecAmount", "dblTotalDecAmount"},
    {"dblNetworth", "dblTotalNetWorth"}};

// Expected life in periods, or work on the workload method, from the summary "fd".
std::string UsageFromSummary(const std::string& alias) {
    return "CASE WHEN " + alias + ".bytDepreciationMethod = 3 THEN fd.dblTotalWorks WHEN " + alias +
           ".bytDepreciationMethod <> 3 THEN fd.intTotalPeriods ELSE " + alias + ".dblUseage END";
}

std::string AssetHasRowIn(const std::string& table, const std::string& alias) {
    return "Exists (Select 1 From [NewUser]" + table + " ata Where ata.lngAMAssetID = " + alias +
           ".lngAMAssetID)";
}

// Two-decimal texts of two amounts differ.
bool Differ(double a, double b) { return FormatNumber(a - b, "0.00") != FormatNumber(0, "0.00"); }

double Number(const RecordsetPtr& rs, const char* column) { return ToDouble(rs->field(column)); }

}  // namespace

int32_t TurnOpeningRecords::GetSysTemplateID(int16_t receiptType) {
    const int32_t systemID = SystemTemplates::ofReceiptType(receiptType);
    RecordsetPtr rs = OpenRecordset(
        " Select lngTemplateID From [NewUser]Template Where lngReceiptTypeID In(48,49,50,51,53)"
        " And lngSysTemplateID = " +
            std::to_string(systemID) + " Order by lngTemplateID",
        connect::adOpenStatic, connect::adLockReadOnly);
    int32_t templateID = IsRecordsetEmpty(rs) ? 0 : rs->field("lngTemplateID").toInt32();
    CloseRecordset(rs);
    return templateID;
}

// The opening records, in the order each needs what the one before wrote:
// the cards' opening alterations, the cards themselves, their amounts from
// the summary, the opening funding-source versions with their cost and
// account lines, the other cards and labels, the sources' running totals and
// the schedules carried on.
bool TurnOpeningRecords::BuildOpeningRecords() {
    if (!InsertInitialAlterations()) return false;
    // Each card's last alteration where the opening ones left it out (a
    // disposal, which the cards that go are found by); a card that has it
    // already needs none, so whether anything was copied does not matter.
    ExecuteSql(
        "Insert Into [NewUser]Amassetalter\r\n  Select *\r\n    From [OldUser]Amassetalter Ao\r\n"
        "   Where Ao.Lngamassetalterid In\r\n         (Select a.Lngamassetlastalterid\r\n"
        "            From [NewUser]Amasset a\r\n           Where Not Exists\r\n"
        "           (Select 1\r\n                    From [NewUser]Amassetalter Aa\r\n"
        "                   Where a.Lngamassetid = Aa.Lngamassetid\r\n"
        "                     And a.Lngamassetlastalterid = Aa.Lngamassetalterid))");
    // Only the tables written since the last refresh: the others' figures stand.
    RefreshStatistics(context().NewUser, {"AMAssetAlter"});
    if (!CardStatements() || !SummaryStatements() || !InsertInitialFundAlterations()) return false;
    RefreshStatistics(context().NewUser, {"AMAsset", "AMAssetAlter", "AMAssetFundAlter"});
    if (!FundStatements() || !OtherAndLabelStatements()) return false;
    UpdateFundOpeningAmounts();
    DropSourceJournal();
    return CarryScheduleBasis();
}

// Each opening funding-source version takes the schedule of the old set's
// last balance row of its source, so that the new set's first period goes on
// where the old set's forecast would: the same depreciation years, periods
// and remainders. The schedule runs on (it names the opening version) only
// where the old set itself would have carried it into the new first period:
// the opening version is the one it started on, or one that depreciates the
// same (no change of cost, impairment, residual value, accumulated
// depreciation, life, method or category since).
bool TurnOpeningRecords::CarryScheduleBasis() {
    PlannerSetting hashed = HashedJoins();
    const std::string org = scope_.org();
    const std::string sameBasis =
        "b.lngBasisAlterID = a.lngAMAssetInitAlterID Or (Exists(Select 1 From "
        "[OldUser]AMAssetAlter x, [OldUser]AMAssetAlter y Where x.lngAMAssetAlterID = "
        "b.lngBasisAlterID And y.lngAMAssetAlterID = a.lngAMAssetInitAlterID And x.dblAmount = "
        "y.dblAmount And x.dblDecAmount = y.dblDecAmount And x.dblNetworth = y.dblNetworth And "
        "x.dblDepreciation = y.dblDepreciation And x.dblUseage = y.dblUseage And "
        "x.bytDepreciationMethod = y.bytDepreciationMethod And x.lngAMAssetTypeID = "
        "y.lngAMAssetTypeID) And Not Exists(Select 1 From [OldUser]AMAssetFundAlter y Where "
        "y.lngAMAssetID = b.lngAMAssetID And y.lngAMAssetAlterID > b.lngBasisAlterID And "
        "y.lngAMAssetAlterID <= a.lngAMAssetInitAlterID And y.dblDepreciationAlter + "
        "y.dblTransferDepreciationAlter <> 0))";
    return ExecuteSql(
               "Insert Into [NewUser]AMAssetFundBasis (lngAMAssetFundAlterID, lngAMAssetID, "
               "lngAMFundID, "
               "lngOrganizationID, dblInitDepreciation, intInitPeriods, dblInitWork, "
               "lngBasisAlterID, "
               "bytBasisMethod, dblBasisBook, dblBasisAmount, dblBasisLife, intBasisPeriods, "
               "dblBasisWork, dblBasisDepreciation, dblBasisShare, blnBasisRemainder, "
               "dblBasisWeight, "
               "dblBasisWeights) Select fa.lngAMAssetFundAlterID, fa.lngAMAssetID, fa.lngAMFundID, "
               "fa.lngOrganizationID, fa.dblDepreciation, Round(a.dblStartUsage), a.dblStartWork, "
               "Case When b.lngBasisAlterID <> 0 And (" +
               sameBasis +
               ") Then a.lngAMAssetInitAlterID Else 0 End, b.bytBasisMethod, b.dblBasisBook, "
               "b.dblBasisAmount, b.dblBasisLife, b.intBasisPeriods, b.dblBasisWork, "
               "b.dblBasisDepreciation, b.dblBasisShare, b.blnBasisRemainder, b.dblBasisWeight, "
               "b.dblBasisWeights From [NewUser]AMAssetFundAlter fa, [NewUser]AMAsset a, "
               "[OldUser]AMAssetFundBalance b Where fa.blnIsInit = 1 And fa.lngOrganizationID = " +
               org +
               " And a.lngAMAssetID = fa.lngAMAssetID And a.lngAMAssetInitAlterID = "
               "fa.lngAMAssetAlterID And b.lngAMAssetID = fa.lngAMAssetID And b.lngAMFundID = "
               "fa.lngAMFundID And b.lngOrganizationID = " +
               org + " And b.intYear = " + std::to_string(scope_.prevYear) +
               " And b.bytPeriod = " + std::to_string(scope_.prevPeriod)) &&
           ReanchorLaterBalances();
}

// Periods the old set had closed past the carry-forward date came over with
// the later balances, their schedules running on card versions the new set
// does not hold. Where the opening version carries such a schedule on, they
// run on it, as the opening records do, so that the latest of them, written
// again, continues it.
bool TurnOpeningRecords::ReanchorLaterBalances() {
    for (const char* table : {"AMAssetFundBalance", "AMAssetFundBalanceEx"})
        if (!Native(
                std::string("UPDATE [NewUser]") + table +
                " b SET lngBasisAlterID = fb.lngBasisAlterID FROM [NewUser]AMAssetFundBasis fb "
                "WHERE fb.lngAMAssetID = b.lngAMAssetID AND fb.lngAMFundID = b.lngAMFundID AND "
                "fb.lngBasisAlterID <> 0 AND b.lngBasisAlterID <> 0 AND b.lngOrganizationID = " +
                scope_.org() +
                " AND NOT EXISTS (SELECT 1 FROM [NewUser]AMAssetAlter v WHERE "
                "v.lngAMAssetAlterID = b.lngBasisAlterID)"))
            return false;
    return true;
}

bool TurnOpeningRecords::InsertInitialAlterations() {
    PlannerSetting hashed = HashedJoins();
    const std::string org = scope_.org(), tmpl = std::to_string(GetSysTemplateID(kTurnReceiptType));
    Columns columns;
    for (const char* copied : {"lngAMAssetAlterID",
                               "lngAMAssetID",
                               "strReceiptNO",
                               "lngReceiptNO",
                               "strAMAssetNationalCode",
                               "strAMAssetCardCode",
                               "strAMAssetCode",
                               "strAMAssetName",
                               "lngAMAssetTypeID",
                               "lngAMAssetNationalTypeID",
                               "lngAMAssetMethodID",
                               "lngDepartmentID",
                               "lngCustomerID",
                               "lngClassID1",
                               "lngClassID2",
                               "strWorkUnit",
                               "bytAssetState",
                               "bytDepreciationMethod",
                               "bytDepreciationFactor",
                               "bytAccumulationFactor",
                               "blnIsDepreciationAll",
                               "strDepartmentStr",
                               "strAccountStr",
                               "strRelativeAccountStr",
                               "strCurrencyStr",
                               "lngUnitID",
                               "dblQuantity",
                               "dblQuantityAlter",
                               "blnIsPrint",
                               "blnIsPrinted",
                               "blnIsVoid",
                               "lngOperatorID",
                               "lngCheckerID",
                               "strErrorMsg",
                               "strDescription",
                               "strNotes",
                               "lngOrganizationID",
                               "lngAMManagerTypeID",
                               "strFlexibleID"})
        columns.emplace_back(copied, "");
    columns.insert(columns.end(), {{"lngTemplateID",
                                    "CASE WHEN ama2.blnIsInit = 1 THEN "
                                    "ama2.lngTemplateID ELSE " +
                                        tmpl + " END"},
                                   {"lngReceiptTypeID", std::to_string(kTurnReceiptType)},
                                   {"intYear", std::to_string(scope_.newYear)},
                                   {"bytPeriod", std::to_string(scope_.newPeriod)},
                                   {"strDate", Text(scope_.prevDay())}});
    // Life or work and the opening amounts come with the row where the summary
    // has the asset, as the summary statements would write them.
    const std::string inSummary = "CASE WHEN fd.lngAMAssetID IS NULL THEN ";
    columns.emplace_back("dblUseage",
                         inSummary + "ama2.dblUseage ELSE " + UsageFromSummary("ama2") + " END");
    for (const auto& [column, total] : kOpeningTotals)
        columns.emplace_back(column, inSummary + "0 ELSE fd." + total + " END");
    for (const char* zero :
         {"dblAmountAlter", "dblDepreciationAlter", "dblNetworthAlter", "dblDecAmountAlter",
          "dblUsageAlter", "blnIsVoucher", "lngVoucherID", "lngAMAssetRecentAlterID"})
        columns.emplace_back(zero, "0");
    for (const char* one : {"bytAlterType", "blnBaseAlter", "blnFinanceAlter", "blnIsInit"})
        columns.emplace_back(one, "1");
    // Written as the flag statements leave them, rather than set and cleared again.
    for (const auto& [flag, table] : kRecordFlags)
        columns.emplace_back(flag,
                             "Case When " + AssetHasRowIn(table, "ama2") + " Then 1 Else 0 End");
    columns.emplace_back("bytStatus", "2");
    return Native(
        InsertSelect("[NewUser]AMAssetAlter", columns) +
        " From [OldUser]AMAssetAlter ama2 LEFT JOIN " + summary_ +
        " fd ON fd.lngAMAssetID = ama2.lngAMAssetID Where ama2.bytAlterType <> 2 And Exists ( "
        "Select 1 From "
        "(Select ama.lngAMAssetID,Max(ama.lngAMAssetAlterID) As lngMinID From "
        "[OldUser]AMAssetAlter ama Where ama.lngOrganizationID = " +
        org + " And ama.intYear * 100 + ama.bytPeriod < " + scope_.yp() +
        " Group By ama.lngAMAssetID) ama1 Where ama1.lngAMAssetID = ama2.lngAMAssetID And "
        "ama1.lngMinID = ama2.lngAMAssetAlterID And ama2.lngOrganizationID = " +
        org + ")");
}

// The cards: each names its opening alteration; the change flags say which
// records it has; cards without alterations, and those disposed of before
// the new first period, go with their alterations; a card without a start
// date takes its first one's; the start usage comes from the old journal.
bool TurnOpeningRecords::CardStatements() {
    const std::string org = scope_.org(), yp = scope_.yp();
    const std::string initialOfOrg =
        " From [NewUser]AMAssetAlter ata Where ata.lngAMAssetID = amt.lngAMAssetID And "
        "ata.blnIsInit = 1 And ata.lngOrganizationID = " +
        org;
    // A card whose opening alteration is the one it names already is left
    // as it is, rather than rewritten with the same value.
    std::vector<std::string> statements = {
        " Update [NewUser]AMAsset amt Set amt.lngAMAssetInitAlterID = (Select "
        "ata.lngAMAssetAlterID" +
            initialOfOrg + ") Where Exists (Select 1" + initialOfOrg +
            ") And Not Exists (Select 1" + initialOfOrg +
            " And ata.lngAMAssetAlterID = amt.lngAMAssetInitAlterID)",
        ClearedFlags()};
    const std::string oldInitial =
        " Select aat.strDate From [OldUser]AMAsset amt, [OldUser]AMAssetAlter aat  Where "
        "amt.lngAMAssetInitAlterID = aat.lngAMAssetAlterID And amt.lngAMAssetID = "
        "amat.lngAMAssetID And aat.lngOrganizationID = " +
        org + " And aat.intYear * 100 + aat.bytPeriod < " + yp + ")";
    statements.insert(
        statements.end(),
        {" Delete From [NewUser]AMAsset afd Where Not Exists(Select 1 From [NewUser]AMAssetAlter "
         "afa Where afa.lngAMAssetID = afd.lngAMAssetID) And afd.lngOrganizationID = " +
             org,
         " Delete From [NewUser]AMAsset afd Where Exists(Select 1 From [NewUser]AMAssetAlter afa "
         "Where afa.lngAMAssetID = afd.lngAMAssetID And "
         "afa.lngAMAssetAlterID=afd.lngAMAssetLastAlterID And afa.bytAlterType=2 And afa.intYear "
         "* 100 + afa.bytPeriod < " +
             yp + " And afa.lngOrganizationID = " + org + ") And afd.lngOrganizationID = " + org,
         " Delete From [NewUser]AMAssetAlter afd Where Not Exists(Select 1 From [NewUser]AMAsset "
         "afa Where afa.lngAMAssetID = afd.lngAMAssetID And afa.lngOrganizationID = " +
             org + ") And afd.lngOrganizationID = " + org,
         " Update [NewUser]AMAsset amat Set amat.strStartDate = (" + oldInitial +
             " Where trim(amat.strStartDate) is null And Exists (" + oldInitial});
    // The creation date of the cards that open, and their receipt references,
    // are written with the references of every card of the organisation, in
    // one pass over the cards, with the label statements.
    return ExecuteAll(statements) && StartUsage();
}

// Each change flag cleared on the organisation's
// alterations of an asset with an opening alteration and no rows of the
// flag's kind. The opening alterations were written so; only the rows the
// statements would change are rewritten.
std::string TurnOpeningRecords::ClearedFlags() const {
    const std::string org = scope_.org();
    std::string set, changes;
    for (const auto& [flag, table] : kRecordFlags) {
        const std::string cleared = "Not " + AssetHasRowIn(table, "amt");
        set += std::string(set.empty() ? "" : ", ") + "amt." + flag + " = Case When " + cleared +
               " Then 0 Else amt." + flag + " End";
        changes += std::string(changes.empty() ? "" : " Or ") + "(Nvl(amt." + flag +
                   ", 1) <> 0 And " + cleared + ")";
    }
    return " Update [NewUser]AMAssetAlter amt Set " + set +
           " Where Exists (Select 1 From [NewUser]AMAssetAlter ata Where ata.lngAMAssetID = "
           "amt.lngAMAssetID And ata.blnIsInit = 1 And ata.lngOrganizationID = " +
           org + ") And amt.lngOrganizationID = " + org + " And (" + changes + ")";
}

// Start usage, in one pass over the old journal: a card's start
// usage is what its journal there used, per period the largest of its
// sources, summed over the periods; in periods (dblStartUsage) where its
// opening alteration is on a method other than workload, in work
// (dblStartWork) where it is on workload.
bool TurnOpeningRecords::StartUsage() {
    PlannerSetting hashed = HashedJoins();
    const std::string org = scope_.org(), yp = scope_.yp();
    return Native(
        "UPDATE [NewUser]AMAsset amt SET dblStartUsage = CASE WHEN i.periods THEN s.periods ELSE "
        "amt.dblStartUsage END, dblStartWork = CASE WHEN i.work THEN s.work ELSE amt.dblStartWork "
        "END FROM (SELECT x.lngAMAssetID, COALESCE(sum(x.periods), 0) AS periods, "
        "COALESCE(sum(x.work), 0) AS work, bool_or(x.ofOrg) AS ofOrg FROM (SELECT d.lngAMAssetID, "
        "max(d.intPeriods) AS periods, max(d.dblWork) AS work, bool_or(d.lngOrganizationID = " +
        org + ") AS ofOrg FROM [OldUser]AMAssetFundDaily d WHERE d.YearPeriod < " + yp +
        " GROUP BY d.lngAMAssetID, d.YearPeriod) x GROUP BY x.lngAMAssetID) s, (SELECT "
        "a1.lngAMAssetID, bool_or(a1.bytDepreciationMethod <> 3) AS periods, "
        "bool_or(a1.bytDepreciationMethod = 3) AS work FROM [NewUser]AMAssetAlter a1 WHERE "
        "a1.blnIsInit = 1 AND a1.lngOrganizationID = " +
        org +
        " GROUP BY a1.lngAMAssetID) i WHERE s.lngAMAssetID = amt.lngAMAssetID AND s.ofOrg AND "
        "i.lngAMAssetID = amt.lngAMAssetID AND (i.periods OR i.work)");
}

// Life or work and the opening amounts from the summary, written onto each
// opening alteration in one pass; then every alteration of the organisation
// is marked as carried forward ("[结转]").
bool TurnOpeningRecords::SummaryStatements() {
    const std::string org = scope_.org();
    const std::string usage = UsageFromSummary("amt");
    std::string set = "dblUseage = " + usage, changes = "amt.dblUseage IS DISTINCT FROM " + usage;
    for (const auto& [column, total] : kOpeningTotals) {
        set += std::string(", ") + column + " = fd." + total;
        changes += std::string(" OR amt.") + column + " IS DISTINCT FROM fd." + total;
    }
    // The opening alterations were written with these values: only rows
    // that would change are rewritten.
    return Native("UPDATE [NewUser]AMAssetAlter amt SET " + set + " FROM " + summary_ +
                  " fd WHERE fd.lngAMAssetID = amt.lngAMAssetID AND amt.blnIsInit = 1 AND "
                  "amt.lngOrganizationID = " +
                  org + " AND (" + changes + ")") &&
           ExecuteSql(
               " Update [NewUser]AMAssetAlter amt Set amt.strDescription = '[结转]' || "
               "amt.strDescription Where amt.lngOrganizationID = " +
               org);
}

bool TurnOpeningRecords::InsertInitialFundAlterations() {
    PlannerSetting hashed = HashedJoins();
    const std::string org = scope_.org();
    Columns columns;
    auto add = [&](std::initializer_list<const char*> names, const std::string& value) {
        for (const char* name : names) columns.emplace_back(name, value);
    };
    add({"lngAMAssetFundAlterID", "lngAMAssetAlterID", "lngAMAssetID", "lngAMFundID"}, "");
    add({"lngReceiptTypeID"}, std::to_string(kTurnReceiptType));
    add({"intYear"}, std::to_string(scope_.newYear));
    add({"bytPeriod"}, std::to_string(scope_.newPeriod));
    add({"strDate"}, Text(scope_.prevDay()));
    add({"strReceiptNO", "lngReceiptNO"}, "");
    // The opening amounts come with the row: summed from the source's journal
    // in the old set where it has one, else zero cost and depreciation.
    add({"dblAmount"}, "COALESCE(s.a, 0)");
    add({"dblDepreciation"}, "COALESCE(s.d, 0)");
    add({"dblNetworth"}, "CASE WHEN s.lngAMAssetID IS NULL THEN ama2.dblNetworth ELSE s.n END");
    add({"dblDecAmount"}, "CASE WHEN s.lngAMAssetID IS NULL THEN ama2.dblDecAmount ELSE s.i END");
    add({"dblAmountAlter", "dblDepreciationAlter", "dblNetworthAlter", "dblDecAmountAlter",
         "dblTransferAmountAlter", "dblTransferDepreciationAlter", "dblTransferDecAmountAlter"},
        "0");
    add({"bytAlterType"}, "1");
    add({"blnIsVoid"}, "");
    add({"blnIsInit"}, "1");
    add({"lngOperatorID"}, "");
    add({"lngVoucherID"}, "0");
    add({"lngAssetAccountID", "lngDepreciationAccountID", "lngDecAccountID", "lngOutAccountID",
         "lngPayAccountID", "lngFixUpAccountID", "lngSpecialAccountID", "lngAddToAccountID"},
        "");
    add({"lngAMAssetFundRecentAlterID", "lngAMAssetFundRelativeAlterID"}, "0");
    add({"strDepartmentStr", "strAccountStr", "strRelativeAccountStr", "strCurrencyStr"}, "");
    add({"bytStatus"}, "2");
    add({"strNotes", "lngOrganizationID"}, "");
    return Native(
        InsertSelect("[NewUser]AMAssetFundAlter", columns) +
        " From [OldUser]AMAssetFundAlter ama2 LEFT JOIN " + kSourceJournal +
        " s ON s.lngAMAssetID = ama2.lngAMAssetID AND s.lngAMFundID = ama2.lngAMFundID" +
        " Where ama2.bytAlterType <> 2 And ama2.lngOrganizationID = " + org +
        " And Exists ( Select 1 From (Select ama.lngAMAssetID,Max(ama.strDate) As strMinDate From "
        "[OldUser]AMAssetFundAlter ama Where ama.lngOrganizationID = " +
        org + " And ama.intYear * 100 + ama.bytPeriod < " + scope_.yp() +
        " Group By ama.lngAMAssetID) ama1 Where ama1.lngAMAssetID = ama2.lngAMAssetID And "
        "ama1.strMinDate = ama2.strDate) And Exists(Select 1 From [NewUser]AMAssetAlter aa Where "
        "aa.lngAMAssetAlterID = ama2.lngAMAssetAlterID And aa.lngOrganizationID = " +
        org + ")");
}

// The funding sources: each names its opening version, and those left
// without one, or without their card, go; the cost rows of the opening
// versions open on their amounts (UpdateFundOpeningAmounts corrects them),
// and their account lines come over as they were.
bool TurnOpeningRecords::FundStatements() {
    const std::string org = scope_.org();
    const std::string initialFund =
        " From [NewUser]AMAssetFundAlter ata Where ata.lngAMAssetID = amt.lngAMAssetID And "
        "ata.lngAMFundID = amt.lngAMFundID And ata.blnIsInit = 1 And ata.lngOrganizationID = " +
        org;
    auto missingFundAlter = [&](const char* column) {
        return std::string(
                   " Delete From [NewUser]AMAssetFund afd Where Not Exists(Select 1 From "
                   "[NewUser]AMAssetFundAlter afa Where afa.lngAMAssetFundAlterID = afd.") +
               column + " And afa.lngOrganizationID = " + org +
               ") And afd.lngAMAssetID In (Select lngAMAssetID From [NewUser]AMAsset Where "
               "lngOrganizationID = " +
               org + ")";
    };
    const std::string initialOf =
        " From [NewUser]AMAssetFundAlter ata Where ata.lngAMAssetFundAlterID = "
        "amt.lngAMAssetFundAlterID And ata.blnIsInit = 1 And ata.lngOrganizationID = " +
        org + ")";
    auto detailsOfNewFundAlters = [&](const char* table) {
        return ReplaceSchema(
            "Exists(Select 1 From [NewUser]AMAssetFundAlter afa Where afa.lngAMAssetFundAlterID = "
            "[OldUser]" +
            std::string(table) + ".lngAMAssetFundAlterID And afa.lngOrganizationID = " + org + ")");
    };
    std::string errorText;
    return ExecuteAll(
               {" Update [NewUser]AMAssetFund amt Set amt.lngAMAssetFundInitAlterID = (Select "
                "ata.lngAMAssetFundAlterID" +
                    initialFund + ") Where Exists (Select 1" + initialFund +
                    ") And Not Exists (Select 1" + initialFund +
                    " And ata.lngAMAssetFundAlterID = amt.lngAMAssetFundInitAlterID)",
                missingFundAlter("lngAMAssetFundInitAlterID"),
                missingFundAlter("lngAMAssetFundLastAlterID"),
                " Delete From [NewUser]AMAssetFund afd Where Not Exists(Select 1 From "
                "[NewUser]AMAsset afa Where afa.lngAMAssetID = afd.lngAMAssetID )"}) &&
           ResetSequence("AMAssetFundCostAlter", context().NewUser) &&
           CopyTable("AMAssetFundCostAlter", detailsOfNewFundAlters("AMAssetFundCostAlter"),
                     errorText) &&
           ExecuteSql(
               " Update [NewUser]AMAssetFundCostAlter amt Set (amt.dblCurrAmount, amt.dblAmount, "
               "amt.dblDepreciation, amt.dblDecAmount) = (Select ata.dblAmount, ata.dblAmount, "
               "ata.dblDepreciation, ata.dblDecAmount" +
               initialOf + " Where Exists (Select 1" + initialOf) &&
           CopyTable("AMAssetFundAccAlter", detailsOfNewFundAlters("AMAssetFundAccAlter"),
                     errorText);
}

// The other cards and labels open with records of the opening alterations,
// the ones left without an asset go, and the cards keep no reference to the
// old set's receipts.
bool TurnOpeningRecords::OtherAndLabelStatements() {
    const std::string org = scope_.org(), yp = scope_.yp();
    const std::string ofNewAlter =
        " And Exists(Select 1 From [NewUser]AMAssetAlter fa Where fa.lngAMAssetAlterID = "
        "ama2.lngAMAssetAlterID And fa.lngOrganizationID = " +
        org + ")";
    const std::string otherInitial =
        " From [NewUser]AMAssetOtherAlter ata, [NewUser]AMAssetAlter aa Where ata.lngAMAssetID = "
        "aa.lngAMAssetID And ata.lngAMAssetAlterID = aa.lngAMAssetAlterID And aa.blnIsInit = 1 "
        "And ata.lngAMAssetID = amt.lngAMAssetID)";
    const std::string labelInitial =
        " From [NewUser]AMAssetLabelAlter ata, [NewUser]AMAssetAlter aa Where aa.blnIsInit = 1 AND "
        "aa.lngAMAssetID = ata.lngAMAssetID AND aa.lngAMAssetAlterID = ata.lngAMAssetAlterID AND "
        "ata.bytAlterType = 1 AND ata.lngAMAssetLabelID = amt.lngAMAssetLabelID And "
        "ata.lngOrganizationID = " +
        org + ")";
    // The record's initial card version in the organisation, spelt as each
    // statement below spells it.
    auto initialAlterOfOrg = [&org](const char* where, const char* lastAnd) {
        return std::string(" From [NewUser]AMAssetAlter aa ") + where +
               " aa.blnIsInit = 1 AND aa.lngAMAssetID = ata.lngAMAssetID AND aa.lngAMAssetAlterID ="
               " ata.lngAMAssetAlterID " +
               lastAnd + " aa.lngOrganizationID = " + org + ")";
    };
    return ExecuteAll(
        {" Insert Into [NewUser]AMAssetOtherAlter Select * From [OldUser]AMAssetOtherAlter ama2 "
         "Where ama2.bytAlterType <> 2 And Exists ( Select 1 From (Select "
         "ama.lngAMAssetID,Max(ama.lngAMAssetOtherAlterID) As lngMinID From "
         "[OldUser]AMAssetOtherAlter ama Where ama.intYear * 100 + ama.bytPeriod < " +
             yp +
             " Group By ama.lngAMAssetID) ama1 Where ama1.lngAMAssetID = ama2.lngAMAssetID And "
             "ama1.lngMinID = ama2.lngAMAssetOtherAlterID)" +
             ofNewAlter,
         " Update [NewUser]AMAssetOtherAlter ata Set (ata.bytAlterType, ata.intYear, "
         "ata.bytPeriod, "
         "ata.strDate) = (SELECT aa.bytAlterType, aa.intYear, aa.bytPeriod, aa.strDate   From "
         "[NewUser]AMAssetAlter aa WHERE aa.blnIsInit = 1 AND aa.lngAMAssetID = ata.lngAMAssetID "
         "AND aa.lngAMAssetAlterID = ata.lngAMAssetAlterID)  Where Exists (Select 1" +
             initialAlterOfOrg("Where", "And"),
         " Update [NewUser]AMAssetOther amt Set amt.lngAMAssetOtherInitAlterID = (Select "
         "ata.lngAMAssetOtherAlterID" +
             otherInitial + " Where Exists (Select 1" + otherInitial +
             " And Exists(Select 1 From [NewUser]AMAsset a Where a.lngAMAssetID = amt.lngAMAssetID "
             "And a.lngOrganizationID = " +
             org + ")",
         " Delete From [NewUser]AMAssetOther afd Where Not Exists(Select 1 From [NewUser]AMAsset "
         "afa Where afa.lngAMAssetID = afd.lngAMAssetID )",
         " Insert Into [NewUser]AMAssetLabelAlter Select * From [OldUser]AMAssetLabelAlter ama2 "
         "Where ama2.bytAlterType <> 2 And Exists ( Select 1 From (Select "
         "ama.lngAMAssetLabelID,Max(ama.lngAMAssetLabelAlterID) As lngMinID From "
         "[OldUser]AMAssetLabelAlter ama Where ama.lngOrganizationID = " +
             org + " And ama.intYear * 100 + ama.bytPeriod < " + yp +
             " Group By ama.lngAMAssetLabelID) ama1 Where ama1.lngAMAssetLabelID = "
             "ama2.lngAMAssetLabelID And ama1.lngMinID = ama2.lngAMAssetLabelAlterID)" +
             ofNewAlter,
         " Update [NewUser]AMAssetLabelAlter ata Set (ata.bytAlterType, ata.intYear, "
         "ata.bytPeriod) "
         "= (SELECT aa.bytAlterType, aa.intYear, aa.bytPeriod  " +
             initialAlterOfOrg("WHERE", "AND") + "  Where Exists (Select 1" +
             initialAlterOfOrg("Where", "AND"),
         " Update [NewUser]AMAssetLabel amt Set amt.lngAMAssetLabelInitAlterID = (Select "
         "ata.lngAMAssetLabelAlterID" +
             labelInitial + " Where Exists (Select 1" + labelInitial,
         " Delete From [NewUser]AMAssetLabel afd Where Not Exists(Select 1 From [NewUser]AMAsset "
         "afa Where afa.lngAMAssetID = afd.lngAMAssetID And afa.lngOrganizationID = " +
             org + ") And afd.lngOrganizationID = " + org,
         " Delete From [NewUser]AMAssetLabelAlter afd Where Not Exists(Select 1 From "
         "[NewUser]AMAssetLabel afa Where afa.lngAMAssetLabelID = afd.lngAMAssetLabelID And "
         "afa.lngOrganizationID = " +
             org + ") And afd.lngOrganizationID = " + org,
         " Update [NewUser]AMAsset a Set a.lngRefReceiptTypeID=0, a.lngRefActivityDetailID=0, "
         "a.lngRefActivityVoucherID=0, a.strRefReceiptNO = ' ', a.strCreateDate = Case When "
         "Exists(Select 1 From [NewUser]AMAssetAlter aa Where aa.blnIsInit = 1 And "
         "aa.lngAMAssetID = a.lngAMAssetID And aa.lngAMAssetAlterID = a.lngAMAssetInitAlterID) "
         "Then '" +
             scope_.prevDay() + "' Else a.strCreateDate End Where a.lngOrganizationID = " + org,
         " Delete From [NewUser]AMAssetLabelCustom afd Where Not Exists(Select 1 From "
         "[NewUser]AMAssetLabel afa, [NewUser]AMasset a Where afa.lngAMAssetID = a.lngAMAssetID "
         "And afa.lngAMAssetLabelID = afd.lngAMAssetLabelID And a.lngOrganizationID = " +
             org +
             ") And afd.lngAMAssetLabelID In (Select lngAMAssetLabelID From [NewUser]AMAssetLabel "
             "Where lngOrganizationID = " +
             org + ")"});
}

// Each initial funding-source alteration takes the running totals of the old
// set's last daily row of its asset and source where they differ to the
// cent: the row last posted in the source's latest period, whichever source
// version it carries (an older release posted a change of the last month on
// the new version and the month's depreciation, after it, on the one before).
// Its cost rows take the same totals, and a cost row in a foreign currency
// its amount converted at its rate, to that currency's decimals. These
// corrections are not checked: an opening the journal cannot correct keeps
// the sums it opened with.
void TurnOpeningRecords::UpdateFundOpeningAmounts() {
    PlannerSetting hashed = HashedJoins();
    std::string query =
        "select fa.lngAmassetFundAlterID,\r\n"
        "       fa.dblAmount,fa.dblDepreciation,fa.dblDecAmount,fa.dblnetworth,\r\n"
        "       "
        "fd.dbltotalamount,fd.dbltotaldeprection,fd.dbltotaldecamount,fd.dbltotalnetworth,\r\n"
        "       "
        "fd.inttotalperiods,fd.dbltotalworks,fd.inttotaldepredperiods,fd.dbltotaldepredworks\r\n"
        "  from [OldUser]amassetfunddaily fd, [NewUser]AmassetFundAlter fa, {0} fl\r\n"
        " where fl.lngAMAssetID = fa.lngAMAssetID And fl.lngAMFundID = fa.lngAMFundID\r\n"
        "   And fa.blnIsInit = 1 And fa.lngOrganizationID = {1}\r\n"
        "   And fd.lngAMAssetFundDailyID = fl.lastDailyID\r\n"
        // Only the sources whose opening or cost figures differ from the
        // totals, or that have cost rows in another currency, need looking
        // at: one pass over the organisation instead of a query per source.
        "   And (fa.dblAmount <> fd.dblTotalAmount Or fa.dblDepreciation <> "
        "fd.dblTotalDeprection\r\n"
        "        Or fa.dblDecAmount <> fd.dblTotalDecAmount Or fa.dblNetworth <> "
        "fd.dblTotalNetWorth\r\n"
        "        Or Exists (Select 1 From [NewUser]AMAssetFundCostAlter c\r\n"
        "                    Where c.lngAMAssetFundAlterID = fa.lngAMAssetFundAlterID\r\n"
        "                      And (c.dblAmount <> fd.dblTotalAmount Or c.dblDepreciation <> "
        "fd.dblTotalDeprection\r\n"
        "                           Or c.dblDecAmount <> fd.dblTotalDecAmount\r\n"
        "                           Or c.lngCurrencyID Not In (Select b.lngCurrencyID From "
        "[OldUser]Business b))))";
    RecordsetPtr rs = OpenRecordset(FormatTemplate(query, {kSourceJournal, scope_.org()}),
                                    connect::adOpenStatic, connect::adLockReadOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const std::string id = rs->field("lngAMAssetFundAlterID").toText();
        const std::string where = " Where fa.blnIsInit = 1 And fa.lngAMAssetFundAlterID = " + id;
        for (const auto& [column, total] : std::vector<std::pair<const char*, const char*>>{
                 {"dblAmount", "dblTotalAmount"},
                 {"dblDepreciation", "dblTotalDeprection"},
                 {"dblDecAmount", "dblTotalDecAmount"},
                 {"dblnetworth", "dblTotalNetWorth"}})
            if (Differ(Number(rs, column), Number(rs, total)))
                ExecuteSql(" Update [NewUser]AMAssetFundAlter fa Set fa." + std::string(column) +
                           " = " + rs->field(total).toText() + where);
        UpdateCostRows(id, Number(rs, "dblTotalAmount"), Number(rs, "dblTotalDeprection"),
                       Number(rs, "dblTotalDecAmount"));
    }
    CloseRecordset(rs);
}

void TurnOpeningRecords::UpdateCostRows(const std::string& fundAlterID, double amount,
                                        double depreciation, double impairment) {
    RecordsetPtr rs = OpenRecordset(
        "Select * From [NewUser]AMAssetFundCostAlter fa Where fa.lngAMAssetFundAlterID = " +
            fundAlterID,
        connect::adOpenStatic, connect::adLockReadOnly);
    if (!IsRecordsetEmpty(rs)) {
        const std::string update = " Update [NewUser]AMAssetFundCostAlter fa Set fa.";
        const std::string where = " Where fa.lngAMAssetFundAlterID = " + fundAlterID;
        // Amounts as they are: the cost row's currency keeps its own decimals.
        auto text = [](double v) { return formatDouble(v); };
        const double converted = ConvertCurrencyAmount(
            rs->field("lngCurrencyID").toInt32(), Number(rs, "dblRate"), amount, context().OldUser);
        if (Differ(Number(rs, "dblAmount"), amount) || Number(rs, "dblCurrAmount") != converted)
            ExecuteSql(update + "dblAmount = " + text(amount) +
                       ",fa.dblCurrAmount = " + text(converted) + where);
        if (Differ(Number(rs, "dblDepreciation"), depreciation))
            ExecuteSql(update + "dblDepreciation = " + text(depreciation) + where);
        if (Differ(Number(rs, "dblDecAmount"), impairment))
            ExecuteSql(update + "dblDecAmount = " + text(impairment) + where);
    }
    CloseRecordset(rs);
}

bool TurnOpeningRecords::RebuildBalances(std::string& strErrMsg) {
    const std::string org = scope_.org();
    for (const char* table :
         {"AMAssetFundDaily", "AMAssetFundBalanceEx", "AMAssetFundBalanceAmortiseEx",
          "AMAssetFundBalance", "AMAssetFundBalanceAmortise"})
        if (!ExecuteSql(" Delete From [NewUser]" + std::string(table) +
                        " afd Where Not Exists(Select 1 From [NewUser]AMAssetFundAlter afa Where "
                        "afa.lngAMAssetFundAlterID = afd.lngAMAssetFundAlterID) And "
                        "afd.lngOrganizationID = " +
                        org))
            return false;
    if (!RecalculateAssets(strErrMsg)) return false;
    clsAMAssetDaily daily;
    std::string message;
    if (daily.Execute(scope_.organization, message)) return true;
    strErrMsg += message + daily.ErrorMessage();
    return false;
}

// Each asset is judged as its recalculation one by one would judge it
// (CaclDeprectionAlter, intMode 1), all in one pass: the first refused stops
// the run with its code and the routine's reason. The opening records then
// need no recalculation of their own: the new set's first period continues
// from them. Only a period the old set had already depreciated past the
// carry-forward date (copied with the later balances) is written again, for
// every asset of the organisation in one pass.
bool TurnOpeningRecords::RecalculateAssets(std::string& strErrMsg) {
    clsAMAssetDeprection depreciation;
    const int32_t refused = depreciation.CaclDeprectionCheckAll(1, scope_.organization);
    if (refused != 0) {
        RecordsetPtr rs =
            OpenRecordset("Select strAMAssetCode From [NewUser]AMAsset Where lngAMAssetID = " +
                              std::to_string(refused),
                          connect::adOpenStatic, connect::adLockReadOnly);
        strErrMsg += "固定资产结转：资产 " + rs->field(0).toText() + " 不能重算折旧：" +
                     depreciation.ErrorMessage();
        CloseRecordset(rs);
        return false;
    }
    if (depreciation.CaclDeprectionUpdate(0, 0, 0, scope_.organization)) return true;
    strErrMsg += depreciation.ErrorMessage();
    return false;
}

}  // namespace tk::am
