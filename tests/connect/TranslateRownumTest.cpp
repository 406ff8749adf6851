#include <gtest/gtest.h>

#include "connect/OracleTranslator.hpp"

namespace tk::connect {
namespace {

std::string tr(std::string_view sql) { return OracleTranslator::translate(sql, false).sql; }

TEST(TranslateRownum, ConjunctBecomesLimit) {
    EXPECT_EQ(tr("Select 1 From t a Where a.x <> 2 And Rownum = 1"),
              "Select 1 From t a WHERE a.x <> 2 LIMIT 1");
    EXPECT_EQ(tr("Select 1 From t Where rownum <= 3"), "Select 1 From t LIMIT 3");
    EXPECT_EQ(tr("Select 1 From t Where rownum < 3 And 5 >= rownum"), "Select 1 From t LIMIT 2");
    EXPECT_EQ(tr("Select 1 From t Where (x = 1 And rownum = 1)"),
              "Select 1 From t WHERE x = 1 LIMIT 1");
}

// Oracle numbers a row only once it passes, so rownum = 2 or rownum > 1 never holds.
TEST(TranslateRownum, ImpossibleNumbersSelectNothing) {
    EXPECT_EQ(tr("Select 1 From t Where rownum = 2"), "Select 1 From t LIMIT 0");
    EXPECT_EQ(tr("Select 1 From t Where rownum > 1"), "Select 1 From t LIMIT 0");
    EXPECT_EQ(tr("Select 1 From t Where rownum > 0"), "Select 1 From t");
}

TEST(TranslateRownum, LimitGoesAfterOrderByAndBeforeForUpdate) {
    EXPECT_EQ(tr("Select x From t Where rownum = 1 Order By x"),
              "Select x From t Order By x LIMIT 1");
    EXPECT_EQ(tr("Select x From t Where rownum = 1 For Update"),
              "Select x From t LIMIT 1 For Update");
}

TEST(TranslateRownum, BranchOfASetOperationIsParenthesised) {
    EXPECT_EQ(tr("Select x From t Where rownum = 1 Union Select y From u Order By 1"),
              "(Select x From t LIMIT 1) Union Select y From u Order By 1");
    EXPECT_EQ(tr("Select x From t Union Select y From u Where rownum = 1 Order By 1"),
              "Select x From t Union (Select y From u LIMIT 1) Order By 1");
}

// Oracle limits the rows before it aggregates them.
TEST(TranslateRownum, AggregatesCountOnlyTheLimitedRows) {
    EXPECT_EQ(tr("Select Count(*) From zt.t Where x = 1 And rownum <= 2"),
              "Select Count(*) From (SELECT * FROM zt.t WHERE x = 1 LIMIT 2) t");
    EXPECT_EQ(tr("Select a.g, Max(a.v) From t a Where rownum <= 5 Group By a.g"),
              "Select a.g, Max(a.v) From (SELECT * FROM t a LIMIT 5) a Group By a.g");
    EXPECT_EQ(tr("Select Distinct a From t Where rownum <= 2"),
              "Select Distinct a From (SELECT * FROM t LIMIT 2) t");
    EXPECT_EQ(tr("Select Distinct a From t Where rownum = 1"), "Select Distinct a From t LIMIT 1");
    EXPECT_THROW(tr("Select Count(*) From t, u Where rownum = 1"), TranslationError);
}

TEST(TranslateRownum, OtherConditionsOnRownumAreRefused) {
    EXPECT_THROW(tr("Select 1 From t Where rownum = 1 Or x = 2"), TranslationError);
    EXPECT_THROW(tr("Select 1 From t Where rownum + 1 = 2"), TranslationError);
    EXPECT_THROW(tr("Select 1 From t Where rownum = x"), TranslationError);
}

TEST(TranslateRownum, InnerQueriesAreLimitedOnTheirOwn) {
    EXPECT_EQ(tr("Select (Select a From u Where rownum = 1) From t Where rownum <= 2"),
              "Select (Select a From u LIMIT 1) From t LIMIT 2");
}

}  // namespace
}  // namespace tk::connect
