// Rewrites Oracle "(+)" outer-join predicates into ANSI LEFT JOIN ... ON clauses.
#pragma once
#include "translate/SqlNode.hpp"

namespace tk::translate {

// Turns Oracle's "(+)" outer joins into ANSI joins. Per query block, every
// predicate that marks a table with "(+)" moves into that table's LEFT JOIN …
// ON clause; the other predicates stay in WHERE, so an "Is Null" test on the
// optional table still filters after the join (anti-join).
class OracleOuterJoinRewriter {
  public:
    // Rewrites every query block of `seq` and of its nested groups.
    static void rewrite(SqlSeq& seq);
};

}  // namespace tk::translate
