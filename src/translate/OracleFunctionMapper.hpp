// Maps Oracle built-in functions to PostgreSQL expressions with Oracle's meaning.
#pragma once
#include <string_view>
#include <vector>

#include "translate/SqlNode.hpp"
#include "translate/SqlTextArena.hpp"

namespace tk::translate {

// Oracle functions whose PostgreSQL namesakes differ in meaning.
//  - DECODE and NVL become null-safe CASE / COALESCE; like Oracle, the result
//    takes the type of the first result (literals of another kind follow it).
//  - TRIM, LTRIM, RTRIM and SUBSTR answer NULL for an empty result, since
//    Oracle has no empty text.
//  - SUBSTR, INSTR, TO_NUMBER use orafce's Oracle versions (negative
//    positions count from the end).
//  - ROUND, TRUNC, TO_CHAR, TO_DATE, MOD, REPLACE and REGEXP_REPLACE call the oracompat
//    versions (PostgreSQL's namesakes would come first on the search path):
//    numbers round halves away from zero, dates keep their time of day.
//  - GREATEST and LEAST are NULL when an argument is; CONCAT follows "||";
//    LPAD, RPAD and LENGTH take numbers as Oracle converts them to text.
class OracleFunctionMapper {
  public:
    explicit OracleFunctionMapper(SqlTextArena& arena) : arena_(arena) {}

    // The nodes that replace the call `name(args…)`; `call` is the group
    // holding the arguments, already rewritten.
    SqlSeq map(const SqlNode& name, SqlNode&& call);

  private:
    SqlSeq decode(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq nvl(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq nvl2(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq emptyAsNull(SqlSeq call, Gap gap);
    SqlSeq rounding(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq nullIfAnyNull(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq padding(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq asText(SqlSeq e);
    std::string_view qualified(const SqlNode& name);
    SqlSeq matchTest(const SqlSeq& subject, SqlSeq search);
    void unifyResultTypes(const std::vector<SqlSeq*>& results);
    SqlSeq asTextLiteral(const SqlSeq& number);

    SqlTextArena& arena_;
};

}  // namespace tk::translate
