// Oracle texts run through the connection against the test server: the
// answers (rows, NULLs, errors) must be the ones Oracle gives.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Connection.hpp"

namespace tk::connect {
namespace {

using Rows = std::vector<std::string>;

class TranslateSemantics : public ::testing::Test {
  protected:
    test::TestSchema schema{"trs"};
    std::shared_ptr<Connection> conn = schema.connect();

    void exec(const std::string& sql) { test::ExecuteOk(*conn, sql); }

    std::string error(const std::string& sql) { return test::ErrorOf(*conn, sql); }

    // Each row as "field|field|…", NULL shown as ∅.
    Rows rows(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        Rows out;
        for (; !rs->eof(); rs->moveNext()) {
            std::string row;
            for (int i = 0; i < rs->fieldCount(); ++i) {
                const Variant& v = rs->field(i);
                row += (i ? "|" : "") + (v.isNull() ? std::string("∅") : v.toText());
            }
            out.push_back(row);
        }
        return out;
    }
};

// ---- (+) outer joins ----

TEST_F(TranslateSemantics, OuterJoinKeepsRowsWithoutPartnerAndJoinsOnMarkedConstants) {
    schema.admin(
        "CREATE TABLE head (lngID integer, lngAccID integer);"
        "CREATE TABLE account (lngAccountID integer, strCode varchar(10), strName varchar(20), "
        "strFlag varchar(1));"
        "INSERT INTO head VALUES (1, 10), (2, 20), (3, 30);"
        "INSERT INTO account VALUES (10, 'A1', 'cash', 'Y'), (20, 'A2', 'bank', 'N');");
    EXPECT_EQ(rows("Select h.lngID, a.strCode || ' ' || a.strName From head h, account a "
                   "Where h.lngAccID = a.lngAccountID(+) And a.strFlag(+) = 'Y' Order By h.lngID"),
              (Rows{"1|A1 cash", "2| ", "3| "}));
    // Unmarked, the flag test filters after the join.
    EXPECT_EQ(rows("Select h.lngID From head h, account a Where h.lngAccID = a.lngAccountID(+) "
                   "And a.strFlag = 'Y'"),
              (Rows{"1"}));
}

TEST_F(TranslateSemantics, ChainedOuterJoinsKeepEveryBaseRow) {
    schema.admin(
        "CREATE TABLE a (id integer); CREATE TABLE b (id integer, aid integer);"
        "CREATE TABLE c (id integer, bid integer);"
        "INSERT INTO a VALUES (1), (2), (3); INSERT INTO b VALUES (10, 1), (20, 2);"
        "INSERT INTO c VALUES (100, 10);");
    EXPECT_EQ(rows("Select x.id, y.id, z.id From c z, b y, a x Where z.bid(+) = y.id And "
                   "x.id = y.aid(+) Order By x.id"),
              (Rows{"1|10|100", "2|20|∅", "3|∅|∅"}));
}

// ---- Decode / Nvl ----

TEST_F(TranslateSemantics, DecodeMatchesNullAndTakesTheFirstResultsType) {
    schema.admin(
        "CREATE TABLE v (n integer, s varchar(10));"
        "INSERT INTO v VALUES (1, 'a'), (NULL, 'c'), (2, NULL);");
    EXPECT_EQ(rows("Select Decode(NULL, NULL, 'null matches', 'no') From dual"),
              (Rows{"null matches"}));
    EXPECT_EQ(rows("Select Decode(n, 1, 'one', NULL, 'none', n) From v Order By s"),
              (Rows{"one", "none", "2"}));
    EXPECT_EQ(rows("Select Decode(n, 1, 1, 2.5) From v Where n Is Not Null Order By n"),
              (Rows{"1", "2.5"}));
    EXPECT_EQ(rows("Select Max(Decode(n, 2, Decode(s, NULL, 10, 20), 0)) From v"), (Rows{"10"}));
    EXPECT_EQ(rows("Select Decode(s, 'a', 'x') From v Where n = 2"), (Rows{"∅"}));
}

TEST_F(TranslateSemantics, NvlFollowsTheFirstArgumentAndConcatenationSkipsNulls) {
    schema.admin("CREATE TABLE v (n integer, s varchar(10)); INSERT INTO v VALUES (2, NULL);");
    EXPECT_EQ(rows("Select Nvl(s, 0), Nvl(n, 0) + 1, Nvl('', 'x'), Nvl(s, '') From v"),
              (Rows{"0|3|x|∅"}));
    // An empty result of || is NULL.
    EXPECT_EQ(rows("Select 'a' || NULL || 'b', s || s, '' || '', Nvl(s,'') || ' ' || Nvl(s,'') "
                   "From v"),
              (Rows{"ab|∅|∅| "}));
}

// ---- text: '' is NULL ----

TEST_F(TranslateSemantics, EmptyTextIsStoredAsNullAndBlankTrimsToNull) {
    schema.admin(
        "CREATE TABLE v (n integer, s varchar(10)); INSERT INTO v VALUES (1, 'a'), (2, '   ');");
    exec("Insert Into v (n, s) Values (3, '')");
    EXPECT_EQ(rows("Select n From v Where s Is Null"), (Rows{"3"}));
    EXPECT_EQ(rows("Select n From v Where Trim(s) Is Null Order By n"), (Rows{"2", "3"}));
}

TEST_F(TranslateSemantics, RoundHalvesAwayFromZeroForEveryNumberType) {
    schema.admin(
        "CREATE TABLE d (x double precision, y numeric); INSERT INTO d VALUES (2.5, -2.5);");
    EXPECT_EQ(rows("Select Round(x), Round(y), Round(x * 0.5, 1), Trunc(-2.7), "
                   "To_Number('12.50') From d"),
              (Rows{"3|-3|1.3|-2|12.5"}));
}

// ---- rownum ----

TEST_F(TranslateSemantics, RownumLimitsRowsBeforeAggregatesAndNumbersThem) {
    schema.admin("CREATE TABLE v (n integer); INSERT INTO v SELECT generate_series(1, 5);");
    EXPECT_EQ(rows("Select Count(*) From v Where rownum <= 2"), (Rows{"2"}));
    EXPECT_EQ(rows("Select Count(*) From v Where rownum = 2"), (Rows{"0"}));
    EXPECT_EQ(rows("Select n From v Where n > 3 And Rownum = 1").size(), 1u);
    EXPECT_EQ(rows("Select rownum || '折旧费用分摊' From v Where n = 4"), (Rows{"1折旧费用分摊"}));
}

TEST_F(TranslateSemantics, ASubqueryInFromNeedsNoName) {
    schema.admin("CREATE TABLE u (n integer); INSERT INTO u VALUES (1), (1), (2);");
    EXPECT_EQ(rows("Select Count(*) From (Select n From u Group By n Having Count(*) > 1)"),
              (Rows{"1"}));
    EXPECT_EQ(rows("Select Max(n) From (Select n From (Select n From u) Where n > 1) Where n < 9"),
              (Rows{"2"}));
    EXPECT_EQ(rows("Select t.n From (Select n From u Where n = 2) t"), (Rows{"2"}));
}

TEST_F(TranslateSemantics, MinusRemovesDuplicates) {
    schema.admin("CREATE TABLE w (s varchar(5)); INSERT INTO w VALUES ('a'), ('a'), ('x');");
    EXPECT_EQ(rows("Select s From w Minus Select 'x' From dual"), (Rows{"a"}));
}

// ---- sequences ----

TEST_F(TranslateSemantics, SequenceCurrvalNeedsNextvalFirst) {
    exec(" Create Sequence " + schema.name() +
         ".X_SEQ MinValue 1 MaxValue 2147483647 Start With 17 Increment By 1 Cache 20 Cycle");
    EXPECT_NE(error("Select " + schema.name() + ".X_SEQ.currval From dual"), "");
    EXPECT_EQ(rows("Select X_SEQ.NEXTVAL From DUAL"), (Rows{"17"}));
    EXPECT_EQ(rows("Select " + schema.name() + ".x_seq.CurrVal From dual"), (Rows{"17"}));
    exec("Drop Sequence " + schema.name() + ".X_SEQ");
    EXPECT_NE(error("Select X_SEQ.NEXTVAL From DUAL"), "");
}

// ---- DML forms ----

TEST_F(TranslateSemantics, DeleteWithoutFromAndUpdateThroughAlias) {
    schema.admin(
        "CREATE TABLE v (n integer, s varchar(5)); INSERT INTO v VALUES (1,'a'), (2,'b'), "
        "(3,'c');");
    exec("Delete v a Where a.n = 1");
    exec("Update v a Set a.s = 'z' Where a.n = 2");
    exec("Update v a Set (a.s, a.n) = (Select 'q', 9 From dual) Where a.n = 3");
    EXPECT_EQ(rows("Select n, s From v Order By n"), (Rows{"2|z", "9|q"}));
}

TEST_F(TranslateSemantics, InsertWithoutColumnListMustMatchTheTable) {
    schema.admin(
        "CREATE TABLE t2 (a integer, b integer); CREATE TABLE u3 (a integer, b integer, c "
        "integer); INSERT INTO u3 VALUES (1, 2, 3);");
    EXPECT_EQ(error("Insert Into t2 a Select * From u3 a Where a.a = 1").substr(0, 9), "ORA-00913");
    exec("Insert Into t2 x Select x.a, x.b From u3 x Where x.a = 1");
    EXPECT_EQ(rows("Select a, b From t2"), (Rows{"1|2"}));
}

// ---- DDL ----

TEST_F(TranslateSemantics, CompileAndLoggingCheckThatTheObjectExists) {
    schema.admin(
        "CREATE FUNCTION getnextperiod(p integer) RETURNS integer LANGUAGE sql AS 'SELECT p + 1';"
        "CREATE PROCEDURE amassetcalcadd() LANGUAGE sql AS 'SELECT 1';"
        "CREATE TABLE amassetfunddaily (n integer);");
    exec("ALTER FUNCTION " + schema.name() + ".GetNextPeriod COMPILE");
    exec("ALTER FUNCTION " + schema.name() + ".AMAssetCalcAdd COMPILE");
    EXPECT_NE(error("ALTER FUNCTION " + schema.name() + ".NoSuchRoutine COMPILE"), "");
    exec("Alter Table " + schema.name() + ".AMAssetFundDaily nologging");
    exec("Alter Table AMAssetFundDaily logging");
    EXPECT_NE(error("Alter Table " + schema.name() + ".NoSuchTable logging"), "");
}

TEST_F(TranslateSemantics, AddedColumnsTakeTheirDefaultsOnExistingRows) {
    schema.admin("CREATE TABLE amasset (lngamassetid integer); INSERT INTO amasset VALUES (1);");
    exec(
        "Alter Table AMAsset Add (strCreateDate Varchar2(10) Default ' ' Not Null, dblX "
        "Number(18,2))");
    EXPECT_EQ(rows("Select '[' || strCreateDate || ']', dblX From AMAsset"), (Rows{"[ ]|∅"}));
    EXPECT_NE(error("Insert Into AMAsset (lngAMAssetID, strCreateDate) Values (2, '')"), "");
}

// ---- PL/SQL blocks ----

const char* kCopyBlock =
    "DECLARE\n  CURSOR c IS\n  SELECT * from src;\n  v c%rowtype;\nBEGIN\n  OPEN c;\n  Loop\n"
    "      fetch c into v;\n      exit when  c%notfound;\n      insert into dst\n"
    "      (a, b)\n      Values\n      (v.a, v.b\n      );\n  end loop;\n  close c;\n"
    "  commit;\n  \nEND;";

TEST_F(TranslateSemantics, CursorBlockCopiesEveryRowAndLeavesCommitToTheCallersTransaction) {
    schema.admin(
        "CREATE TABLE src (a integer, b varchar(5)); CREATE TABLE dst (a integer, b varchar(5));"
        "INSERT INTO src VALUES (1, 'x'), (2, NULL), (3, 'z');");
    exec(kCopyBlock);
    EXPECT_EQ(rows("Select a, b From dst Order By a"), (Rows{"1|x", "2|∅", "3|z"}));
    conn->BeginTrans();
    exec(kCopyBlock);
    conn->RollbackTrans();
    EXPECT_EQ(rows("Select Count(*) From dst"), (Rows{"3"}));
}

TEST_F(TranslateSemantics, SelectIntoRefusesSeveralRowsAsOracleDoes) {
    schema.admin("CREATE TABLE src (a integer); INSERT INTO src VALUES (1), (2);");
    EXPECT_NE(error("Declare n Number; Begin Select a Into n From src; End;"), "");
    exec("Declare n Number; Begin Select a Into n From src Where rownum = 1; End;");
}

TEST_F(TranslateSemantics, InsideBlocksAColumnNameWinsOverAVariable) {
    schema.admin(
        "CREATE TABLE src (a integer, b varchar(5)); INSERT INTO src VALUES (1, 'x'), (5, 'x');");
    exec("Declare a Number := 5; Begin Update src Set b = 'y' Where a = 1; End;");
    EXPECT_EQ(rows("Select a, b From src Order By a"), (Rows{"1|y", "5|x"}));
}

}  // namespace
}  // namespace tk::connect
