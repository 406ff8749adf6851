// The upgrade of a generated company kept in the older module: every figure
// the old tables hold must come back in the new ones, computed here from the
// old tables directly.
#include <libpq-fe.h>

#include "UpgradeTestBase.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "ledger/AssetAdder.hpp"

namespace tk::am {
namespace {

// Old and new rows that are not on both sides, counted.
std::string Unmatched(const std::string& oldRows, const std::string& newRows) {
    return "select (select count(*) from ((" + oldRows + ") except all (" + newRows +
           ")) x) + (select count(*) from ((" + newRows + ") except all (" + oldRows + ")) y)";
}

class FixedModuleCompany : public UpgradeTestBase {
  protected:
    explicit FixedModuleCompany(int cards = 240)
        : UpgradeTestBase("../../examples/older_module/fixed_tables.sql", "8.50") {
        oldSet.connect()->session().runScript(
            "SET search_path TO " + oldSet.name() + ", oracompat, public;" +
            ReadFile(std::filesystem::path(TKAM_DB_DIR) / ".." / "examples" / "older_module" /
                     "company.sql") +
            "SELECT FixedModuleCompany(0.42, " + std::to_string(cards) + ", 2022, 3, 0);");
        native("select " + newSet.name() + ".AMAssetMakePeriods(ARRAY[2022, 2023])");
    }

    // Per card and depreciated period: cost, accumulated depreciation,
    // impairment and net value.
    const std::string oldPeriods =
        "select c.strFixedCode, d.intYear, d.bytPeriod, round(d.dblAmount, 2),"
        " round(d.dblDeprection, 2), round(d.dblFixedDecAlterBalance, 2),"
        " round(d.dblAmount - d.dblDeprection - d.dblFixedDecAlterBalance, 2)"
        " from O.FixedAlter d join O.FixedCard c on c.lngFixedCardID = d.lngFixedCardID"
        " where d.bytAlterType = 4";
    const std::string newPeriods =
        "select a.strAMAssetCode, b.intYear, b.bytPeriod, round(f.dblAmount, 2),"
        " round(b.dblInitDepreciation + b.dblDepreciation, 2), round(f.dblDecAmount, 2),"
        " round(f.dblAmount - b.dblInitDepreciation - b.dblDepreciation - f.dblDecAmount, 2)"
        " from N.AMAssetFundBalance b join N.AMAssetFundAlter f"
        " on f.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID"
        " join N.AMAsset a on a.lngAMAssetID = b.lngAMAssetID";
    // Per card, its alterations in order: period, kind and cost after.
    const std::string oldVersions =
        "select c.strFixedCode, string_agg(d.intYear * 100 + d.bytPeriod || ':' || d.bytAlterType"
        " || ':' || round(d.dblAmount, 2), ',' order by d.intYear, d.bytPeriod, d.lngFixedAlterID)"
        " from O.FixedAlter d join O.FixedCard c on c.lngFixedCardID = d.lngFixedCardID"
        " where d.bytAlterType <> 4 group by c.strFixedCode";
    const std::string newVersions =
        "select a.strAMAssetCode, string_agg(v.intYear * 100 + v.bytPeriod || ':' ||"
        " v.bytAlterType || ':' || round(v.dblAmount, 2), ',' order by v.lngAMAssetAlterID)"
        " from N.AMAssetAlter v join N.AMAsset a on a.lngAMAssetID = v.lngAMAssetID"
        " group by a.strAMAssetCode";
};

TEST_F(FixedModuleCompany, EveryCardAndPeriodComesOverToTheCent) {
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(native("select count(*) from N.AMAsset"), "240");
    EXPECT_EQ(native(Unmatched(oldVersions, newVersions)), "0");
    EXPECT_GT(std::stoi(native("select count(*) from O.FixedAlter where bytAlterType = 4")), 4000);
    EXPECT_EQ(native(Unmatched(oldPeriods, newPeriods)), "0");
    // each version's departments with their shares, a line without
    // department spread over the shares, adding up to 100%
    EXPECT_EQ(native(Unmatched(
                  "select c.strFixedCode, d.intYear * 100 + d.bytPeriod, s.lngDepartmentID,"
                  " round(s.dblRate, 4) from O.FixedAlter d join O.FixedCard c on"
                  " c.lngFixedCardID = d.lngFixedCardID join O.FixedDepartment s on"
                  " s.lngFixedAlterID = d.lngFixedAlterID where d.bytAlterType <> 4",
                  "select a.strAMAssetCode, f.intYear * 100 + f.bytPeriod, l.lngDepartmentID,"
                  " round(sum(l.dblRate), 4) from N.AMAssetFundAccAlter l join"
                  " N.AMAssetFundAlter f on f.lngAMAssetFundAlterID = l.lngAMAssetFundAlterID"
                  " join N.AMAsset a on a.lngAMAssetID = f.lngAMAssetID group by"
                  " a.strAMAssetCode, f.lngAMAssetFundAlterID, f.intYear, f.bytPeriod,"
                  " l.lngDepartmentID")),
              "0");
    EXPECT_EQ(native("select count(*) from (select 1 from N.AMAssetFundAccAlter group by"
                     " lngAMAssetFundAlterID having abs(sum(dblRate) - 100) > 0.0001) x"),
              "0");
    // cost lines in their currencies
    EXPECT_EQ(native(Unmatched(
                  "select c.strFixedCode, x.lngCurrencyID, round(x.dblCurrAmount, 2),"
                  " round(x.dblAmount, 2) from O.FixedCost x join O.FixedAlter d on"
                  " d.lngFixedAlterID = x.lngFixedAlterID join O.FixedCard c on"
                  " c.lngFixedCardID = d.lngFixedCardID",
                  "select a.strAMAssetCode, x.lngCurrencyID, round(x.dblCurrAmount, 2),"
                  " round(x.dblAmount, 2) from N.AMAssetFundCostAlter x join N.AMAssetFundAlter f"
                  " on f.lngAMAssetFundAlterID = x.lngAMAssetFundAlterID join N.AMAsset a on"
                  " a.lngAMAssetID = f.lngAMAssetID")),
              "0");
    EXPECT_NE(native("select count(distinct lngCurrencyID) from N.AMAssetFundCostAlter"), "1");
    // the apportionment gives out each period's charge, one run per organisation and period
    EXPECT_EQ(native("select count(*) from N.AMAssetFundBalance b where round(b.dblDepreciation, 2)"
                     " <> round((select coalesce(sum(m.dblAmount), 0) from"
                     " N.AMAssetFundBalanceAmortise m where m.lngAMAssetFundAlterID ="
                     " b.lngAMAssetFundAlterID and m.intYear = b.intYear and m.bytPeriod ="
                     " b.bytPeriod), 2)"),
              "0");
    EXPECT_EQ(
        native(Unmatched("select lngOrganizationID, intYear, bytPeriod, round(sum("
                         "dblPeriodDepreciation), 2) from O.FixedAlter where bytAlterType = 4"
                         " group by 1, 2, 3",
                         "select lngOrganizationID, intYear, bytPeriod, round(dblDepreciation,"
                         " 2) from N.AMAssetDepreciation")),
        "0");
    for (const auto& [old, upgraded] : {std::pair{"O.FixedAux", "N.AMAssetAux"},
                                        {"O.OLEStore", "N.AMAssetImage"},
                                        {"O.AssetDocument", "N.AMAssetDocument"}})
        EXPECT_EQ(native(std::string("select count(*) from ") + old),
                  native(std::string("select count(*) from ") + upgraded));
}

// What described the item behind each card comes with every version of it:
// the other card, the label, the category's own fields; the versions'
// allocation texts name what their lines hold; physical assets are enabled.
TEST_F(FixedModuleCompany, EveryCardArrivesWithItsDescriptionLabelAndCustomValues) {
    ASSERT_TRUE(execute()) << errors;
    // per card and version: the old Asset row as the other card keeps it
    const std::string oldVersion =
        "select c.strFixedCode, d.intYear * 100 + d.bytPeriod, a.strAssetStyle, a.strAssetModel,"
        " a.strMadeIn, a.strFactoryNo, a.strFactoryDate, a.lngLocationID, a.strMemo,"
        " a.strAssetStyle || '-' || a.strAssetModel from O.FixedAlter d join O.FixedCard c on"
        " c.lngFixedCardID = d.lngFixedCardID join O.Asset a on a.lngAssetID = c.lngAssetID"
        " where d.bytAlterType <> 4";
    const std::string described =
        ", v.strAssetStyle, v.strAssetModel, v.strMadeIn, v.strFactoryNo, v.strFactoryDate,"
        " v.lngLocationID, v.strNotes, v.strStyleModel";
    EXPECT_EQ(native(Unmatched(
                  oldVersion, "select n.strAMAssetCode, v.intYear * 100 + v.bytPeriod" + described +
                                  " from N.AMAssetOtherAlter v join N.AMAsset n on"
                                  " n.lngAMAssetID = v.lngAMAssetID")),
              "0");
    EXPECT_EQ(
        native(Unmatched("select distinct on (c.strFixedCode) c.strFixedCode, a.strAssetStyle,"
                         " a.strFactoryNo, a.strMemo from O.FixedCard c join O.Asset a on"
                         " a.lngAssetID = c.lngAssetID",
                         "select n.strAMAssetCode, v.strAssetStyle, v.strFactoryNo,"
                         " v.strNotes from N.AMAssetOther v join N.AMAsset n on"
                         " n.lngAMAssetID = v.lngAMAssetID")),
        "0");
    // each other-card version is the card version's, in its department
    EXPECT_EQ(native("select count(*) from N.AMAssetAlter c left join N.AMAssetOtherAlter v on"
                     " v.lngAMAssetOtherAlterID = c.lngAMAssetAlterID and v.lngAMAssetAlterID ="
                     " c.lngAMAssetAlterID and v.lngDepartmentID = c.lngDepartmentID and"
                     " v.lngAMAssetOtherRecentAlterID = c.lngAMAssetRecentAlterID"
                     " where v.lngAMAssetOtherAlterID is null"),
              "0");

    // a label for each numbered item, first of its asset, one version per card version
    EXPECT_EQ(native(Unmatched("select c.strFixedCode, trim(a.strLabelNo), 1 from O.FixedCard c"
                               " join O.Asset a on a.lngAssetID = c.lngAssetID where"
                               " trim(a.strLabelNo) <> ''",
                               "select n.strAMAssetCode, l.strAMAssetLabelNo, l.lngOrderNo from"
                               " N.AMAssetLabel l join N.AMAsset n on n.lngAMAssetID ="
                               " l.lngAMAssetID")),
              "0");
    EXPECT_GT(std::stoi(native("select count(*) from O.Asset where trim(strLabelNo) = ''")), 0);
    EXPECT_EQ(
        native(Unmatched("select l.lngAMAssetLabelID, c.lngAMAssetAlterID, a.lngLocationID from"
                         " N.AMAssetLabel l join N.AMAssetAlter c on"
                         " c.lngAMAssetID = l.lngAMAssetID join N.AMAsset n on n.lngAMAssetID ="
                         " l.lngAMAssetID join O.FixedCard f on f.strFixedCode = n.strAMAssetCode"
                         " join O.Asset a on a.lngAssetID = f.lngAssetID",
                         "select lngAMAssetLabelID, lngAMAssetAlterID, lngLocationID from"
                         " N.AMAssetLabelAlter")),
        "0");
    EXPECT_EQ(native("select count(*) from N.AMAssetLabel l where l.lngAMAssetLabelInitAlterID"
                     " <> (select min(v.lngAMAssetLabelAlterID) from N.AMAssetLabelAlter v where"
                     " v.lngAMAssetLabelID = l.lngAMAssetLabelID) or l.lngAMAssetLabelLastAlterID"
                     " <> (select max(v.lngAMAssetLabelAlterID) from N.AMAssetLabelAlter v where"
                     " v.lngAMAssetLabelID = l.lngAMAssetLabelID) or not exists (select 1 from"
                     " N.AMAssetLabelCustom x where x.lngAMAssetLabelID = l.lngAMAssetLabelID)"),
              "0");

    // the category's own fields, captioned, the values in the columns they name
    EXPECT_EQ(native(Unmatched("select c.strFixedCode, a.strCustom1, a.strCustom2,"
                               " a.dblCustom1, a.strCustomDate1 from O.FixedCard c join O.Asset a"
                               " on a.lngAssetID = c.lngAssetID",
                               "select n.strAMAssetCode, x.strCustom1, x.strCustom2,"
                               " x.dblCustom1, x.strCustomDate1 from N.AMAssetCustom x join"
                               " N.AMAsset n on n.lngAMAssetID = x.lngAMAssetID")),
              "0");
    EXPECT_EQ(native("select count(*) from N.AMAssetTypeCustom"), "16");

    // every department share of the old version is in its text and its coefficient
    const std::string shares =
        " from O.FixedDepartment s join O.FixedAlter d on d.lngFixedAlterID = s.lngFixedAlterID"
        " join O.FixedCard c on c.lngFixedCardID = d.lngFixedCardID join N.AMAsset n on"
        " n.strAMAssetCode = c.strFixedCode join N.AMAssetFundAlter f on f.lngAMAssetID ="
        " n.lngAMAssetID and f.intYear = d.intYear and f.bytPeriod = d.bytPeriod and f.strDate ="
        " d.strDate join N.Department p on p.lngDepartmentID = s.lngDepartmentID"
        " where d.bytAlterType <> 4";
    EXPECT_GT(std::stoi(native("select count(*)" + shares)), 400);
    EXPECT_EQ(native("select count(*)" + shares +
                     " and (position(p.strDepartmentName || ' ' || trim_scale(s.dblRate) || '%'"
                     " in f.strDepartmentStr) = 0 or exists (select 1 from N.AMAssetFundAccAlter"
                     " l where l.lngAMAssetFundAlterID = f.lngAMAssetFundAlterID and"
                     " l.lngDepartmentID = s.lngDepartmentID and round(l.dblQuotiety, 4) <>"
                     " round(s.dblRate, 4)))"),
              "0");
    EXPECT_EQ(native("select count(*) from O.FixedCost x join O.FixedAlter d on d.lngFixedAlterID"
                     " = x.lngFixedAlterID join O.FixedCard c on c.lngFixedCardID ="
                     " d.lngFixedCardID join N.AMAsset n on n.strAMAssetCode = c.strFixedCode join"
                     " N.AMAssetAlter v on v.lngAMAssetID = n.lngAMAssetID and v.intYear ="
                     " d.intYear and v.bytPeriod = d.bytPeriod and v.strDate = d.strDate join"
                     " N.Currencys u on u.lngCurrencyID = x.lngCurrencyID where"
                     " position(u.strCurrencyName in v.strCurrencyStr) = 0"),
              "0");
    EXPECT_EQ(native("select count(*) from N.AMAssetFundAlter where trim(strAccountStr) = ''"),
              "0");
    // both organisations, from the period their module started in
    EXPECT_EQ(native("select string_agg(s.lngOrganizationID || ':' || s.strSetting, ',' order by"
                     " s.lngOrganizationID, s.strKey) from N.Setting s where s.strSection ="
                     " '固定资产' and s.lngModuleID = 11 and s.strKey in ('启用实物资产',"
                     " '实物资产启用期间')"),
              native("select string_agg(m.lngOrganizationID || ':1,' || m.lngOrganizationID || ':'"
                     " || (m.intYear * 100 + m.bytPeriod), ',' order by m.lngOrganizationID) from"
                     " N.Module m where m.lngModuleID = 11 and m.lngOrganizationID in (1, 2)"));
}

// The month after the old books: each asset still in the register starts a
// straight-line schedule on what is left over the life that is left, by this
// system's rule (a year's figure rounded to the cent, a month its twelfth;
// a last year shorter than twelve months shares what is left by month).
TEST_F(FixedModuleCompany, NextPeriodDepreciatesWhatTheOldBooksLeft) {
    ASSERT_TRUE(execute()) << errors;
    clsAMAssetDeprection depreciation;
    for (int32_t org : {1, 2})
        ASSERT_TRUE(
            depreciation.WriteBalance(0, 2025, 1, "2025-01-31", "2025年1期折旧", false, 0, 1, org))
            << depreciation.ErrorMessage();
    const std::string expected =
        "select c.strFixedCode, round(case when r.left <= 0 then 0 when r.life - r.used <= 1"
        " then r.left when r.life - r.used <= 12 then round(r.left / (r.life - r.used), 2)"
        " else round(round(r.left * 12 / (r.life - r.used), 2) / 12, 2) end, 2) from (select"
        " l.lngFixedCardID, l.dblAmount - l.dblFixedDecAlterBalance - l.dblDeprection -"
        " l.dblNetworth as left, l.intUseAge as life, k.intStartPeriod + (select count(*) from"
        " O.FixedAlter e, O.FixedAlter f where e.lngFixedCardID = l.lngFixedCardID and"
        " e.bytAlterType = 4 and f.lngFixedCardID = e.lngFixedCardID and f.lngLastFixedAlterID = 0"
        " and (f.blnIsInit = 1 or e.intYear * 100 + e.bytPeriod > f.intYear * 100 + f.bytPeriod))"
        " as used from O.FixedAlter l join O.FixedCard k on k.lngFixedCardID = l.lngFixedCardID"
        " where l.bytAlterType = 4 and l.intYear = 2024 and l.bytPeriod = 12 and not exists"
        " (select 1 from O.FixedAlter g where g.lngFixedCardID = l.lngFixedCardID and"
        " g.bytAlterType = 2)) r join O.FixedCard c on c.lngFixedCardID = r.lngFixedCardID";
    const std::string charged =
        "select a.strAMAssetCode, round(b.dblDepreciation, 2) from N.AMAssetFundBalance b join"
        " N.AMAsset a on a.lngAMAssetID = b.lngAMAssetID where b.intYear = 2025 and b.bytPeriod = "
        "1";
    EXPECT_GT(std::stoi(native("select count(*) from (" + expected + ") x")), 100);
    EXPECT_EQ(native(Unmatched(expected, charged)), "0");
}

// A second run gives the same books; a run that fails half-way leaves the
// new account set as it was.
TEST_F(FixedModuleCompany, RerunAndFailureHalfWay) {
    const std::string digest =
        "select (select md5(string_agg(r::text, ',' order by r::text)) from (" + newPeriods +
        ") r) || (select md5(string_agg(r::text, ',' order by r::text)) from (" + newVersions +
        ") r)";
    ASSERT_TRUE(execute()) << errors;
    const std::string first = native(digest);
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(native(digest), first);

    native(
        "create function N.refuse() returns trigger language plpgsql as"
        " $$ begin raise exception 'injected'; end $$");
    native(
        "create trigger refuse before insert on N.AMAssetDepreciation"
        " for each statement execute function N.refuse()");
    EXPECT_FALSE(execute());
    EXPECT_NE(errors.find("生成折旧记录出错！"), std::string::npos) << errors;
    EXPECT_EQ(native(digest), first);
}

// A company small enough to add to after the upgrade.
class SmallCompany : public FixedModuleCompany {
  protected:
    SmallCompany() : FixedModuleCompany(60) {}

    // Two assets of each organisation and category through the ledger, their
    // codes drawn from the migrated rules.
    void addTwoOfEach() {
        for (int32_t org : {1, 2}) {
            const ledger::LedgerSession session(conn, org, newSet.name());
            const ledger::AssetAdder adder(session);
            for (const char* category : {"G1", "G2", "G3", "G4"})
                for (int i = 0; i < 2; ++i) {
                    ledger::NewAsset asset;
                    asset.category = category;
                    asset.name = std::string("新购") + category;
                    asset.date = "2025-01-15";
                    asset.cost = 12000;
                    adder.add(asset);
                }
        }
    }
};

// Assets added after an upgrade take codes, card numbers and ids none of the
// upgraded ones holds, and the counters and sequences go on from there.
TEST_F(SmallCompany, NewAssetsContinueCodesSerialsAndIds) {
    ASSERT_TRUE(execute()) << errors;
    const std::string upgraded = native("select max(lngAMAssetID) from N.AMAsset");
    // the old card numbers share one serial over every organisation and category
    EXPECT_GT(std::stoi(native("select count(distinct lngOrganizationID * 1000 + lngFixedTypeID)"
                               " from O.ReceiptNoRule")),
              1);
    addTwoOfEach();
    EXPECT_EQ(native("select count(*) from N.AMAsset where lngAMAssetID > " + upgraded), "16");
    for (const char* code : {"strAMAssetCode", "strAMAssetCardCode"}) {
        const std::string column = code;
        EXPECT_EQ(native("select count(*) from N.AMAsset n join N.AMAsset u on u." + column +
                         " = n." + column + " where n.lngAMAssetID > " + upgraded +
                         " and u.lngAMAssetID <= " + upgraded),
                  "0")
            << column;
        EXPECT_EQ(native("select count(*) from (select 1 from N.AMAsset where lngAMAssetID > " +
                         upgraded + " group by lngOrganizationID, lngAMAssetTypeID, " + column +
                         " having count(*) > 1) x"),
                  "0")
            << column;
    }
    EXPECT_EQ(tablesWhoseNextIdIsTaken(), "");
}

}  // namespace
}  // namespace tk::am
