// Translates anonymous PL/SQL blocks into PL/pgSQL DO blocks or plain CALL statements.
#pragma once
#include <span>

#include "translate/OracleTranslator.hpp"
#include "translate/SqlTextArena.hpp"
#include "translate/SqlTokenizer.hpp"

namespace tk::translate {

// Anonymous PL/SQL blocks → DO blocks in PL/pgSQL ("CURSOR c IS" → "c CURSOR
// FOR", "v c%ROWTYPE" → "v record", "c%NOTFOUND" right after FETCH c → "NOT
// FOUND", procedure calls → CALL). SQL statements inside get the same
// translation as top-level ones. A block that only calls one procedure becomes
// a plain CALL. Inside the caller's transaction COMMIT and ROLLBACK are left
// out: PostgreSQL refuses them in a DO block there, and the caller decides.
class OraclePlSqlTranslator {
  public:
    static Translation translate(std::span<const Token> tokens, unsigned features,
                                 bool inTransaction, SqlTextArena& arena);
};

}  // namespace tk::translate
