// The "||" rewrite: operand chains parsed with Oracle's precedence and folded into
// NULLIF(concat(...), '') calls.
#include "translate/OracleConcatRewriter.hpp"

#include <vector>

namespace tk::translate {
namespace {

constexpr size_t kNoOperand = static_cast<size_t>(-1);

// Statement words after which an expression starts.
bool opensExpression(Kw kw) {
    switch (kw) {
        case Kw::If:
        case Kw::Elsif:
        case Kw::While:
        case Kw::Return:
        case Kw::Exit:
        case Kw::Loop:
        case Kw::Default:
            return true;
        default:
            return SqlKeyword::isReserved(kw) && kw != Kw::Null && kw != Kw::End;
    }
}

// True when node `n` can be the last node of an operand, so that what follows
// it continues an expression rather than starting one.
bool endsOperand(const SqlNode& n) {
    switch (n.token.kind) {
        case TokenKind::Word:
            return !opensExpression(n.token.keyword);
        case TokenKind::Operator:
        case TokenKind::Comma:
        case TokenKind::Semicolon:
            return false;
        default:
            return true;
    }
}

size_t matchingEnd(const SqlSeq& seq, size_t caseAt) {
    int depth = 0;
    for (size_t i = caseAt; i < seq.size(); ++i) {
        if (isKeyword(seq[i], Kw::Case)) ++depth;
        if (isKeyword(seq[i], Kw::End) && --depth == 0) return i;
    }
    return kNoOperand;
}

size_t parseName(const SqlSeq& seq, size_t i) {
    size_t j = i + 1;
    while (j + 1 < seq.size() && isKind(seq[j], TokenKind::Dot) &&
           (isName(seq[j + 1]) || isOperator(seq[j + 1], "*"))) {
        j += 2;
    }
    if (j < seq.size() && seq[j].isGroup()) ++j;  // a function call
    if (j + 1 < seq.size() && isKeyword(seq[j], Kw::Over) && seq[j + 1].isGroup()) j += 2;
    return j;
}

size_t parsePrimary(const SqlSeq& seq, size_t i) {
    while (i < seq.size() && (isOperator(seq[i], "-") || isOperator(seq[i], "+"))) ++i;
    if (i >= seq.size()) return kNoOperand;
    const SqlNode& n = seq[i];
    size_t end = kNoOperand;
    switch (n.token.kind) {
        case TokenKind::OpenParen:
        case TokenKind::String:
        case TokenKind::Number:
        case TokenKind::Parameter:
            end = i + 1;
            break;
        case TokenKind::QuotedName:
            end = parseName(seq, i);
            break;
        case TokenKind::Word:
            if (isKeyword(n, Kw::Null)) end = i + 1;
            if (isKeyword(n, Kw::Case)) end = matchingEnd(seq, i);
            if (isKeyword(n, Kw::Case) && end != kNoOperand) ++end;
            if (!SqlKeyword::isReserved(n.token.keyword)) end = parseName(seq, i);
            break;
        default:
            break;
    }
    while (end != kNoOperand && end + 1 < seq.size() && isOperator(seq[end], "::")) end += 2;
    return end;
}

size_t parseTerm(const SqlSeq& seq, size_t i) {
    size_t end = parsePrimary(seq, i);
    while (end != kNoOperand && end < seq.size() &&
           (isOperator(seq[end], "*") || isOperator(seq[end], "/"))) {
        size_t next = parsePrimary(seq, end + 1);
        if (next == kNoOperand) break;
        end = next;
    }
    return end;
}

bool isAdditive(const SqlNode& n) {
    return isOperator(n, "||") || isOperator(n, "+") || isOperator(n, "-");
}

// A run "t0 op t1 op t2 …" of terms joined by ||, + and -.
struct Chain {
    std::vector<size_t> operators;  // positions of the operators
    size_t end = kNoOperand;
    bool concatenates = false;
};

Chain parseChain(const SqlSeq& seq, size_t i) {
    Chain chain;
    chain.end = parseTerm(seq, i);
    while (chain.end != kNoOperand && chain.end < seq.size() && isAdditive(seq[chain.end])) {
        size_t next = parseTerm(seq, chain.end + 1);
        if (next == kNoOperand) break;
        chain.concatenates = chain.concatenates || isOperator(seq[chain.end], "||");
        chain.operators.push_back(chain.end);
        chain.end = next;
    }
    return chain;
}

bool isNonEmptyText(const SqlSeq& operand) {
    return operand.size() == 1 && isKind(operand[0], TokenKind::String) &&
           operand[0].token.text.size() > 2;
}

bool isTextOrNull(const SqlSeq& operand) {
    return operand.size() == 1 &&
           (isKind(operand[0], TokenKind::String) || isKeyword(operand[0], Kw::Null));
}

// Folds the chain left to right: runs of || become one concat call, + and -
// apply to what stands before them.
SqlSeq foldChain(SqlSeq& seq, size_t begin, const Chain& chain) {
    Gap gap = seq[begin].token.gap;
    SqlSeq folded = take(seq, begin, chain.operators.front());
    std::vector<SqlSeq> operands;
    for (size_t k = 0; k < chain.operators.size(); ++k) {
        size_t op = chain.operators[k];
        size_t stop = k + 1 < chain.operators.size() ? chain.operators[k + 1] : chain.end;
        SqlSeq term = take(seq, op + 1, stop);
        if (isOperator(seq[op], "||")) {
            if (operands.empty()) operands.push_back(std::move(folded));
            operands.push_back(std::move(term));
            continue;
        }
        if (!operands.empty())
            folded = OracleConcatRewriter::concatenation(std::move(operands), gap);
        operands.clear();
        folded.push_back(seq[op]);
        append(folded, std::move(term));
    }
    if (!operands.empty()) folded = OracleConcatRewriter::concatenation(std::move(operands), gap);
    setGap(folded, gap);
    return folded;
}

}  // namespace

SqlSeq OracleConcatRewriter::concatenation(std::vector<SqlSeq>&& operands, Gap gap) {
    bool neverEmpty = false;
    for (SqlSeq& o : operands) {
        neverEmpty = neverEmpty || isNonEmptyText(o);
        if (isTextOrNull(o)) continue;
        Gap before = o.front().token.gap;
        o = makeCall("oracompat.to_char", std::move(o), before);
    }
    SqlSeq call = makeCall("concat", joinWithCommas(std::move(operands)), gap);
    if (neverEmpty) return call;
    call.push_back(makeComma());
    call.push_back(makeNode(TokenKind::String, "''"));
    return makeCall("NULLIF", std::move(call), gap);
}

void OracleConcatRewriter::rewrite(SqlSeq& seq) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner);
    }
    for (size_t i = 0; i < seq.size(); ++i) {
        if (i > 0 && endsOperand(seq[i - 1])) continue;
        Chain chain = parseChain(seq, i);
        if (!chain.concatenates) continue;
        SqlSeq folded = foldChain(seq, i, chain);
        i = replaceRange(seq, i, chain.end, std::move(folded)) - 1;
    }
}

}  // namespace tk::translate
