// A schema script as Oracle DBAs write it, statement by statement through the connection:
// indexes taken over by keys, storage clauses, constraints switched off and on, read-only and
// checked views. Each must leave the tables behaving as they would in Oracle.
#include <gtest/gtest.h>

#include "OracleTextFixture.hpp"

namespace tk::connect {
namespace {

class OracleSchemaScript : public OracleTextFixture {
  protected:
    OracleSchemaScript() : OracleTextFixture("ddl") {}

    std::string indexesOf(const std::string& table) {
        return text("select count(*) from pg_catalog.pg_indexes where schemaname = '" +
                    schema.name() + "' and tablename = '" + table + "'");
    }
};

// A key takes over the index made for it before, unique or not, and the
// storage words around tables and indexes are accepted.
TEST_F(OracleSchemaScript, KeysTakeOverTheirIndexesAndStorageClausesPass) {
    exec(
        "create table dept (deptno number(4) not null, dname varchar2(30))\n"
        "  pctfree 10 pctused 40 initrans 1 maxtrans 255 storage (initial 64k next 1m)\n"
        "  tablespace users logging nocache monitoring segment creation immediate");
    exec("create unique index pk_dept on dept (deptno) tablespace users pctfree 10");
    exec("alter table dept add constraint pk_dept primary key (deptno)");
    EXPECT_EQ(indexesOf("dept"), "1");
    exec(
        "create table emp (empno number(6), deptno number(4), ename varchar2(30),\n"
        "  constraint pk_emp primary key (empno) using index tablespace users,\n"
        "  constraint uk_emp unique (ename) using index pctfree 5 tablespace users)\n"
        "  organization heap enable row movement");
    exec("create index emp_dept_ix on emp (deptno)");
    exec("alter table emp add constraint emp_dept_ix unique (deptno) using index emp_dept_ix");
    EXPECT_EQ(indexesOf("emp"), "3");
    exec(
        "create table lookup (code varchar2(10), label varchar2(30),\n"
        "  constraint pk_lookup primary key (code)) organization index");
    exec("insert into dept values (10, 'A')");
    EXPECT_NE(errorOf("insert into dept values (10, 'B')").find("ORA-00001"), std::string::npos);
    exec("comment on table dept is '部门'");
    exec("comment on column dept.dname is '部门名称'");
    EXPECT_EQ(text("select obj_description('dept'::regclass)"), "部门");
}

// A disabled foreign key lets rows through unchecked; enabling it checks
// every row and is refused while one breaks it.
TEST_F(OracleSchemaScript, ADisabledForeignKeyIsCheckedWhenEnabledAgain) {
    exec("create table parent (id number(6) constraint pk_parent primary key)");
    exec(
        "create table child (id number(6), parent_id number(6),\n"
        "  constraint fk_child_parent foreign key (parent_id) references parent (id))");
    exec("alter table child disable constraint fk_child_parent");
    exec("insert into child values (1, 99)");
    EXPECT_NE(errorOf("alter table child enable constraint fk_child_parent").find("ORA-02291"),
              std::string::npos);
    exec("insert into parent values (99)");
    exec("alter table child enable validate constraint fk_child_parent");
    EXPECT_NE(errorOf("insert into child values (2, 7)").find("ORA-02291"), std::string::npos);
    exec("alter table child modify constraint fk_child_parent disable");
    exec("insert into child values (2, 7)");
    EXPECT_NE(errorOf("alter table child enable constraint no_such").find("ORA-02430"),
              std::string::npos);
}

// A read-only view refuses writes; a checked one refuses rows it would not
// show; a view's column list and replacement are as Oracle has them.
TEST_F(OracleSchemaScript, ViewsReadOnlyAndChecked) {
    exec("create table item (id number(6), qty number(6))");
    exec("insert into item values (1, 5)");
    exec(
        "create or replace view item_ro (item_id, quantity) as select id, qty from item"
        " with read only");
    EXPECT_EQ(text("select quantity from item_ro where item_id = 1"), "5");
    EXPECT_NE(errorOf("insert into item_ro values (2, 1)"), "");
    exec(
        "create or replace view item_big as select id, qty from item where qty > 3"
        " with check option constraint item_big_ck");
    exec("insert into item_big values (3, 10)");
    EXPECT_NE(errorOf("insert into item_big values (4, 1)"), "");
    EXPECT_EQ(text("select count(*) from item"), "2");
}

}  // namespace
}  // namespace tk::connect
