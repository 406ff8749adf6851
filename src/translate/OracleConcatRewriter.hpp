// Rewrites Oracle's NULL-skipping "||" concatenation into PostgreSQL concat calls.
#pragma once
#include <vector>

#include "translate/SqlNode.hpp"

namespace tk::translate {

// Oracle's "||" skips NULL operands and yields NULL only for an empty result;
// PostgreSQL's yields NULL as soon as one operand is NULL. A chain
// a || b || c becomes NULLIF(concat(a, b, c), '') (plain concat(…) when a
// non-empty literal guarantees a non-empty result). Operands are found with
// Oracle's precedence: "||" binds like binary + and -, left to right.
// Operands other than text literals become text as Oracle converts them
// (oracompat.to_char: 1.50 gives "1.5", 0.5 gives ".5").
class OracleConcatRewriter {
  public:
    static void rewrite(SqlSeq& seq);
    // The concatenation of `operands` (already rewritten) with Oracle's rules.
    static SqlSeq concatenation(std::vector<SqlSeq>&& operands, Gap gap);
};

}  // namespace tk::translate
