#include <gtest/gtest.h>

#include "connect/OracleTranslator.hpp"

namespace tk::connect {
namespace {

std::string tr(std::string_view sql) { return OracleTranslator::translate(sql, false).sql; }

TEST(TranslateDdl, CreateTableMapsTypesAndDropsStorage) {
    EXPECT_EQ(tr("Create Table zt.T (a Number(10), b Number(18,2), c Number, d Varchar2(20 Byte) "
                 "Default ' ' Not Null, e Date, f Integer, g Clob, h Number(5, 0), "
                 "Constraint T_PK Primary Key (a)) Tablespace users Nologging"),
              "Create Table zt.T (a bigint, b numeric(18,2), c numeric, d varchar(20) Default ' ' "
              "Not Null, e oracompat.date, f integer, g text, h integer, Constraint T_PK Primary "
              "Key (a))");
    EXPECT_EQ(tr("Create Table zt.T nologging As Select * From zt.U"),
              "Create Table zt.T As Select * From zt.U");
}

TEST(TranslateDdl, CreateSequenceInPostgreSQLWords) {
    EXPECT_EQ(tr(" Create Sequence zt.X_SEQ MinValue 1 MaxValue 2147483647 Start With 5 Increment "
                 "By 1 Cache 20 Cycle"),
              "Create Sequence zt.X_SEQ MinValue 1 MaxValue 2147483647 Start With 5 Increment By 1 "
              "Cache 20 Cycle");
    EXPECT_EQ(tr("Create Sequence X_SEQ NoCache NoCycle NoMaxValue Order"),
              "Create Sequence X_SEQ NO CYCLE NO MAXVALUE");
}

TEST(TranslateDdl, AlterTableAddsColumnsOneByOne) {
    EXPECT_EQ(tr("Alter Table T Add (a Varchar2(10) Default ' ' Not Null, b Number(18,2))"),
              "Alter Table T ADD COLUMN a varchar(10) Default ' ' Not Null, ADD COLUMN b "
              "numeric(18,2)");
    EXPECT_EQ(tr("Alter Table T Add c Varchar2(5)"), "Alter Table T Add c varchar(5)");
    EXPECT_EQ(tr("Alter Table T Modify (a Varchar2(20) Default 'x' Not Null)"),
              "Alter Table T ALTER COLUMN a TYPE varchar(20), ALTER COLUMN a SET DEFAULT 'x', "
              "ALTER COLUMN a SET NOT NULL");
}

TEST(TranslateDdl, StorageOnlyStatementsBecomeExistenceChecks) {
    EXPECT_EQ(tr("Alter Table zt.AMAssetFundDaily nologging"),
              "SELECT 'zt.amassetfunddaily'::regclass");
    EXPECT_EQ(tr("ALTER FUNCTION zt.GetNextPeriod COMPILE"),
              "SELECT oracompat.compile_routine('zt', 'getnextperiod')");
    EXPECT_EQ(tr("Alter Procedure P Compile"), "SELECT oracompat.compile_routine(NULL, 'p')");
    EXPECT_EQ(tr("alter session set events 'immediate trace name DROP_SEGMENTS level 3'"),
              "SELECT NULL WHERE false");
    EXPECT_THROW(tr("Alter Function f Rename To g"), TranslationError);
    EXPECT_THROW(tr("Alter Session Set current_schema = x"), TranslationError);
}

TEST(TranslateDdl, DropAndTruncateLoseOracleOptions) {
    EXPECT_EQ(tr("Drop Table zt.T Cascade Constraints Purge"), "Drop Table zt.T Cascade");
    EXPECT_EQ(tr("Truncate Table zt.T Reuse Storage"), "Truncate Table zt.T");
    EXPECT_EQ(tr("Drop Sequence zt.X_SEQ"), "Drop Sequence zt.X_SEQ");
}

TEST(TranslateDdl, StoredUnitsAreRefused) {
    EXPECT_THROW(tr("Create Or Replace Procedure p Is Begin Null; End;"), TranslationError);
}

}  // namespace
}  // namespace tk::connect
