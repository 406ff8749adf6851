// Oracle DDL in PostgreSQL words: column types, storage clauses dropped,
// ALTER forms, and storage-only statements turned into harmless checks.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(TranslateDdl, TablesAndSequencesInPostgreSQLWords) {
    expectRewrites({
        // Types mapped, storage clauses dropped.
        {"Create Table zt.T (a Number(10), b Number(18,2), c Number, d Varchar2(20 Byte) "
         "Default ' ' Not Null, e Date, f Integer, g Clob, h Number(5, 0), "
         "Constraint T_PK Primary Key (a)) Tablespace users Nologging",
         "Create Table zt.T (a bigint, b numeric(18,2), c numeric, d varchar(20) Default ' ' "
         "Not Null, e oracompat.date, f integer, g text, h integer, Constraint T_PK Primary "
         "Key (a))"},
        {"Create Table zt.T nologging As Select * From zt.U",
         "Create Table zt.T As Select * From zt.U"},
        {"Create Sequence X_SEQ NoCache NoCycle NoMaxValue Order",
         "Create Sequence X_SEQ NO CYCLE NO MAXVALUE"},
        // Added columns one by one.
        {"Alter Table T Add c Varchar2(5)", "Alter Table T Add c varchar(5)"},
        {"Alter Table T Modify (a Varchar2(20) Default 'x' Not Null)",
         "Alter Table T ALTER COLUMN a TYPE varchar(20), ALTER COLUMN a SET DEFAULT 'x', "
         "ALTER COLUMN a SET NOT NULL"},
        // Drop and truncate lose Oracle's options.
        {"Drop Table zt.T Cascade Constraints Purge", "Drop Table zt.T Cascade"},
        {"Truncate Table zt.T Reuse Storage", "Truncate Table zt.T"},
    });
    expectRefused({"Create Or Replace Package pk Is Procedure p; End pk;"});
}

TEST(TranslateDdl, StorageOnlyStatementsBecomeExistenceChecks) {
    EXPECT_EQ(tr("Alter Procedure P Compile"), "SELECT oracompat.compile_routine(NULL, 'p')");
    EXPECT_EQ(tr("alter session set events 'immediate trace name DROP_SEGMENTS level 3'"),
              "SELECT NULL WHERE false");
    EXPECT_THROW(tr("Alter Function f Rename To g"), TranslationError);
    EXPECT_THROW(tr("Alter Session Set current_schema = x"), TranslationError);
}

}  // namespace
}  // namespace tk::translate
