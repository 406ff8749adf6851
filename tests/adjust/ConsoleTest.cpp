// The console tool the adjustment runs scripts through must answer as
// Oracle's console does: its texts, nested scripts, "/" and rollback.
#include <gtest/gtest.h>

#include "ConsoleRun.hpp"

namespace tk::am {
namespace {

// Oracle's console answers these lines with exactly these texts.
TEST_F(Console, AnswersAsOraclesConsole) {
    std::string out = run(
        "set pages 0;\nset heading off;\nset long 545128448;\n"
        "create table t (a number, b varchar2(10));\n"
        "insert into t values (1, 'x');\n"
        "begin\n  insert into t values (2, 'y');\n  update t set b = 'z' where a = 1;\nend;\n/\n"
        "select a, b from t order by a;\n"
        "select a from t where a > 5;\n"
        "update t set b = Nvl(null, 'w');\n"
        "select Decode(b, 'w', 'yes', 'no') from t where a = 2;\n"
        "select * from no_such_table;\n"
        "select 1/0 from dual;\n"
        "exit;\n"
        "insert into t values (3, 'after exit');\n");
    EXPECT_EQ(out,
              "Table created.\n1 row created.\nPL/SQL procedure successfully completed.\n"
              "1 z\n2 y\nno rows selected\n2 rows updated.\nyes\n"
              "ERROR at line 1:\nORA-00942: relation \"no_such_table\" does not exist\n"
              "ERROR at line 1:\nORA-01476: division by zero\n");
}

TEST_F(Console, FollowsNestedScriptsAndRunsTheLastStatementAgainOnSlash) {
    std::string out =
        run("create table t (a number);\ninsert into t values (1);\n/\n@@nested\n@missing.sql\n"
            "select count(*) from t;\n",
            "--a comment\nset feedback off\ninsert into t values (2);\n");
    EXPECT_NE(out.find("1 row created.\n1 row created.\n"), std::string::npos) << out;
    EXPECT_NE(out.find("SP2-0310: unable to open file"), std::string::npos) << out;
    EXPECT_TRUE(out.ends_with("COUNT\n-----\n3\n")) << out;
}

TEST_F(Console, WorkEndsKeptAndRollbackUndoesIt) {
    run("create table t (a number);\ninsert into t values (1);\nrollback;\n"
        "insert into t values (2);\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(rows("select a from t;"), "2\n");
}

}  // namespace
}  // namespace tk::am
