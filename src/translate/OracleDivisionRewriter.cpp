// Adds "::numeric" after each dividend not already cast, at every nesting level.
#include "translate/OracleDivisionRewriter.hpp"

namespace tk::translate {
namespace {

// True when `n` can be the last node of a dividend; anything else before a
// "/" is a syntax error that PostgreSQL should report as written.
bool endsOperand(const SqlNode& n) {
    switch (n.token.kind) {
        case TokenKind::Number:
        case TokenKind::String:
        case TokenKind::QuotedName:
        case TokenKind::Parameter:
        case TokenKind::OpenParen:
            return true;
        case TokenKind::Word:
            return !SqlKeyword::isReserved(n.token.keyword) || n.token.keyword == Kw::Null ||
                   n.token.keyword == Kw::End;
        default:
            return false;
    }
}

bool isNumericCast(const SqlSeq& seq, size_t end) {
    return end >= 2 && isOperator(seq[end - 2], "::") &&
           sameName(seq[end - 1].token.text, "numeric");
}

}  // namespace

void OracleDivisionRewriter::rewrite(SqlSeq& seq) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner);
    }
    for (size_t i = 1; i < seq.size(); ++i) {
        if (!isOperator(seq[i], "/") || !endsOperand(seq[i - 1]) || isNumericCast(seq, i)) continue;
        SqlSeq cast{makeNode(TokenKind::Operator, "::", Gap::None), makeWord("numeric", Gap::None)};
        i = replaceRange(seq, i, i, std::move(cast));
    }
}

}  // namespace tk::translate
