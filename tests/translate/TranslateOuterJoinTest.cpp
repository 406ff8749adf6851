// Oracle's "(+)" outer-join marks rewritten as LEFT JOINs, and the marks that
// cannot be resolved, or would reorder a "Select *", refused.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(TranslateOuterJoin, MarkedPredicatesBecomeLeftJoins) {
    expectRewrites({
        // The mark on either side, with blanks inside.
        {"Select 1 From t a, u b Where b.id( + ) = a.id",
         "Select 1 From t a LEFT JOIN u b ON b.id = a.id"},
        // Inner-joined tables stay comma-joined.
        {"Select 1 From t a, v c, u b Where a.id = c.id And a.id = b.id(+)",
         "Select 1 From t a LEFT JOIN u b ON a.id = b.id, v c WHERE a.id = c.id"},
        // An optional table joined to two base tables joins after both.
        {"Select 1 From t a, u b, v c Where a.id = b.id(+) And c.id = b.c(+)",
         "Select 1 From t a CROSS JOIN v c LEFT JOIN u b ON a.id = b.id AND c.id = b.c"},
        // Parenthesised conjuncts are opened.
        {"Select 1 From t a, u b Where (a.id = b.id(+) And b.f(+) = 1) And a.k = 2",
         "Select 1 From t a LEFT JOIN u b ON a.id = b.id AND b.f = 1 WHERE a.k = 2"},
        // Each query level on its own.
        {"Select 1 From t a Where Exists (Select 1 From u b, v c Where b.id = c.id(+) "
         "And b.id = a.id)",
         "Select 1 From t a Where Exists (Select 1 From u b LEFT JOIN v c ON b.id = c.id "
         "WHERE b.id = a.id)"},
        {"Insert Into t Select a.x From t a, u b Where a.id = b.id(+)",
         "Insert Into t Select a.x From t a LEFT JOIN u b ON a.id = b.id"},
        // Other clauses keep their place.
        {"Select a.g, Count(*) From t a, u b Where a.id = b.id(+) Group By a.g Order By 1",
         "Select a.g, Count(*) From t a LEFT JOIN u b ON a.id = b.id Group By a.g Order By 1"},
    });
}

TEST(TranslateOuterJoin, UnresolvableMarksAreRefused) {
    expectRefused({
        "Select 1 From t a, u b Where a.id = id(+)",
        "Select 1 From t a, u b Where a.id = x.id(+)",
        "Select 1 From t a, u b Where a.id = b.id(+) Or a.k = 1",
        "Select 1 From t a, u b, v c Where a.id = b.id(+) And b.x = c.x(+) And c.y = b.y(+)",
        "Select 1 From t a Join u b On a.id = b.id, v c Where c.x(+) = a.x",
        "Update t Set x = 1 Where t.id = u.id(+)",
    });
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
}  // namespace tk::translate
