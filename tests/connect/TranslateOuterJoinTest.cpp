#include <gtest/gtest.h>

#include "connect/OracleTranslator.hpp"

namespace tk::connect {
namespace {

std::string tr(std::string_view sql) { return OracleTranslator::translate(sql, false).sql; }

TEST(TranslateOuterJoin, EveryMarkedPredicateJoinsConstantsIncluded) {
    EXPECT_EQ(tr("Select a.x From t a, u b Where a.id = b.id(+) And b.flag(+) = 'Y' And a.k = 1"),
              "Select a.x From t a LEFT JOIN u b ON a.id = b.id AND b.flag = 'Y' WHERE a.k = 1");
}

TEST(TranslateOuterJoin, UnmarkedPredicatesOnTheOptionalTableStayInWhere) {
    EXPECT_EQ(tr("Select 1 From t a, u b Where a.id = b.id(+) And b.id Is Null"),
              "Select 1 From t a LEFT JOIN u b ON a.id = b.id WHERE b.id Is Null");
}

TEST(TranslateOuterJoin, MarkOnEitherSideAndWithBlanksInside) {
    EXPECT_EQ(tr("Select 1 From t a, u b Where b.id( + ) = a.id"),
              "Select 1 From t a LEFT JOIN u b ON b.id = a.id");
}

TEST(TranslateOuterJoin, InnerJoinedTablesStayCommaJoined) {
    EXPECT_EQ(tr("Select 1 From t a, v c, u b Where a.id = c.id And a.id = b.id(+)"),
              "Select 1 From t a LEFT JOIN u b ON a.id = b.id, v c WHERE a.id = c.id");
}

// c's ON clause reads b, so b must be joined first wherever c stood.
TEST(TranslateOuterJoin, ChainedOptionalTablesFollowWhatTheyReference) {
    EXPECT_EQ(tr("Select 1 From c z, b y, a x Where z.k(+) = y.k And y.j(+) = x.j"),
              "Select 1 From a x LEFT JOIN b y ON y.j = x.j LEFT JOIN c z ON z.k = y.k");
}

TEST(TranslateOuterJoin, OptionalTableJoinedToTwoBaseTablesJoinsAfterBoth) {
    EXPECT_EQ(tr("Select 1 From t a, u b, v c Where a.id = b.id(+) And c.id = b.c(+)"),
              "Select 1 From t a CROSS JOIN v c LEFT JOIN u b ON a.id = b.id AND c.id = b.c");
}

TEST(TranslateOuterJoin, InlineViewsAndTablesWithoutAlias) {
    EXPECT_EQ(tr("Select 1 From (Select x From s) a, zt.Class1 Where a.x = Class1.id(+)"),
              "Select 1 From (Select x From s) a LEFT JOIN zt.Class1 ON a.x = Class1.id");
}

TEST(TranslateOuterJoin, ParenthesisedConjunctsAreOpened) {
    EXPECT_EQ(tr("Select 1 From t a, u b Where (a.id = b.id(+) And b.f(+) = 1) And a.k = 2"),
              "Select 1 From t a LEFT JOIN u b ON a.id = b.id AND b.f = 1 WHERE a.k = 2");
}

TEST(TranslateOuterJoin, EachQueryLevelOnItsOwn) {
    EXPECT_EQ(tr("Select 1 From t a Where Exists (Select 1 From u b, v c Where b.id = c.id(+) "
                 "And b.id = a.id)"),
              "Select 1 From t a Where Exists (Select 1 From u b LEFT JOIN v c ON b.id = c.id "
              "WHERE b.id = a.id)");
    EXPECT_EQ(tr("Insert Into t Select a.x From t a, u b Where a.id = b.id(+)"),
              "Insert Into t Select a.x From t a LEFT JOIN u b ON a.id = b.id");
}

TEST(TranslateOuterJoin, OtherClausesKeepTheirPlace) {
    EXPECT_EQ(tr("Select a.g, Count(*) From t a, u b Where a.id = b.id(+) Group By a.g Order By 1"),
              "Select a.g, Count(*) From t a LEFT JOIN u b ON a.id = b.id Group By a.g Order By 1");
}

TEST(TranslateOuterJoin, UnresolvableMarksAreRefused) {
    EXPECT_THROW(tr("Select 1 From t a, u b Where a.id = id(+)"), TranslationError);
    EXPECT_THROW(tr("Select 1 From t a, u b Where a.id = x.id(+)"), TranslationError);
    EXPECT_THROW(tr("Select 1 From t a, u b Where a.id = b.id(+) Or a.k = 1"), TranslationError);
    EXPECT_THROW(tr("Select 1 From t a, u b, v c Where a.id = b.id(+) And b.x = c.x(+) And "
                    "c.y = b.y(+)"),
                 TranslationError);
    EXPECT_THROW(tr("Select 1 From t a Join u b On a.id = b.id, v c Where c.x(+) = a.x"),
                 TranslationError);
    EXPECT_THROW(tr("Update t Set x = 1 Where t.id = u.id(+)"), TranslationError);
}

// Select * lists the columns in FROM order; a reordered FROM list would hand
// the caller its columns in another order.
TEST(TranslateOuterJoin, BareStarRefusesReordering) {
    EXPECT_THROW(tr("Select * From u b, t a Where a.id = b.id(+)"), TranslationError);
    EXPECT_EQ(tr("Select * From t a, u b Where a.id = b.id(+)"),
              "Select * From t a LEFT JOIN u b ON a.id = b.id");
    EXPECT_NO_THROW(tr("Select b.*, a.* From u b, t a Where a.id = b.id(+)"));
}

}  // namespace
}  // namespace tk::connect
