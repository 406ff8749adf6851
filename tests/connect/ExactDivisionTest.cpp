// Division run on the test server must give Oracle's answers: Oracle divides
// exactly (7 / 2 is 3.5) whatever the operands' types, where PostgreSQL
// truncates two integers.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Connection.hpp"

namespace tk::connect {
namespace {

class ExactDivision : public ::testing::Test {
  protected:
    test::TestSchema schema{"div"};
    std::shared_ptr<Connection> conn = schema.connect();

    void SetUp() override {
        schema.admin(
            "CREATE TABLE t (id integer, big bigint, small smallint, amount numeric(12,2));"
            "INSERT INTO t VALUES (1, 7, 2, 7.50), (2, 8, 3, 1.00), (3, 9, 4, 0.10);"
            "CREATE TABLE answers (n integer, v numeric);");
    }

    // The first field of the first row, as text.
    std::string value(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        return rs->eof() ? "no row" : rs->field(0).toText();
    }
};

TEST_F(ExactDivision, LiteralsColumnsAggregatesAndPrecedence) {
    const std::pair<std::string, std::string> cases[] = {
        {"Select 7 / 2 From dual", "3.5"},
        {"Select -7 / 2 From dual", "-3.5"},
        {"Select Round(2 / 3, 4) From dual", "0.6667"},
        {"Select Trunc(7 / 2) From dual", "3"},
        {"Select '7' / 2 From dual", "3.5"},     // Oracle converts the text
        {"Select 7 / 2 From dual\n/\n", "3.5"},  // SQL*Plus's run line
        {"Select 7 /* a / b */ / 2 -- c / d\n From dual", "3.5"},
        {"Select big / small From t Where id = 1", "3.5"},
        {"Select id / 2 From t Where id = 3", "1.5"},
        {"Select Count(*) From t Where big / small > 2.5", "2"},
        {"Select id From t Where small / 4 = 0.5", "1"},
        {"Select Count(*) / 2 From t", "1.5"},
        {"Select Round(Sum(a.id) / 7, 2) From t a", "0.86"},
        {"Select Nvl(Sum(small), 0) / Count(*) From t Where id < 3", "2.5"},
        {"Select amount / small From t Where id = 1", "3.75"},
        {"Select big / amount From t Where id = 3", "90"},
        {"Select Decode(id, 1, big / small, 0) From t Where id = 1", "3.5"},
        {"Select 10 - 7 / 2 * 2 From dual", "3"},
        {"Select 7 / 2 / 2 From dual", "1.75"},
        {"Select 1 + 1 / 4 From dual", "1.25"},
        {"Select 100 / (2 * 8) From dual", "6.25"},
        {"Select big - small / 4 * id From t Where id = 2", "6.5"},
    };
    for (const auto& [sql, oracle] : cases) EXPECT_EQ(value(sql), oracle) << sql;
}

// Oracle rounds a fractional value given to an INTEGER variable or a loop
// bound to the nearest integer: 3.5 becomes 4.
TEST_F(ExactDivision, InPlSqlBlock) {
    test::ExecuteOk(*conn,
                    "Declare\n"
                    "  v Number := 7 / 2;\n"
                    "  i Integer := 7 / 2;\n"
                    "  c Number;\n"
                    "  k Number := 0;\n"
                    "Begin\n"
                    "  Insert Into answers Values (1, v);\n"
                    "  Insert Into answers Values (2, i);\n"
                    "  Select Count(*) / 2 Into c From t;\n"
                    "  Insert Into answers Values (3, c);\n"
                    "  For j In 1 .. 7 / 2 Loop\n"
                    "    k := k + 1;\n"
                    "  End Loop;\n"
                    "  Insert Into answers Values (4, k);\n"
                    "  If 7 / 2 > 3 Then\n"
                    "    Insert Into answers Values (5, 1 / 4);\n"
                    "  End If;\n"
                    "End;\n"
                    "/\n");
    auto rs = conn->GetRecordset("Select n, v From answers Order By n", 3, 1);
    std::vector<std::string> got;
    for (; !rs->eof(); rs->moveNext())
        got.push_back(rs->field(0).toText() + "=" + rs->field(1).toText());
    EXPECT_EQ(got, (std::vector<std::string>{"1=3.5", "2=4", "3=1.5", "4=4", "5=0.25"}));
}

}  // namespace
}  // namespace tk::connect
