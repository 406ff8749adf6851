// rownum conditions become a LIMIT in their own query, applied before
// aggregation as Oracle does; other uses of rownum are refused.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(TranslateRownum, ConjunctBecomesALimitInItsOwnQuery) {
    expectRewrites({
        {"Select 1 From t Where rownum <= 3", "Select 1 From t LIMIT 3"},
        {"Select 1 From t Where rownum < 3 And 5 >= rownum", "Select 1 From t LIMIT 2"},
        {"Select 1 From t Where (x = 1 And rownum = 1)", "Select 1 From t WHERE x = 1 LIMIT 1"},
        // Oracle numbers a row only once it passes, so rownum = 2 or rownum > 1 never holds.
        {"Select 1 From t Where rownum > 1", "Select 1 From t LIMIT 0"},
        {"Select 1 From t Where rownum > 0", "Select 1 From t"},
        // After ORDER BY, before FOR UPDATE; a branch of a set operation is parenthesised.
        {"Select x From t Where rownum = 1 Order By x", "Select x From t Order By x LIMIT 1"},
        {"Select x From t Where rownum = 1 For Update", "Select x From t LIMIT 1 For Update"},
        {"Select x From t Where rownum = 1 Union Select y From u Order By 1",
         "(Select x From t LIMIT 1) Union Select y From u Order By 1"},
        {"Select x From t Union Select y From u Where rownum = 1 Order By 1",
         "Select x From t Union (Select y From u LIMIT 1) Order By 1"},
        {"Select (Select a From u Where rownum = 1) From t Where rownum <= 2",
         "Select (Select a From u LIMIT 1) From t LIMIT 2"},
    });
}

// Oracle limits the rows before it aggregates them.
TEST(TranslateRownum, AggregatesCountOnlyTheLimitedRows) {
    expectRewrites({
        {"Select a.g, Max(a.v) From t a Where rownum <= 5 Group By a.g",
         "Select a.g, Max(a.v) From (SELECT * FROM t a LIMIT 5) a Group By a.g"},
        {"Select Distinct a From t Where rownum <= 2",
         "Select Distinct a From (SELECT * FROM t LIMIT 2) t"},
        {"Select Distinct a From t Where rownum = 1", "Select Distinct a From t LIMIT 1"},
    });
}

TEST(TranslateRownum, OtherConditionsOnRownumAreRefused) {
    expectRefused({
        "Select Count(*) From t, u Where rownum = 1",
        "Select 1 From t Where rownum = 1 Or x = 2",
        "Select 1 From t Where rownum + 1 = 2",
        "Select 1 From t Where rownum = x",
    });
}

}  // namespace
}  // namespace tk::translate
