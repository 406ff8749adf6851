#pragma once
#include <vector>

#include "connect/SqlNode.hpp"
#include "connect/SqlTextArena.hpp"

namespace tk::connect {

// Oracle functions whose PostgreSQL namesakes differ in meaning.
//  - DECODE and NVL become null-safe CASE / COALESCE; like Oracle, the result
//    takes the type of the first result (literals of another kind follow it).
//  - TRIM, LTRIM, RTRIM and SUBSTR answer NULL for an empty result, since
//    Oracle has no empty text.
//  - SUBSTR, INSTR, TO_NUMBER use orafce's Oracle versions (negative
//    positions count from the end); ROUND and TRUNC work on numeric, so halves
//    round away from zero for every input type.
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
    SqlSeq numericRounding(const SqlNode& name, std::vector<SqlSeq> args);
    SqlSeq matchTest(const SqlSeq& subject, SqlSeq search);
    void unifyResultTypes(const std::vector<SqlSeq*>& results);
    SqlSeq asTextLiteral(const SqlSeq& number);

    SqlTextArena& arena_;
};

}  // namespace tk::connect
