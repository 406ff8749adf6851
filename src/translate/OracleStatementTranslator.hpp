// Translates one plain Oracle SQL statement by running the rewrite passes over its node tree.
#pragma once
#include <span>
#include <string>

#include "translate/OracleTranslator.hpp"
#include "translate/SqlNode.hpp"
#include "translate/SqlTextArena.hpp"

namespace tk::translate {

// One plain SQL statement (no PL/SQL), given without its trailing ";".
class OracleStatementTranslator {
  public:
    // `features` are those of the tokens (see Feature); passes for absent
    // constructs are skipped.
    static Translation translate(std::span<const Token> tokens, unsigned features,
                                 SqlTextArena& arena);

    // The query and expression passes, in the order they depend on: outer
    // joins and row limits read the WHERE clauses before the expression pass
    // turns the remaining ROWNUMs into values; divisions are made exact once
    // the functions are mapped; "||" goes last so that the operands it gathers
    // are already PostgreSQL.
    static void rewriteExpressions(SqlSeq& seq, unsigned features, SqlTextArena& arena);
};

}  // namespace tk::translate
