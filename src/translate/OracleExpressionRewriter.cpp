// The expression pass: walks every nesting level and rewrites literals, names, sequence
// references, ROWNUM values, clock words and mapped function calls in place.
#include "translate/OracleExpressionRewriter.hpp"

#include <string>

#include "translate/OracleFunctionMapper.hpp"
#include "translate/OracleTranslator.hpp"

namespace tk::translate {
namespace {

bool isEmptyText(const Token& t) {
    return t.kind == TokenKind::String && (t.text == "''" || t.text == "N''" || t.text == "n''");
}

bool hasLowerCase(std::string_view text) {
    for (char c : text) {
        if (c >= 'a' && c <= 'z') return true;
    }
    return false;
}

// The sequence name as PostgreSQL's regclass input expects it.
std::string sequenceName(const SqlNode& n) {
    return n.token.kind == TokenKind::QuotedName ? std::string(n.token.text)
                                                 : lowerAscii(n.token.text);
}

}  // namespace

void OracleExpressionRewriter::rewrite(SqlSeq& seq) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner);
    }
    for (size_t i = 0; i < seq.size();) i = rewriteAt(seq, i);
}

size_t OracleExpressionRewriter::rewriteAt(SqlSeq& seq, size_t i) {
    SqlNode& n = seq[i];
    switch (n.token.kind) {
        case TokenKind::String:
            if (isEmptyText(n.token))
                n.token = Token{TokenKind::Word, n.token.gap, Kw::Null, "NULL"};
            return i + 1;
        case TokenKind::QuotedName:
            foldQuotedName(n);
            return i + 1;
        case TokenKind::Operator:
            if (n.token.text == "^=") n.token.text = "<>";
            return i + 1;
        case TokenKind::Word:
            return rewriteWord(seq, i);
        default:
            return i + 1;
    }
}

size_t OracleExpressionRewriter::rewriteWord(SqlSeq& seq, size_t i) {
    SqlNode& n = seq[i];
    bool qualified = i > 0 && isKind(seq[i - 1], TokenKind::Dot);
    Kw kw = n.token.keyword;
    if (n.token.text.find('#') != std::string_view::npos) quoteOddName(n);
    if (qualified && (kw == Kw::Nextval || kw == Kw::Currval)) return rewriteSequence(seq, i);
    if (qualified) return i + 1;
    if (kw == Kw::Minus) n.token.text = "EXCEPT";
    if (kw == Kw::Rownum) return rewriteRownum(seq, i);
    bool isCall = i + 1 < seq.size() && seq[i + 1].isGroup();
    if (!isCall && (kw == Kw::Sysdate || kw == Kw::Systimestamp)) return rewriteClock(seq, i);
    if (!isCall || !SqlKeyword::isMappedFunction(kw)) return i + 1;
    SqlNode name = n;
    SqlSeq mapped = OracleFunctionMapper(arena_).map(name, std::move(seq[i + 1]));
    return replaceRange(seq, i, i + 2, std::move(mapped));
}

// [schema.]name.NEXTVAL → nextval('schema.name'); CURRVAL likewise, so that
// reading CURRVAL before NEXTVAL in a session stays an error.
size_t OracleExpressionRewriter::rewriteSequence(SqlSeq& seq, size_t i) {
    if (i < 2 || !isName(seq[i - 2])) throw TranslationError("sequence name expected");
    size_t start = i - 2;
    std::string name = sequenceName(seq[i - 2]);
    if (i >= 4 && isKind(seq[i - 3], TokenKind::Dot) && isName(seq[i - 4])) {
        start = i - 4;
        name = sequenceName(seq[i - 4]) + "." + name;
    }
    SqlSeq arg{makeNode(TokenKind::String, arena_.keep("'" + name + "'"), Gap::None)};
    SqlSeq call;
    call.push_back(makeWord(seq[i].token.keyword == Kw::Nextval ? "nextval" : "currval",
                            seq[start].token.gap));
    call.push_back(makeGroup(std::move(arg)));
    return replaceRange(seq, start, i + 1, std::move(call));
}

size_t OracleExpressionRewriter::rewriteRownum(SqlSeq& seq, size_t i) {
    SqlSeq number;
    number.push_back(makeWord("row_number", seq[i].token.gap));
    number.push_back(makeGroup({}));
    number.push_back(makeWord("over"));
    number.push_back(makeGroup({}, Gap::Space));
    return replaceRange(seq, i, i + 1, std::move(number));
}

// SYSDATE → oracompat.sysdate(): the statement's start to the second, as an
// Oracle DATE; SYSTIMESTAMP → oracompat.systimestamp().
size_t OracleExpressionRewriter::rewriteClock(SqlSeq& seq, size_t i) {
    bool date = seq[i].token.keyword == Kw::Sysdate;
    SqlSeq call =
        makeCall(date ? "oracompat.sysdate" : "oracompat.systimestamp", {}, seq[i].token.gap);
    return replaceRange(seq, i, i + 1, std::move(call));
}

void OracleExpressionRewriter::foldQuotedName(SqlNode& n) {
    if (!hasLowerCase(n.token.text)) n.token.text = arena_.keep(lowerAscii(n.token.text));
}

void OracleExpressionRewriter::quoteOddName(SqlNode& n) {
    n.token.kind = TokenKind::QuotedName;
    n.token.text = arena_.keep("\"" + lowerAscii(n.token.text) + "\"");
}

}  // namespace tk::translate
