// The register copied into the new account set: the orders of deletion and copy, the summary of
// opening totals, the later balances, and the id sequences set past the copied rows.
#include "carryforward/TurnDataCopy.hpp"

#include <vector>

#include "carryforward/TurnSourceJournal.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/PublicDef.hpp"
#include "frame/TableCopier.hpp"

namespace tk::am {
namespace {

// Conditions that go through a parent table of the new account set.
const std::string kNewAssets =
    "In(Select a.lngAMAssetID From [NewUser]AMAsset a Where a.lngOrganizationID = ";
const std::string kNewFundAlters =
    "afa.lngAMAssetFundAlterID In(Select fa.lngAMAssetFundAlterID From [NewUser]AMAssetFundAlter "
    "fa Where fa.lngOrganizationID = ";
const std::string kOldAssets =
    "In(SELECT a.lngAMAssetID FROM [OldUser]AMAsset a WHERE a.lngOrganizationID = ";

struct Deletion {
    const char* table;
    std::string condition;
};

const std::vector<Deletion>& ClearOrder() {
    static const std::vector<Deletion> order = {
        {"AMAssetFundCostAlter afa", kNewFundAlters},
        {"AMAssetFundAccAlter afa", kNewFundAlters},
        {"AMAssetFundAlter fa", "fa.lngOrganizationID = "},
        {"AMAssetFund af", "af.lngAMAssetID " + kNewAssets},
        {"AMAssetOther ao", "ao.lngAMAssetID " + kNewAssets},
        {"AMAssetOtherAlter aoa", "aoa.lngAMAssetID " + kNewAssets},
        {"AMAssetLabelCustom alc",
         "alc.lngAMAssetLabelID In(Select a.lngAMAssetLabelID From [NewUser]AMAssetLabel a Where "
         "a.lngOrganizationID = "},
        {"AMAssetLabel al", "al.lngOrganizationID = "},
        {"AMAssetLabelAlter ala", "ala.lngOrganizationID = "},
        {"AMAssetAux aa", "aa.lngAMAssetID " + kNewAssets},
        {"AMAssetDocument ad", "ad.lngAMAssetID " + kNewAssets},
        {"AMAssetImage ai", "ai.lngAMAssetID " + kNewAssets},
        {"AMAssetCustom ac", "ac.lngAMAssetID " + kNewAssets},
        {"AMAssetFundBasis afb", "afb.lngOrganizationID = "},
        {"AMAssetFundBalanceEx afb", "afb.lngOrganizationID = "},
        {"AMAssetFundBalance afb", "afb.lngOrganizationID = "},
        {"AMAssetFundBalanceAmortiseEx afba", "afba.lngOrganizationID = "},
        {"AMAssetFundBalanceAmortise afba", "afba.lngOrganizationID = "},
        {"AMAssetFundDaily afd", "afd.lngOrganizationID = "},
        {"AMAssetDepreciation ad", "ad.lngOrganizationID = "},
        {"AMAssetAlter aa", "aa.lngOrganizationID = "},
        {"AMAsset a", "a.lngOrganizationID = "}};
    return order;
}

struct RegisterCopy {
    const char* table;
    std::string deletion, copy;
    bool byCursor = false;
};

const std::vector<RegisterCopy>& RegisterOrder() {
    static const std::vector<RegisterCopy> order = {
        {"AMAsset a", "a.lngOrganizationID = ", "a.lngOrganizationID = "},
        {"AMAssetFund af", "af.lngAMAssetID " + kNewAssets, "af.lngAMAssetID " + kOldAssets},
        {"AMAssetAux aa", "aa.lngAMAssetID " + kNewAssets, "aa.lngAMAssetID " + kOldAssets},
        {"AMAssetCustom ac", "ac.lngAMAssetID " + kNewAssets, "ac.lngAMAssetID " + kOldAssets},
        {"AMAssetDocument ad", "ad.lngAMAssetID " + kNewAssets, "ad.lngAMAssetID " + kOldAssets,
         true},
        {"AMAssetImage ai", "ai.lngAMAssetID " + kNewAssets, "ai.lngAMAssetID " + kOldAssets, true},
        {"AMAssetLabel al", "al.lngOrganizationID = ", "al.lngAMAssetID " + kOldAssets},
        {"AMAssetLabelCustom alc",
         "alc.lngAMAssetLabelID In(Select a.lngAMAssetLabelID From [NewUser]AMAssetLabel a Where "
         "a.lngOrganizationID = ",
         "alc.lngAMAssetLabelID In(SELECT ab.lngAMAssetLabelID FROM [OldUser]AMAssetLabel ab, "
         "[OldUser]AMAsset a WHERE ab.lngAMAssetID = a.lngAMAssetID And a.lngOrganizationID = "},
        {"AMAssetOther ao", "ao.lngAMAssetID " + kNewAssets, "ao.lngAMAssetID " + kOldAssets}};
    return order;
}

const char* const kAllTables[] = {
    "AMAsset,AMAssetAlter,AMAssetCustom",
    "AMAssetAux,AMAssetDocument,AMAssetImage,AMAssetOther,AMAssetOtherAlter",
    "AMAssetFund,AMAssetFundAlter,AMAssetFundAccAlter,AMAssetFundCostAlter",
    "AMAssetFundBalanceEx,AMAssetFundBalanceAmortiseEx,AMAssetFundDaily",
    "AMAssetLabel,AMAssetLabelAlter,AMAssetLabelCustom"};

const char* const kSequencedTables[] = {
    "AMAssetType",       "AMAssetNationalType", "AMAssetMethod",        "AMAsset",
    "AMAssetAlter",      "AMAssetFundAlter",    "AMAssetFundCostAlter", "AMAssetFundAccAlter",
    "AMAssetOtherAlter", "AMAssetLabel",        "AMAssetLabelAlter",    "AMAssetAux",
    "AMAssetDocument",   "AMAssetImage",        "AMManagerType",        "AMAssetObjectMap",
    "AMAssetObverse"};

// The summary of opening totals, per asset, from its sources' parts. A
// source's alteration not yet approved is taken out of its latest period;
// exact decimal sums come out the same however the rows are grouped.
const char* const kSummaryLines[] = {
    "SELECT s.lngAMAssetID,",
    "      MAX(s.alterID) As lngAMAssetAlterID,",
    "      Round(SUM(s.amount) - Nvl(SUM(s.amountPending), 0),2) As dblTotalAmount,/*原值*/",
    "      Round(SUM(s.depreciation) - Nvl(SUM(s.depreciationPending), 0),2) As "
    "dblTotalDeprection, /*累计折旧*/",
    "      Round(SUM(s.impairment) - Nvl(SUM(s.impairmentPending), 0),2) As "
    "dblTotalDecAmount,/*减值准备*/",
    "      Round(SUM(s.residual) - Nvl(SUM(s.residualPending), 0),2) As "
    "dblTotalNetWorth,/*剩余残值*/",
    "      MAX(s.works) as dblTotalWorks,/*预计累计工作量*/",
    "      MAX(s.periods) as intTotalPeriods,/*预计使用期间*/",
    "      MAX(s.depredWorks) as dblTotalDepredWorks,/*已提累计工作量*/",
    "      MAX(s.depredPeriods) as intTotalDepredPeriods /*已提折旧期间数*/",
    "  FROM {0} s",
    " WHERE s.summaryRows > 0",
    " GROUP BY s.lngAMAssetID"};

// The organisation id closes a condition, and the subquery it opened.
std::string Closed(const std::string& condition, const std::string& org) {
    bool opensSubquery = condition.find("In(") != std::string::npos;
    return condition + org + (opensSubquery ? ")" : "");
}

}  // namespace

std::string TurnDataCopy::summaryTable() const {
    return context().NewUser + ".AMAssetDaily_" + scope_.org();
}

bool TurnDataCopy::copy(const std::string& table, const std::string& condition) {
    std::string errorText;
    return CopyTable(table, ReplaceSchema(condition), errorText);
}

bool TurnDataCopy::CompileFunctions() {
    for (const char* routine : kDepreciationRoutines)
        if (!CompileFunction(routine, context().NewUser)) return false;
    return true;
}

bool TurnDataCopy::ClearNewAccountSet(std::string& strErrMsg) {
    try {
        for (const Deletion& d : ClearOrder())
            if (!DeleteWhere(d.table, context().NewUser,
                             ReplaceSchema(Closed(d.condition, scope_.org())))) {
                strErrMsg = AppendErrorText(LastSqlError(), strErrMsg);
                return false;
            }
        return true;
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), strErrMsg);
        return false;
    }
}

bool TurnDataCopy::CopyAllTables() {
    for (const char* list : kAllTables)
        if (!copy(list, "")) return false;
    return true;
}

bool TurnDataCopy::CopyAssetRegister() {
    for (const RegisterCopy& step : RegisterOrder()) {
        if (!DeleteWhere(step.table, context().NewUser,
                         ReplaceSchema(Closed(step.deletion, scope_.org()))))
            return false;
        std::string condition = ReplaceSchema(Closed(step.copy, scope_.org()));
        bool copied =
            step.byCursor ? CopyRowsByCursor(step.table, condition) : copy(step.table, condition);
        if (!copied) return false;
    }
    return true;
}

bool TurnDataCopy::BuildDailySummary() {
    ExecuteSql("DROP TABLE " + summaryTable());
    // One pass over the old journal serves the summary and the opening records.
    BuildSourceJournal(scope_);
    std::string query;
    for (const char* line : kSummaryLines) query += kCrLf + std::string(line);
    query = ReplaceAll(query, "{0}", kSourceJournal);
    // Keyed by asset, so that the statements that read it per asset stay linear.
    return ExecuteSql("CREATE TABLE " + summaryTable() + " As " + query) &&
           ExecuteSql("CREATE INDEX AMAssetDaily_" + scope_.org() + "_IX ON " + summaryTable() +
                      " (lngAMAssetID)");
}

bool TurnDataCopy::CopyCurrentAlterations() {
    if (!BuildDailySummary()) return false;
    const std::string org = scope_.org(), yp = scope_.yp();
    const std::string laterAlters = " Where ata.blnIsInit = 0  And ata.lngOrganizationID = " + org +
                                    " And ata.intYear * 100 + ata.bytPeriod >= " + yp + ")";
    return copy("AMAssetAlter aa", " aa.blnIsInit = 0  And aa.lngOrganizationID = " + org +
                                       " And aa.intYear * 100 + aa.bytPeriod >= " + yp) &&
           copy("AMAssetFundAlter afa", " afa.blnIsInit = 0  And afa.lngOrganizationID = " + org +
                                            " And afa.intYear * 100 + afa.bytPeriod >= " + yp) &&
           copy("AMAssetFundCostAlter afc",
                " afc.lngAMAssetFundAlterID In(Select amt.lngAMAssetFundAlterID From "
                "[OldUser]AMAssetFundAlter amt Where amt.blnIsInit = 0 And amt.intYear * 100 + "
                "amt.bytPeriod >= " +
                    yp + " And amt.lngOrganizationID = " + org + ")") &&
           copy("AMAssetLabelAlter ala",
                " ala.lngAMAssetAlterID In(Select ata.lngAMAssetAlterID From "
                "[OldUser]AMAssetAlter ata" +
                    laterAlters) &&
           copy("AMAssetOtherAlter aoa",
                " aoa.lngAMAssetAlterID In(Select ata.lngAMAssetAlterID From "
                "[OldUser]AMAssetAlter ata" +
                    laterAlters);
}

bool TurnDataCopy::CopyLaterBalances() {
    const std::string org = scope_.org(), yp = std::to_string(scope_.prevYearPeriod());
    const std::string balances =
        " afb.lngOrganizationID = " + org + " And afb.intYear * 100 + afb.bytPeriod > " + yp;
    for (const char* table : {"AMAssetFundBalanceEx afb", "AMAssetFundBalanceAmortiseEx afb",
                              "AMAssetFundBalance afb", "AMAssetFundBalanceAmortise afb"})
        if (!copy(table, balances)) return false;
    if (!copy("AMAssetDepreciation ad",
              " ad.lngOrganizationID = " + org + " And ad.intYear * 100 + ad.bytPeriod > " + yp) ||
        !copy("AMAssetFundDaily afd",
              " afd.lngOrganizationID = " + org + " And afd.YearPeriod >= " + yp))
        return false;
    // These rows keep their ids, and the recalculation of a period copied
    // with them writes new rows of the same tables: their sequences go past
    // the copied ids first.
    for (const char* table :
         {"AMAssetFundBalanceAmortise", "AMAssetDepreciation", "AMAssetFundDaily"})
        if (!ResetSequence(table, context().NewUser)) return false;
    return true;
}

bool TurnDataCopy::ResetSequences() {
    for (const char* table : kSequencedTables)
        if (!ResetSequence(table, context().NewUser)) return false;
    return true;
}

}  // namespace tk::am
