// Procedures, functions and triggers as a DBA's Oracle script writes them, created through the
// connection and run: each must answer as Oracle would where PostgreSQL's own habit differs.
#include <gtest/gtest.h>

#include "OracleTextFixture.hpp"

namespace tk::connect {
namespace {

class StoredUnits : public OracleTextFixture {
  protected:
    StoredUnits() : OracleTextFixture("units") {}

    void SetUp() override {
        exec(
            "create table emp (id number(6) primary key, name varchar2(30), sal number(10,2),"
            " dept number(4), note varchar2(40))");
        exec(
            "create table emp_log (id number(6), action varchar2(10), old_sal number(10,2),"
            " new_sal number(10,2))");
        exec("create sequence emp_seq start with 1 nocache");
    }
};

// A procedure keeps its parameters' modes and defaults; a name it cannot
// find is NO_DATA_FOUND, caught inside; its COMMIT is the caller's to make.
TEST_F(StoredUnits, AProcedureWithModesDefaultsAndACaughtNoDataFound) {
    exec(
        "create or replace procedure add_emp(p_name in varchar2, p_sal in number default 1000,\n"
        "  p_id out number) is\n"
        "begin\n"
        "  insert into emp (id, name, sal) values (emp_seq.nextval, p_name, p_sal)\n"
        "    returning id into p_id;\n"
        "  commit;\n"
        "end add_emp;\n/");
    exec(
        "create or replace procedure raise_sal(p_name emp.name%type, p_pct number) as\n"
        "  v_id emp.id%type;\n"
        "begin\n"
        "  select id into v_id from emp where name = p_name;\n"
        "  update emp set sal = round(sal * (1 + p_pct / 100), 2) where id = v_id;\n"
        "exception\n"
        "  when no_data_found then\n"
        "    insert into emp_log (id, action) values (0, 'missing');\n"
        "end;");
    exec("declare n number; begin add_emp('Ann', p_id => n); add_emp('Bob', 2000, n); end;");
    exec("begin raise_sal('Ann', 10); raise_sal('Nobody', 10); end;");
    EXPECT_EQ(text("select sum(sal) from emp"), "3100");
    EXPECT_EQ(text("select action from emp_log"), "missing");
}

// A function divides exactly and takes '' for NULL, as Oracle does; its
// errors keep their number; SQL%ROWCOUNT counts the rows of the statement before.
TEST_F(StoredUnits, AFunctionDividesExactlyAndTakesEmptyTextForNull) {
    exec("insert into emp (id, name, sal, dept) values (1, 'Ann', 1000, 10)");
    exec("insert into emp (id, name, sal, dept) values (2, 'Bob', 2000, 10)");
    exec(
        "create or replace function share_of(p_id in number) return number is\n"
        "  v_sal emp.sal%type; v_total number;\n"
        "begin\n"
        "  select sal into v_sal from emp where id = p_id;\n"
        "  select sum(sal) into v_total from emp;\n"
        "  return v_sal / v_total;\n"
        "end share_of;\n/");
    EXPECT_EQ(text("select round(share_of(1), 4) from dual"), "0.3333");
    exec(
        "create or replace function is_blank(p varchar2) return varchar2 is\n"
        "begin if p is null then return 'Y'; end if; return 'N'; end;");
    EXPECT_EQ(text("select is_blank('') from dual"), "Y");
    exec(
        "create or replace function raise_all(p_pct number) return number is\n"
        "begin\n"
        "  update emp set sal = sal * (1 + p_pct / 100);\n"
        "  if sql%rowcount = 0 then raise_application_error(-20010, 'nobody to raise'); end if;\n"
        "  return sql%rowcount;\n"
        "end;");
    EXPECT_EQ(text("select raise_all(10) from dual"), "2");
    exec("delete from emp");
    EXPECT_NE(errorOf("select raise_all(10) from dual").find("ORA-20010: nobody to raise"),
              std::string::npos);
}

// Row triggers read :NEW and :OLD, set :NEW before the row is written, tell
// INSERTING from UPDATING, fire only for the columns named and their WHEN;
// ALTER TRIGGER turns one off and on again; DROP removes it.
TEST_F(StoredUnits, RowTriggersAsOracleRunsThem) {
    exec(
        "create or replace trigger emp_bi before insert or update of sal on emp\n"
        "for each row\n"
        "when (new.sal > 0)\n"
        "declare\n"
        "  v_action varchar2(10);\n"
        "begin\n"
        "  if inserting then v_action := 'insert'; :new.note := 'new ' || :new.name;\n"
        "  elsif updating then v_action := 'update'; end if;\n"
        "  insert into emp_log values (:new.id, v_action, :old.sal, :new.sal);\n"
        "end emp_bi;\n/");
    exec("insert into emp (id, name, sal) values (1, 'Ann', 1000)");
    exec("insert into emp (id, name, sal) values (2, 'Zero', 0)");
    exec("update emp set sal = 1500 where id = 1");
    exec("update emp set name = 'Anna' where id = 1");
    EXPECT_EQ(text("select note from emp where id = 1"), "new Ann");
    EXPECT_EQ(text("select note from emp where id = 2"), "<null>") << "WHEN keeps it out";
    EXPECT_EQ(text("select count(*) from emp_log"), "2") << "a name change is not a sal update";
    EXPECT_EQ(text("select action || ':' || old_sal || ':' || new_sal from emp_log where action"
                   " = 'update'"),
              "update:1000:1500");

    exec("alter trigger emp_bi disable");
    exec("update emp set sal = 1600 where id = 1");
    EXPECT_EQ(text("select count(*) from emp_log"), "2");
    exec("alter trigger emp_bi enable");
    exec("update emp set sal = 1700 where id = 1");
    EXPECT_EQ(text("select count(*) from emp_log"), "3");

    exec(
        "create or replace trigger emp_ad after delete on emp for each row\n"
        "begin insert into emp_log (id, action, old_sal) values (:old.id, 'delete', :old.sal);"
        " end;");
    exec("delete from emp where id = 2");
    EXPECT_EQ(text("select old_sal from emp_log where action = 'delete'"), "0");
    exec("drop trigger emp_bi");
    exec("insert into emp (id, name, sal) values (3, 'Cy', 100)");
    EXPECT_EQ(text("select count(*) from emp_log where id = 3"), "0");
}

// A user exception is raised and caught by its name; one nobody catches
// reaches the caller as Oracle reports it; a cursor loop and dynamic SQL with
// binds run as written.
TEST_F(StoredUnits, UserExceptionsCursorLoopsAndDynamicSql) {
    exec("insert into emp (id, name, sal, dept) values (1, 'Ann', 1000, 10)");
    exec("insert into emp (id, name, sal, dept) values (2, 'Bob', 2000, 10)");
    exec(
        "create or replace procedure check_budget(p_dept number, p_limit number) is\n"
        "  over_budget exception;\n"
        "  v_total number := 0;\n"
        "  cursor c_staff is select sal from emp where dept = p_dept;\n"
        "begin\n"
        "  for r in c_staff loop v_total := v_total + r.sal; end loop;\n"
        "  if v_total > p_limit then raise over_budget; end if;\n"
        "  execute immediate 'insert into emp_log (id, action, new_sal) values (:d, :a, :s)'\n"
        "    using p_dept, 'ok', v_total;\n"
        "end;\n/");
    exec("begin check_budget(10, 5000); end;");
    EXPECT_EQ(text("select action || ':' || new_sal from emp_log"), "ok:3000");
    EXPECT_NE(errorOf("begin check_budget(10, 100); end;").find("ORA-06510"), std::string::npos);
    exec(
        "declare over_budget exception; begin raise over_budget; exception when over_budget"
        " then insert into emp_log (id, action) values (9, 'caught'); end;");
    EXPECT_EQ(text("select count(*) from emp_log where action = 'caught'"), "1");
}

// What cannot be carried over is refused with the construct and its line,
// and nothing of it is created.
TEST_F(StoredUnits, WhatCannotBeTranslatedIsRefusedWithItsLine) {
    std::string error = errorOf(
        "create or replace procedure p is\n  n number;\nbegin\n  null;\n  if c%isopen then null; "
        "end if;\nend;");
    EXPECT_NE(error.find("ORA-00900"), std::string::npos) << error;
    EXPECT_NE(error.find("line 5"), std::string::npos) << error;
    EXPECT_NE(errorOf("create or replace package pk is procedure p; end pk;").find("PACKAGE"),
              std::string::npos);
    EXPECT_NE(errorOf("begin p; end;"), "") << "no procedure p was created";
}

}  // namespace
}  // namespace tk::connect
