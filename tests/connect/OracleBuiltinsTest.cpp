// Oracle's everyday built-ins through a connection to the test server. Every
// expected value is the answer Oracle documents (its SQL Reference examples
// and rules), not what PostgreSQL would say; each case runs as a plain
// statement and again inside a PL/SQL block.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Connection.hpp"

namespace tk::connect {
namespace {

constexpr const char* kNull = "∅";

struct Case {
    std::string expression;  // yields text (or NULL)
    std::string oracle;      // Oracle's answer; kNull for NULL
};

class OracleBuiltins : public ::testing::Test {
  protected:
    test::TestSchema schema{"obi"};
    std::shared_ptr<Connection> conn = schema.connect();

    void exec(const std::string& sql) { test::ExecuteOk(*conn, sql); }

    std::string text(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        const Variant& v = rs->field(0);
        return v.isNull() ? std::string(kNull) : v.toText();
    }

    std::string error(const std::string& sql) { return test::ErrorOf(*conn, sql); }

    // Each case as a query, then all of them assigned to a variable in one
    // block and stored, so the block's translation is checked as well.
    void expectOracleAnswers(const std::vector<Case>& cases) {
        exec("Create Table answers (n Number(4), v Varchar2(200))");
        std::string block = "Declare v Varchar2(200); Begin\n";
        for (size_t i = 0; i < cases.size(); ++i) {
            const Case& c = cases[i];
            EXPECT_EQ(text("Select " + c.expression + " From dual"), c.oracle) << c.expression;
            block += "v := " + c.expression + ";\nInsert Into answers Values (" +
                     std::to_string(i) + ", v);\n";
        }
        exec(block + "End;");
        for (size_t i = 0; i < cases.size(); ++i) {
            EXPECT_EQ(text("Select v From answers Where n = " + std::to_string(i)), cases[i].oracle)
                << "in a PL/SQL block: " << cases[i].expression;
        }
    }
};

std::string day(const std::string& isoDate) { return "To_Date('" + isoDate + "', 'yyyy-mm-dd')"; }

std::string moment(const std::string& isoTime) {
    return "To_Date('" + isoTime + "', 'yyyy-mm-dd hh24:mi:ss')";
}

std::string asDay(const std::string& e) { return "To_Char(" + e + ", 'yyyy-mm-dd')"; }

std::string asMoment(const std::string& e) { return "To_Char(" + e + ", 'yyyy-mm-dd hh24:mi:ss')"; }

// ---- dates ----

TEST_F(OracleBuiltins, DateFunctionsArithmeticAndRounding) {
    // SYSDATE is a DATE (whole seconds); SYSTIMESTAMP is the same moment with
    // fractions and a time zone, and truncates to the same day.
    std::string now = text("Select Sysdate From dual");
    EXPECT_EQ(now.size(), 19u) << now;
    std::string noon = moment("2024-02-28 12:00:00");
    expectOracleAnswers({
        // ADD_MONTHS: "If date is the last day of the month or if the resulting month
        // has fewer days than the day component of date, then the result is the last
        // day of the resulting month."
        {asDay("Add_Months(" + day("2024-01-31") + ", 1)"), "2024-02-29"},
        {asDay("Add_Months(" + day("2024-02-29") + ", 12)"), "2025-02-28"},
        {asDay("Add_Months(" + day("2023-02-28") + ", 1)"), "2023-03-31"},
        {asMoment("Add_Months(" + moment("2024-01-15 10:30:00") + ", 1)"), "2024-02-15 10:30:00"},
        // The SQL Reference's examples: MONTHS_BETWEEN('02-02-1995', '01-01-1995') is
        // 1.03225806 (rounded for display), NEXT_DAY('15-OCT-2009', 'TUESDAY') is
        // 20-OCT-2009; two month ends are whole months apart.
        {asDay("Last_Day(" + day("2024-02-10") + ")"), "2024-02-29"},
        {asMoment("Last_Day(" + moment("2024-04-05 08:00:00") + ")"), "2024-04-30 08:00:00"},
        {asDay("Next_Day(" + day("2009-10-15") + ", 'TUESDAY')"), "2009-10-20"},
        {"To_Char(Round(Months_Between(" + day("1995-02-02") + ", " + day("1995-01-01") + "), 8))",
         "1.03225806"},
        {"To_Char(Months_Between(" + day("2024-03-31") + ", " + day("2024-02-29") + "))", "1"},
        // TRUNC(date) is midnight of the day; the SQL Reference: TRUNC('27-OCT-92',
        // 'YEAR') = 01-JAN-92, ROUND('27-OCT-00', 'YEAR') = 01-JAN-01, TRUNC(15.79, 1)
        // = 15.7, ROUND(15.193, -1) = 20, BITAND(6, 3) = 2, REMAINDER(11, 4) = -1.
        {asMoment("Trunc(" + moment("2024-05-17 13:14:15") + ")"), "2024-05-17 00:00:00"},
        {asDay("Trunc(" + day("1992-10-27") + ", 'YEAR')"), "1992-01-01"},
        {asDay("Round(" + day("2000-10-27") + ", 'YEAR')"), "2001-01-01"},
        {asDay("Trunc(" + day("2024-02-29") + ", 'MM')"), "2024-02-01"},
        {asMoment("Round(" + moment("2024-05-17 12:00:00") + ")"), "2024-05-18 00:00:00"},
        {"To_Char(Trunc(15.79, 1))", "15.7"},
        {"To_Char(Round(-2.5))", "-3"},
        {"To_Char(Round(15.193, -1))", "20"},
        {"To_Char(Nanvl(1.5, 0))", "1.5"},
        {"To_Char(Bitand(6, 3))", "2"},
        {"To_Char(Remainder(11, 4))", "-1"},
        // A DATE plus or minus a number moves by days (fractions are hours); DATE
        // minus DATE is the number of days between them.
        {asMoment(noon + " + 1.5"), "2024-03-01 00:00:00"},
        {asMoment(noon + " - 0.25"), "2024-02-28 06:00:00"},
        {asMoment("2 + " + noon), "2024-03-01 12:00:00"},
        {"To_Char(" + day("2024-03-01") + " - " + noon + ")", "1.5"},
        {"To_Char(Trunc(Sysdate) - Trunc(Sysdate))", "0"},
        {"To_Char(Sysdate - Sysdate)", "0"},
        {"To_Char(Trunc(Systimestamp) - Trunc(Sysdate))", "0"},
    });
}

TEST_F(OracleBuiltins, DateColumnsAndVariablesKeepOracleArithmetic) {
    exec("Create Table stay (dtmIn Date, dtmOut Date, dblDays Number, dtmDue Date)");
    exec("Insert Into stay (dtmIn, dtmOut) Values (" + moment("2024-01-30 18:00:00") + ", " +
         moment("2024-02-01 06:00:00") + ")");
    exec(
        "Declare d Date; Begin Select dtmIn Into d From stay; "
        "Update stay Set dblDays = dtmOut - d, dtmDue = Add_Months(d, 1) + 0.25; End;");
    EXPECT_EQ(text("Select To_Char(dblDays) From stay"), "1.5");
    EXPECT_EQ(text("Select To_Char(dtmDue, 'yyyy-mm-dd hh24:mi') From stay"), "2024-03-01 00:00");
    EXPECT_EQ(text("Select To_Char(Count(*)) From stay Where dtmOut - dtmIn > 1"), "1");
}

// ---- conversions ----

TEST_F(OracleBuiltins, NumbersBecomeTextAsOracleWritesThemAlsoInConcatenation) {
    expectOracleAnswers({
        // TO_CHAR(n) without a format is the TM (text minimum) model: the fewest
        // characters, fixed notation unless that exceeds 64 characters. Oracle
        // writes no zero before the decimal point and no trailing zeros.
        {"To_Char(0.5)", ".5"},
        {"To_Char(-0.5)", "-.5"},
        {"To_Char(12.50)", "12.5"},
        {"To_Char(0)", "0"},
        {"To_Char(1e-30)", ".000000000000000000000000000001"},
        {"To_Char(1e70)", "1E+70"},
        {"To_Char(1.5e-70)", "1.5E-70"},
        {"To_Char('01110' + 1)", "1111"},
        {"To_Char(To_Number('-12.50'))", "-12.5"},
        {"To_Single_Byte('ＡＢ１２')", "AB12"},
        {"To_Multi_Byte('A1')", "Ａ１"},
        {"To_Char(1234.5, 'FM999,990.00')", "1,234.50"},
        {"To_Char(" + moment("2024-02-29 23:59:58") + ", 'yyyy/mm/dd hh24:mi:ss')",
         "2024/02/29 23:59:58"},
        {"'A' || 1.50", "A1.5"},
        {"'x' || -0.5", "x-.5"},
        {"Concat('A', 2.50)", "A2.5"},
        {"Lpad(7, 3, '0')", "007"},
        {"Rpad(1.5, 5, '*')", "1.5**"},
        {"To_Char(Length(12.50))", "4"},
    });
}

// ---- NULL rules ----

TEST_F(OracleBuiltins, NullArgumentsFollowOracleRules) {
    expectOracleAnswers({
        {"To_Char(Greatest(1, Null, 3))", kNull},
        {"To_Char(Greatest(1, 5, 3))", "5"},
        {"Least('b', 'a', 'c')", "a"},
        {"Concat(Null, 'a')", "a"},
        {"Concat(Null, Null)", kNull},
        {"Replace('abcb', 'b', Null)", "ac"},
        {"Replace('abc', Null, 'x')", "abc"},
        {"Replace('b', 'b')", kNull},
        {"To_Char(Length(''))", kNull},
        {"To_Char(Instr('abc', ''))", kNull},
        {"Lpad('abc', 0)", kNull},
        {"Lpad('abc', 5, Null)", kNull},
        {"Nvl2(Null, 'a', 'b')", "b"},
        {"Decode(Null, Null, 'null matches null', 'no')", "null matches null"},
        {"Trim('  ')", kNull},
        {"To_Char(Instr('a-b-c', '-', -1))", "4"},
        {"Substr('abcdef', -2)", "ef"},
        {"Substr('abc', 5)", kNull},
        {"Regexp_Replace('a1b22', '[0-9]+', Null)", "ab"},
        {"To_Char(Mod(11, 4))", "3"},
        {"To_Char(Mod(11, 0))", "11"},
        {"To_Char(Mod(-11, 4))", "-3"},
    });
}

// ---- bytes (the database character set is UTF-8: a Chinese character is 3 bytes) ----

TEST_F(OracleBuiltins, ByteFunctionsCountUtf8Bytes) {
    expectOracleAnswers({
        {"To_Char(Lengthb('中文'))", "6"},
        {"To_Char(Lengthb(''))", kNull},
        {"Substrb('中文字', 4, 3)", "文"},
        {"Substrb('中文字', -3)", "字"},
        {"Substrb('ab中', 0, 2)", "ab"},
        {"Substrb('中文字', 1, 0)", kNull},
    });
}

// ---- what is not supported ----

TEST_F(OracleBuiltins, UnsupportedFunctionIsAnInvalidIdentifierNamingIt) {
    const std::string expected = "ORA-00904: \"SOUNDEX_PLUS\": invalid identifier";
    std::string plain = error("Select Soundex_Plus('x') From dual");
    EXPECT_EQ(plain.rfind(expected, 0), 0u) << plain;
    std::string inBlock = error("Declare v Varchar2(10); Begin v := Soundex_Plus('x'); End;");
    EXPECT_EQ(inBlock.rfind(expected, 0), 0u) << inBlock;
}

}  // namespace
}  // namespace tk::connect
