// Word-level rewrites of Oracle expressions: '' literals, sequences, ROWNUM, SYSDATE, functions.
#pragma once
#include "translate/SqlNode.hpp"
#include "translate/SqlTextArena.hpp"

namespace tk::translate {

// Word-level rewrites of Oracle expressions, at every nesting level:
//  - the literal '' becomes NULL (Oracle has no empty text);
//  - seq.NEXTVAL / schema.seq.CURRVAL become nextval('schema.seq') / currval(…);
//  - ROWNUM used as a value becomes row_number() over ();
//  - SYSDATE and SYSTIMESTAMP become calls of their oracompat functions;
//  - MINUS becomes EXCEPT;
//  - identifiers with "#" (col#, obj#) become quoted lower-case names, and
//    quoted upper-case names fold to lower case as PostgreSQL stores them;
//  - the functions of OracleFunctionMapper.
// ROWNUM conditions must have become row limits before this pass.
class OracleExpressionRewriter {
  public:
    explicit OracleExpressionRewriter(SqlTextArena& arena) : arena_(arena) {}

    void rewrite(SqlSeq& seq);

  private:
    size_t rewriteAt(SqlSeq& seq, size_t i);
    size_t rewriteWord(SqlSeq& seq, size_t i);
    size_t rewriteSequence(SqlSeq& seq, size_t i);
    size_t rewriteRownum(SqlSeq& seq, size_t i);
    size_t rewriteClock(SqlSeq& seq, size_t i);
    void foldQuotedName(SqlNode& n);
    void quoteOddName(SqlNode& n);

    SqlTextArena& arena_;
};

}  // namespace tk::translate
