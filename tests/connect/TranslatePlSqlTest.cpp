#include <gtest/gtest.h>

#include "connect/OracleTranslator.hpp"

namespace tk::connect {
namespace {

std::string tr(std::string_view sql, bool inTransaction = false) {
    return OracleTranslator::translate(sql, inTransaction).sql;
}

const char* kCursorLoop =
    "DECLARE\n  CURSOR c IS\n  SELECT * from zt.src Where x = '';\n  v c%rowtype;\nBEGIN\n"
    "  OPEN c;\n  Loop\n    fetch c into v;\n    exit when  c%notfound;\n"
    "    insert into zt.dst d (a, b) values (v.a, Nvl(v.b, 0));\n  end loop;\n  close c;\n"
    "  commit;\nEND;\n/\n";

TEST(TranslatePlSql, CursorLoopBecomesADoBlock) {
    EXPECT_EQ(tr(kCursorLoop),
              "DO $tk$\n#variable_conflict use_column\nDECLARE\nc CURSOR FOR\nSELECT * from zt.src "
              "Where x = NULL;\nv record;\n"
              "BEGIN\nOPEN c;\nLoop\nfetch c into v;\nexit when NOT FOUND;\n"
              "insert into zt.dst AS d (a, b) values (v.a, COALESCE(v.b, '0'));\nend loop;\n"
              "close c;\nCOMMIT;\nEND;\n$tk$");
}

TEST(TranslatePlSql, InsideATransactionCommitIsLeftToTheCaller) {
    std::string out = tr(kCursorLoop, true);
    EXPECT_EQ(out.find("COMMIT;"), std::string::npos) << out;
    EXPECT_NE(out.find("NULL /* commit left to the caller's transaction */;"), std::string::npos)
        << out;
}

TEST(TranslatePlSql, ProcedureCallBlocks) {
    EXPECT_EQ(tr("begin \nz_adj_compileObject;\nend;\n/\n"), "CALL z_adj_compileObject()");
    EXPECT_EQ(tr("Begin zt.Recalc(5, b || ''); End;"),
              "CALL zt.Recalc(5, NULLIF(concat(oracompat.to_char(b), NULL), ''))");
    EXPECT_EQ(tr("Begin p1; p2(1); End;"),
              "DO $tk$\n#variable_conflict use_column\nBegin CALL p1(); CALL p2(1); End;\n$tk$");
}

TEST(TranslatePlSql, ControlFlowAndAssignments) {
    EXPECT_EQ(
        tr("Declare n Number(10) := 0; s Varchar2(10); Begin If n = 0 Then s := 'a' || s; "
           "Elsif n > 1 Then Null; Else s := Decode(n, 1, 'x'); End If; End;"),
        "DO $tk$\n#variable_conflict use_column\nDECLARE n bigint := 0; s varchar(10); Begin "
        "If n = 0 Then s := "
        "concat('a', oracompat.to_char(s)); Elsif n > 1 Then Null; Else s := (CASE WHEN n = '1' "
        "THEN 'x' END); End If; End;\n$tk$");
}

// Oracle raises NO_DATA_FOUND / TOO_MANY_ROWS for SELECT … INTO.
TEST(TranslatePlSql, SelectIntoIsStrict) {
    EXPECT_EQ(tr("Declare n Number; Begin Select Count(*) Into n From t Where rownum = 1; End;"),
              "DO $tk$\n#variable_conflict use_column\nDECLARE n numeric; Begin Select Count(*) "
              "Into STRICT n From (SELECT * "
              "FROM t LIMIT 1) t; End;\n$tk$");
}

TEST(TranslatePlSql, QueryLoopDeclaresItsRecord) {
    EXPECT_EQ(tr("Begin For r In (Select a From t) Loop Update u Set b = r.a; End Loop; End;"),
              "DO $tk$\n#variable_conflict use_column\nDECLARE\nr record;\nBegin For r In Select a "
              "From t Loop Update u Set b = "
              "r.a; End Loop; End;\n$tk$");
}

TEST(TranslatePlSql, CursorAttributesOnlyRightAfterTheirFetch) {
    EXPECT_THROW(tr("Declare Cursor c Is Select 1 From dual; Begin Open c; Loop Exit When "
                    "c%notfound; End Loop; End;"),
                 TranslationError);
    EXPECT_THROW(tr("Declare Cursor c Is Select a From t; v c%rowtype; Begin Open c; Loop Fetch "
                    "c Into v; Insert Into u Values (v.a); Exit When c%notfound; End Loop; End;"),
                 TranslationError);
    EXPECT_THROW(tr("Declare Cursor c Is Select a From t; v c%rowtype; Begin Open c; Fetch c "
                    "Into v; While c%found Loop Fetch c Into v; End Loop; End;"),
                 TranslationError);
    EXPECT_THROW(tr("Begin If c%rowcount > 1 Then Null; End If; End;"), TranslationError);
    EXPECT_EQ(tr("Begin Update t Set a = 1; If SQL%notfound Then Insert Into t Values (1); End "
                 "If; End;"),
              "DO $tk$\n#variable_conflict use_column\nBegin Update t Set a = 1; If NOT FOUND "
              "Then Insert Into t Values (1); End If; End;\n$tk$");
    EXPECT_THROW(tr("Declare e Exception; Begin Null; End;"), TranslationError);
}

TEST(TranslatePlSql, ExceptionNamesAndMessages) {
    EXPECT_EQ(tr("Begin Insert Into t Values (1); Exception When Dup_Val_On_Index Then "
                 "raise_application_error(-20001, 'dup ' || 'key'); End;"),
              "DO $tk$\n#variable_conflict use_column\nBegin Insert Into t Values (1); Exception "
              "When unique_violation Then "
              "RAISE EXCEPTION '%', concat('dup ', 'key'); End;\n$tk$");
}

TEST(TranslatePlSql, DollarQuoteTagAvoidsTheBody) {
    EXPECT_EQ(tr("Begin Insert Into t Values ('$tk$'); End;"),
              "DO $tk1$\n#variable_conflict use_column\nBegin Insert Into t Values ('$tk$'); "
              "End;\n$tk1$");
}

}  // namespace
}  // namespace tk::connect
