// PL/SQL blocks become CALLs or DO blocks; cursor attributes are accepted only
// where PostgreSQL can give the same answer.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(TranslatePlSql, BlocksBecomeCallsOrDoBlocks) {
    expectRewrites({
        {"Begin zt.Recalc(5, b || ''); End;",
         "CALL zt.Recalc(5, NULLIF(concat(oracompat.to_char(b), NULL), ''))"},
        {"Begin p1; p2(1); End;",
         "DO $tk$\n#variable_conflict use_column\nBegin CALL p1(); CALL p2(1); End;\n$tk$"},
        {"Declare n Number(10) := 0; s Varchar2(10); Begin If n = 0 Then s := 'a' || s; "
         "Elsif n > 1 Then Null; Else s := Decode(n, 1, 'x'); End If; End;",
         "DO $tk$\n#variable_conflict use_column\nDECLARE n bigint := 0; s varchar(10); Begin "
         "If n = 0 Then s := "
         "concat('a', oracompat.to_char(s)); Elsif n > 1 Then Null; Else s := (CASE WHEN n = '1' "
         "THEN 'x' END); End If; End;\n$tk$"},
        {"Begin For r In (Select a From t) Loop Update u Set b = r.a; End Loop; End;",
         "DO $tk$\n#variable_conflict use_column\nDECLARE\nr record;\nBegin For r In Select a "
         "From t Loop Update u Set b = "
         "r.a; End Loop; End;\n$tk$"},
        {"Begin Insert Into t Values (1); Exception When Dup_Val_On_Index Then "
         "raise_application_error(-20001, 'dup ' || 'key'); End;",
         "DO $tk$\n#variable_conflict use_column\nBegin Insert Into t Values (1); Exception "
         "When unique_violation Then "
         "RAISE EXCEPTION 'ORA-20001: %', concat('dup ', 'key'); End;\n$tk$"},
        // Output and application errors alone are no procedure calls.
        {"Begin dbms_output.put_line('x'); End;",
         "DO $tk$\n#variable_conflict use_column\nBegin RAISE NOTICE '%', 'x'; End;\n$tk$"},
        {"Begin raise_application_error(-20001, 'no'); End;",
         "DO $tk$\n#variable_conflict use_column\nBegin RAISE EXCEPTION 'ORA-20001: %', 'no'; "
         "End;\n$tk$"},
        // The dollar-quote tag avoids the body.
        {"Begin Insert Into t Values ('$tk$'); End;",
         "DO $tk1$\n#variable_conflict use_column\nBegin Insert Into t Values ('$tk$'); "
         "End;\n$tk1$"},
    });
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
}

}  // namespace
}  // namespace tk::translate
