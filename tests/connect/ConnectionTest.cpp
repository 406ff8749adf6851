// The connection as the component uses it: recordsets and their field names,
// Oracle error codes, statement rollback in transactions, updates and calls.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Command.hpp"
#include "connect/Connection.hpp"
#include "connect/Session.hpp"

namespace tk::connect {
namespace {

using test::TestSchema;

std::string errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RunTimeError& e) {
        return e.description();
    }
    return "";
}

class ConnectionTest : public ::testing::Test {
  protected:
    TestSchema schema{"conn"};
    std::shared_ptr<Connection> conn = schema.connect();

    void exec(const std::string& sql) { test::ExecuteOk(*conn, sql); }
    Variant scalar(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        return rs->field(0);
    }
};

TEST_F(ConnectionTest, RecordsetReadsFieldsAsTheComponentNamesThem) {
    exec("Create Table head (lngID integer, strName varchar(20), dblAmount numeric(18,2))");
    exec("Create Table ver (lngID integer, strName varchar(20))");
    exec("Insert Into head Values (1, '机器', 12.5)");
    exec("Insert Into ver Values (1, 'version')");
    auto rs =
        conn->GetRecordset("Select h.*, v.* From head h, ver v Where h.lngID = v.lngID", 3, 1);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("STRNAME").toText(), "机器");  // the head's column wins
    EXPECT_EQ(rs->field("lngid").type(), Variant::Type::I4);
    EXPECT_DOUBLE_EQ(rs->field("dblAmount").toDouble(), 12.5);
    EXPECT_EQ(rs->fieldName(0), "lngid");
    EXPECT_FALSE(rs->bof());
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_NE(errorOf([&] { rs->field("strName"); }), "");
    EXPECT_NE(errorOf([&] { rs->moveNext(); }), "");
}

TEST_F(ConnectionTest, EmptyRecordsetIsAtBothEnds) {
    exec("Create Table t (a integer)");
    auto rs = conn->GetRecordset("Select a From t", 3, 1);
    bool empty = false;
    conn->IsRsEmpty(rs, empty);
    EXPECT_TRUE(empty);
    EXPECT_TRUE(rs->bof() && rs->eof());
    conn->CloseRs(rs);
    EXPECT_EQ(rs, nullptr);
}

TEST_F(ConnectionTest, ErrorsCarryTheOracleCodesTheComponentReads) {
    exec("Create Table t (a integer primary key, b varchar(5) not null, c integer)");
    exec("Insert Into t Values (1, 'x', 1)");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Values (1, 'y', 1)"); }).substr(0, 9), "ORA-00001");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Values (2, 'y')"); }).substr(0, 9), "ORA-00947");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Values (2, 'y', 1, 4)"); }).substr(0, 9),
              "ORA-00913");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Select 3, 'z' From dual"); }).substr(0, 9),
              "ORA-00947");
    EXPECT_EQ(errorOf([&] { exec("Insert Into nowhere Values (1)"); }).substr(0, 9), "ORA-00942");
    EXPECT_EQ(errorOf([&] { exec("Select nosuch From t"); }).substr(0, 9), "ORA-00904");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t (a, b) Values (4, Null)"); }).substr(0, 9),
              "ORA-01400");
    EXPECT_EQ(scalar("Select Count(*) From t").toInt32(), 1);
    // inside a transaction the count rides with the row; a refused row is undone alone
    conn->BeginTrans();
    exec("Insert Into t Values (5, 'v', 1)");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Values (6, 'w')"); }).substr(0, 9), "ORA-00947");
    EXPECT_EQ(errorOf([&] { exec("Insert Into t Values (6, 'w', 1, 4)"); }).substr(0, 9),
              "ORA-00913");
    EXPECT_EQ(scalar("Select Count(*) From t").toInt32(), 2);
    conn->RollbackTrans();
}

TEST_F(ConnectionTest, InsideATransactionAFailingStatementUndoesOnlyItself) {
    exec("Create Table t (a integer primary key)");
    conn->BeginTrans();
    exec("Insert Into t Values (1)");
    EXPECT_NE(errorOf([&] { exec("Insert Into t Values (1)"); }), "");
    exec("Insert Into t Values (2)");
    conn->RollbackTrans();
    EXPECT_EQ(scalar("Select Count(*) From t").toInt32(), 0);

    conn->BeginTrans();
    exec("Insert Into t Values (1)");
    EXPECT_NE(errorOf([&] { exec("Insert Into t Values (1)"); }), "");
    exec("Insert Into t Values (2)");
    conn->CommitTrans();
    EXPECT_EQ(scalar("Select Count(*) From t").toInt32(), 2);
}

TEST_F(ConnectionTest, UpdatableRecordsetWritesBackAndAddsRows) {
    exec("Create Table counter (lngID integer primary key, intNo integer, strNote varchar(20))");
    exec("Insert Into counter Values (1, 5, 'a')");
    auto rs = conn->GetRecordset("Select * From counter Where lngID = 1", 2, 3);
    rs->setField("intNo", Variant(rs->field("intNo").toInt32() + 1));
    rs->update();
    rs->addNew();
    rs->setField("lngID", Variant(int32_t{2}));
    rs->setField("intNo", Variant(int32_t{1}));
    rs->update();
    EXPECT_EQ(scalar("Select intNo From counter Where lngID = 1").toInt32(), 6);
    EXPECT_EQ(scalar("Select Count(*) From counter").toInt32(), 2);
    auto readOnly = conn->GetRecordset("Select * From counter", 3, 1);
    EXPECT_NE(errorOf([&] { readOnly->addNew(); }), "");
}

TEST_F(ConnectionTest, StaleRecordsetUpdateFailsAndWritesNothing) {
    exec("Create Table counter (lngID integer primary key, intNo integer)");
    exec("Insert Into counter Values (1, 5)");
    auto first = conn->GetRecordset("Select * From counter", 2, 3);
    auto second = schema.connect()->GetRecordset("Select * From counter", 2, 3);
    first->setField("intNo", Variant(int32_t{6}));
    first->update();
    second->setField("intNo", Variant(int32_t{6}));
    EXPECT_NE(errorOf([&] { second->update(); }), "");
    EXPECT_EQ(scalar("Select intNo From counter").toInt32(), 6);
}

TEST_F(ConnectionTest, CommandCallsFunctionsAndProcedures) {
    schema.admin(
        "CREATE FUNCTION calc(a integer, w numeric, s varchar) RETURNS float8 LANGUAGE sql AS "
        "$$ SELECT a + w + length(s) $$;"
        "CREATE TABLE calls (n integer);"
        "CREATE PROCEDURE remember(n integer) LANGUAGE sql AS $$ INSERT INTO calls VALUES (n) $$;");
    Command cmd;
    cmd.ActiveConnection = conn;
    cmd.CommandText = "{?=Call " + schema.name() + ".calc(?,?,?)}";
    cmd.parameter(0) = {Command::adDouble, Command::adParamReturnValue, 0, {}};
    cmd.parameter(1) = {Command::adInteger, Command::adParamInput, 0, Variant(int16_t{2})};
    cmd.parameter(2) = {Command::adNumeric, Command::adParamInput, 0, Variant(0.25)};
    cmd.parameter(3) = {Command::adVarChar, Command::adParamInput, 4, Variant("资产")};
    cmd.CommandTimeout = 0;
    cmd.Execute();
    EXPECT_DOUBLE_EQ(cmd.parameter(0).value.toDouble(), 4.25);

    cmd.parameter(3).value = Variant("toolong");
    EXPECT_NE(errorOf([&] { cmd.Execute(); }), "");

    Command proc;
    proc.ActiveConnection = conn;
    proc.CommandText = "{Call " + schema.name() + ".remember(?)}";
    proc.parameter(0) = {Command::adInteger, Command::adParamInput, 0, Variant(int32_t{7})};
    proc.Execute();
    EXPECT_EQ(scalar("Select n From calls").toInt32(), 7);
}

}  // namespace
}  // namespace tk::connect
