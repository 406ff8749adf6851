// Translates stored PL/SQL units (procedures, functions, triggers) into PostgreSQL routines.
#pragma once
#include <span>
#include <string_view>

#include "translate/OracleTranslator.hpp"
#include "translate/SqlTextArena.hpp"
#include "translate/SqlTokenizer.hpp"

namespace tk::translate {

// CREATE [OR REPLACE] PROCEDURE | FUNCTION | TRIGGER as a DBA's script writes
// it, into one PostgreSQL statement:
//  - a procedure or function keeps its parameters' modes (IN, OUT, IN OUT),
//    types (%TYPE included) and defaults; its body is translated as an
//    anonymous block's, and COMMIT inside it is left to the caller;
//  - a trigger becomes a trigger function and the trigger that runs it, made
//    together; :NEW and :OLD, INSERTING, UPDATING and DELETING read as in
//    Oracle, and a row trigger hands its row on as Oracle does.
// Anything else (packages, types) is refused with the construct and its line,
// so that nothing is half-created.
class OracleStoredUnitTranslator {
  public:
    static bool isStoredUnit(std::span<const Token> tokens);
    // `source` is the text the tokens point into, for the line of a refusal.
    static Translation translate(std::span<const Token> tokens, std::string_view source,
                                 unsigned features, SqlTextArena& arena);
};

}  // namespace tk::translate
