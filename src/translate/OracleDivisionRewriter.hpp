// Makes "/" divide exactly, as in Oracle, by casting the dividend to numeric.
#pragma once
#include "translate/SqlNode.hpp"

namespace tk::translate {

// Oracle divides exactly whatever its operands are (7 / 2 is 3.5);
// PostgreSQL truncates when both are integers (count(*), integer columns,
// literals). Every "/" gets a numeric left operand: "a / b" becomes
// "a::numeric / b". The cast binds tighter than any operator, so it applies
// to the one operand written before the "/" (a name, literal, call, CASE or
// parenthesised group) and precedence and unary minus stay as written; a
// numeric dividend makes the whole product chain "a * b / c" numeric too.
class OracleDivisionRewriter {
  public:
    static void rewrite(SqlSeq& seq);
};

}  // namespace tk::translate
