// The statement pipeline: tree built, DML and DDL forms prepared, expression passes run in
// order, text rendered, and an INSERT's table and value count reported.
#include "translate/OracleStatementTranslator.hpp"

#include "translate/OracleConcatRewriter.hpp"
#include "translate/OracleDdlTranslator.hpp"
#include "translate/OracleDerivedTableRewriter.hpp"
#include "translate/OracleDivisionRewriter.hpp"
#include "translate/OracleDmlTranslator.hpp"
#include "translate/OracleExpressionRewriter.hpp"
#include "translate/OracleOuterJoinRewriter.hpp"
#include "translate/OracleRownumRewriter.hpp"
#include "translate/SqlQueryBlock.hpp"
#include "translate/SqlTree.hpp"

namespace tk::translate {
namespace {

// The table, and what an insert without column list supplies: the number of
// VALUES, or the query (which the connection describes to count its columns).
void describeInsert(const SqlSeq& seq, const InsertShape& shape, Translation& t) {
    std::string table;
    SqlTree::renderInto(table, seq, shape.tableBegin, shape.tableEnd);
    t.insertTable = lowerAscii(table);
    const SqlNode& source = seq[shape.source];
    if (isKeyword(source, Kw::Values)) {
        const SqlNode& values = seq[shape.source + 1];
        t.insertValueCount = static_cast<int>(
            SqlQueryBlock::splitCommas(values.inner, {0, values.inner.size()}).size());
    } else if (shape.source + 1 == seq.size() && isSubquery(source)) {
        SqlTree::renderInto(t.insertSelect, source.inner);
    } else {
        SqlTree::renderInto(t.insertSelect, seq, shape.source, seq.size());
    }
}

}  // namespace

Translation OracleStatementTranslator::translate(std::span<const Token> tokens, unsigned features,
                                                 SqlTextArena& arena) {
    SqlSeq seq = SqlTree::build(tokens);
    if (seq.empty()) throw TranslationError("statement expected");
    InsertShape insert;
    switch (seq.front().token.kind == TokenKind::Word ? seq.front().token.keyword : Kw::None) {
        case Kw::Insert:
            insert = OracleDmlTranslator::prepareInsert(seq);
            break;
        case Kw::Update:
            OracleDmlTranslator::prepareUpdate(seq);
            break;
        case Kw::Delete:
            OracleDmlTranslator::prepareDelete(seq);
            break;
        case Kw::Create:
        case Kw::Alter:
        case Kw::Drop:
        case Kw::Truncate:
            OracleDdlTranslator::translate(seq, arena);
            break;
        default:
            break;
    }
    rewriteExpressions(seq, features, arena);
    Translation t;
    t.sql = SqlTree::render(seq);
    if (insert.source != InsertShape::kNone) describeInsert(seq, insert, t);
    return t;
}

void OracleStatementTranslator::rewriteExpressions(SqlSeq& seq, unsigned features,
                                                   SqlTextArena& arena) {
    if (features & kOuterJoin) OracleOuterJoinRewriter::rewrite(seq);
    if (features & kDerivedTable) OracleDerivedTableRewriter::rewrite(seq);
    if (features & kRownum) OracleRownumRewriter::rewrite(seq, arena);
    if (features & (kRewriteWords | kRownum)) OracleExpressionRewriter(arena).rewrite(seq);
    if (features & kDivision) OracleDivisionRewriter::rewrite(seq);
    if (features & kConcat) OracleConcatRewriter::rewrite(seq);
}

}  // namespace tk::translate
