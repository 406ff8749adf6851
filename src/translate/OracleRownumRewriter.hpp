// Turns ROWNUM conditions in WHERE clauses into LIMIT row limits.
#pragma once
#include "translate/SqlNode.hpp"
#include "translate/SqlTextArena.hpp"

namespace tk::translate {

// Turns ROWNUM conditions ("rownum = 1", "rownum <= n", as top-level
// conjuncts of a WHERE) into a row limit. Oracle numbers the rows before
// grouping, DISTINCT and ORDER BY: a plain LIMIT keeps that meaning except
// before aggregation, where the limit moves into a derived table. Any other
// use of ROWNUM in a condition is refused rather than guessed.
class OracleRownumRewriter {
  public:
    static void rewrite(SqlSeq& seq, SqlTextArena& arena);
};

}  // namespace tk::translate
