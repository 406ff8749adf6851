// Translates anonymous PL/SQL blocks into PL/pgSQL DO blocks or plain CALL statements.
#pragma once
#include <span>
#include <string>
#include <string_view>

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
    static Translation translate(std::span<const Token> block, unsigned features,
                                 bool inTransaction, SqlTextArena& arena);
    // The PL/pgSQL body of a stored unit from its tokens after IS / AS (its
    // declarations, BEGIN … END), COMMIT and ROLLBACK left to the caller; a
    // refusal names its line in `source`, the text the tokens point into.
    static std::string body(std::span<const Token> unit, std::string_view source, unsigned features,
                            SqlTextArena& arena);
    // The text between dollar quotes whose tag does not occur in it.
    static std::string dollarQuoted(const std::string& body);

  private:
    static std::string dollarTag(const std::string& body);
};

}  // namespace tk::translate
