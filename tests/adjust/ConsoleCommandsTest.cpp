// The console commands DBAs' scripts rely on: a script that stops on an error
// must say so by its exit status and leave no partial work behind; variables,
// server output, spool files and DESCRIBE must answer as Oracle's console does.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ConsoleRun.hpp"

namespace tk::am {
namespace {

const std::string kTable = "create table t (a number);\n";

// Each WHENEVER ends the run at the failing statement with its status and
// keeps or undoes the work before it; CONTINUE, the default, goes on.
TEST_F(Console, WheneverSqlErrorDecidesTheStatusAndTheWorkLeftBehind) {
    struct Case {
        std::string whenever;
        int status;
        bool goesOn;
        std::string rowsLeft;
    };
    const Case cases[] = {
        {"whenever sqlerror exit sql.sqlcode rollback", 942 % 256, false, "0\n"},
        {"WHENEVER SQLERROR EXIT FAILURE ROLLBACK;", 1, false, "0\n"},
        {"whenever sqlerror exit 3 commit", 3, false, "1\n"},
        {"whenever sqlerror exit", 0, false, "1\n"},
        {"whenever sqlerror exit failure\nwhenever sqlerror continue rollback", 0, true, "1\n"},
        {"whenever sqlerror continue", 0, true, "2\n"},
    };
    for (const Case& c : cases) {
        std::string out = run(kTable + c.whenever +
                              "\ninsert into t values (1);\nselect * from no_such_table;\n"
                              "insert into t values (2);\nprompt went on\n");
        EXPECT_EQ(status, c.status) << c.whenever;
        EXPECT_NE(out.find("ORA-00942"), std::string::npos) << out;
        EXPECT_EQ(out.find("went on") != std::string::npos, c.goesOn) << c.whenever << "\n" << out;
        EXPECT_EQ(rows("select count(*) from t;"), c.rowsLeft) << c.whenever;
        run("drop table t;\n");
    }
}

TEST_F(Console, WheneverAppliesToBlocksExecuteDescribeAndVariablesThatCannotBeFilledIn) {
    const std::string failures[] = {
        "begin\n  insert into no_such_table values (1);\nend;\n/", "exec no_such_procedure(1)",
        "desc no_such_table", "select &undefined from dual;", "select :undeclared from dual;"};
    for (const std::string& failure : failures) {
        std::string out = run("whenever sqlerror exit 9\n" + failure + "\nprompt went on\n");
        EXPECT_EQ(status, 9) << failure << "\n" << out;
        EXPECT_EQ(out.find("went on"), std::string::npos) << out;
    }
}

TEST_F(Console, ExitAndQuitGiveTheirStatusAndKeepOrUndoTheWork) {
    struct Case {
        std::string exit;
        int status;
        std::string rowsLeft;
    };
    const Case cases[] = {{"exit", 0, "1\n"},
                          {"exit 5 rollback", 5, "0\n"},
                          {"quit failure;", 1, "1\n"},
                          {"EXIT 300", 300 % 256, "1\n"},
                          {"exit sql.sqlcode", 0, "1\n"},
                          {"select * from no_such_table;\nexit sql.sqlcode", 942 % 256, "1\n"},
                          {"define rc = 4\nexit rc", 4, "1\n"},
                          {"variable rc number\nexec :rc := 6\nexit :rc rollback", 6, "0\n"}};
    for (const Case& c : cases) {
        run(kTable + "insert into t values (1);\n" + c.exit + "\ninsert into t values (2);\n");
        EXPECT_EQ(status, c.status) << c.exit;
        EXPECT_EQ(rows("select count(*) from t;"), c.rowsLeft) << c.exit;
        run("drop table t;\n");
    }
    std::string out = run("exit nonsense\nprompt still here\n");
    EXPECT_NE(out.find("SP2-0584"), std::string::npos) << out;
    EXPECT_NE(out.find("still here"), std::string::npos) << out;
}

TEST_F(Console, WheneverOsErrorStopsAtAScriptThatCannotBeRead) {
    std::string out = run("whenever oserror exit failure\n@@missing\nprompt went on\n");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("SP2-0310"), std::string::npos) << out;
    EXPECT_EQ(out.find("went on"), std::string::npos) << out;
    run("@@missing\nprompt went on\n");
    EXPECT_EQ(status, 0);
}

// A script run without a terminal cannot be asked for a value: a statement
// naming an undefined variable is not run.
TEST_F(Console, SubstitutesVariablesAndShowsTheLinesItChanged) {
    std::string out = run(kTable +
                              "define tab = t\nDEF col=\"a\"\nset feedback off\n"
                              "insert into &tab (&col)\n  values (&&n);\n"
                              "define n = 7\ninsert into &tab (&col)\n  values (&&n);\n"
                              "set verify off\nselect &col + &n total from &tab;\n"
                              "prompt &tab..&col &&n\ndefine col\ndefine\nundefine col n\n"
                              "define col\nselect '&col' from dual;\n"
                              "@@nested first 'second word'\n"
                              "set define off\nselect 'R&D' x from dual;\n"
                              "set define ^\nselect '^tab&x' y from dual;\n",
                          "prompt &1/&2\n");
    EXPECT_EQ(out,
              "Table created.\n"
              "SP2-0546: substitution variable \"n\" is not defined and no value can be asked for\n"
              "old   1: insert into &tab (&col)\nnew   1: insert into t (a)\n"
              "old   2:   values (&&n)\nnew   2:   values (7)\n"
              "TOTAL\n-----\n14\n"
              "t.a 7\n"
              "DEFINE COL             = \"a\" (CHAR)\n"
              "DEFINE COL             = \"a\" (CHAR)\nDEFINE N               = \"7\" (CHAR)\n"
              "DEFINE TAB             = \"t\" (CHAR)\n"
              "SP2-0135: symbol col is UNDEFINED\n"
              "SP2-0546: substitution variable \"col\" is not defined and no value can be asked "
              "for\n"
              "first/second word\n"
              "X\n-\nR&D\nY\n-\nt&x\n");
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The tool on a terminal: types `answer` when it first asks for a value, and
// ends it should it ask again.
std::string runOnTerminal(const std::string& user, const std::filesystem::path& script,
                          const std::string& answer) {
    const std::string tool = ConsoleScript::tool().string();
    const std::string logon = user + "/@" + test::testServer(), at = "@" + script.string();
    int terminal = -1;
    pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        execl(tool.c_str(), tool.c_str(), "-s", logon.c_str(), at.c_str(), nullptr);
        _exit(127);
    }
    std::string out;
    char chunk[4096];
    for (ssize_t n; (n = read(terminal, chunk, sizeof chunk)) > 0;) {
        out.append(chunk, static_cast<size_t>(n));
        size_t asked = occurrences(out, "Enter value for");
        if (asked > 1) break;
        if (asked == 1 && out.ends_with(": ") && write(terminal, answer.data(), answer.size()) < 0)
            break;
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(terminal);
    return out;
}

// On a terminal an undefined &name is asked for each time; &&name once, then kept.
TEST_F(Console, AsksATerminalForUndefinedVariables) {
    std::ofstream(folder.path() / "ask.sql")
        << "set verify off\nselect '&&v' x from dual;\nprompt &v/&v\nexit\n";
    std::string out = runOnTerminal(schema.name(), folder.path() / "ask.sql", "hello\n");
    EXPECT_NE(out.find("Enter value for v: hello"), std::string::npos) << out;
    EXPECT_EQ(occurrences(out, "Enter value for"), 1u) << out;
    EXPECT_NE(out.find("hello/hello"), std::string::npos) << out;
}

TEST_F(Console, BindVariablesGoIntoStatementsAndComeBackFromBlocks) {
    std::string out =
        run("create table t (a number, b varchar2(20), d date);\nset feedback off\n"
            "variable n number\nvar s varchar2(20)\nvariable d date\nprint n\n"
            "begin\n  :n := 2.5;\n  :s := 'it''s';\n  :d := To_Date('2024-03-01', 'YYYY-MM-DD');\n"
            "end;\n/\n"
            "print n s :d\nexec :n := :n * 2\n"
            "insert into t values (:n, :s, :d);\n"
            "select a, b, d, ':n' c from t where a = :n and b = :s;\n"
            "variable s\nprint nothing\nvariable q varchar3\n");
    EXPECT_EQ(out,
              "Table created.\nN\n-\n\n"
              "N\n-\n2.5\nS\n-\nit's\nD\n-\n2024-03-01 00:00:00\n"
              "A B D C\n- - - -\n5 it's 2024-03-01 00:00:00 :n\n"
              "variable   S\ndatatype   VARCHAR2(20)\n"
              "SP2-0552: Bind variable \"NOTHING\" not declared.\n"
              "SP2-0554: Invalid type \"varchar3\" for variable q.\n");
}

TEST_F(Console, ExecuteRunsAProcedureCall) {
    run(kTable +
        "create procedure add_row(x numeric) language plpgsql as $$\n"
        "begin insert into t values (x); end $$;\n/\n"
        "exec add_row(3)\nEXECUTE add_row(4);\nexec add_row( -\n  5)\n");
    EXPECT_EQ(rows("select a from t order by a;"), "3\n4\n5\n");
}

TEST_F(Console, ServerOutputShowsPutLinesBeforeTheFeedbackOnlyWhenOn) {
    const std::string block =
        "begin\n  dbms_output.put_line('line ' || 1);\n  dbms_output.put_line('line "
        "2');\nend;\n/\n";
    std::string out =
        run(block + "set serveroutput on size 1000000\n" + block + "set serverout off\n" + block);
    EXPECT_EQ(out,
              "PL/SQL procedure successfully completed.\n"
              "line 1\nline 2\nPL/SQL procedure successfully completed.\n"
              "PL/SQL procedure successfully completed.\n");
}

TEST_F(Console, SpoolCopiesTheOutputToAFile) {
    const std::string file = (folder.path() / "out").string();
    std::string out = run("prompt before\nspool " + file + "\nprompt one\nselect 1 n from dual;\n" +
                          "spool off\nprompt between\nspool " + file + ".lst append\nspool\n" +
                          "prompt two\nspool off\nspool\n");
    EXPECT_EQ(test::ReadFile(file + ".lst"),
              "one\nN\n-\n1\ncurrently spooling to " + file + ".lst\ntwo\n");
    EXPECT_TRUE(out.ends_with("two\nnot spooling currently\n")) << out;
    out = run("whenever oserror exit 4\nspool /no/such/folder/x.log\nprompt went on\n");
    EXPECT_NE(out.find("SP2-0606"), std::string::npos) << out;
    EXPECT_EQ(status, 4);
}

TEST_F(Console, DescribeListsTheColumnsAsOraclesConsole) {
    std::string out =
        run("create table t (a number(5,2) not null, b varchar2(10), c number, d date, "
            "e char(3), f varchar2(5) not null);\n"
            "desc t\ndescribe " +
            schema.name() + ".T;\ndesc no_such_table\n");
    const std::string table =
        " Name                                      Null?    Type\n"
        " ----------------------------------------- -------- ----------------------------\n"
        " A                                         NOT NULL NUMBER(5,2)\n"
        " B                                                  VARCHAR2(10)\n"
        " C                                                  NUMBER\n"
        " D                                                  DATE\n"
        " E                                                  CHAR(3)\n"
        " F                                         NOT NULL VARCHAR2(5)\n";
    EXPECT_EQ(out, "Table created.\n" + table + table +
                       "ERROR:\nORA-04043: object no_such_table does not exist\n");
}

}  // namespace
}  // namespace tk::am
