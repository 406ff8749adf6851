#pragma once
#include "connect/SqlNode.hpp"

namespace tk::connect {

// Oracle's "||" skips NULL operands and yields NULL only for an empty result;
// PostgreSQL's yields NULL as soon as one operand is NULL. A chain
// a || b || c becomes NULLIF(concat(a, b, c), '') (plain concat(…) when a
// non-empty literal guarantees a non-empty result). Operands are found with
// Oracle's precedence: "||" binds like binary + and -, left to right.
class OracleConcatRewriter {
  public:
    static void rewrite(SqlSeq& seq);
};

}  // namespace tk::connect
