// Tokenizes the text, drops a closing "/" or ";", and hands blocks to the PL/SQL translator
// and single statements to the statement translator.
#include "translate/OracleTranslator.hpp"

#include <span>

#include "translate/OraclePlSqlTranslator.hpp"
#include "translate/OracleStatementTranslator.hpp"
#include "translate/OracleStoredUnitTranslator.hpp"
#include "translate/SqlTokenizer.hpp"

namespace tk::translate {
namespace {

bool isBlockStart(const Token& t) {
    return t.kind == TokenKind::Word && (t.keyword == Kw::Declare || t.keyword == Kw::Begin);
}

// Drops SQL*Plus's closing "/" line and, for a plain statement, its ";".
size_t statementLength(const std::vector<Token>& tokens, bool block) {
    size_t n = tokens.size();
    if (n > 0 && tokens[n - 1].kind == TokenKind::Operator && tokens[n - 1].text == "/") --n;
    if (!block && n > 0 && tokens[n - 1].kind == TokenKind::Semicolon) --n;
    return n;
}

}  // namespace

Translation OracleTranslator::translate(std::string_view oracleSql, bool inTransaction) {
    TokenStream stream = SqlTokenizer::tokenize(oracleSql);
    bool block = !stream.tokens.empty() && isBlockStart(stream.tokens.front());
    size_t n = statementLength(stream.tokens, block);
    if (n == 0) throw TranslationError("empty statement");
    std::span<const Token> tokens(stream.tokens.data(), n);
    SqlTextArena arena;
    if (block) {
        return OraclePlSqlTranslator::translate(tokens, stream.features, inTransaction, arena);
    }
    if (OracleStoredUnitTranslator::isStoredUnit(tokens)) {
        return OracleStoredUnitTranslator::translate(tokens, oracleSql, stream.features, arena);
    }
    for (const Token& t : tokens) {
        if (t.kind == TokenKind::Semicolon) {
            throw TranslationError("more than one statement in one call");
        }
    }
    return OracleStatementTranslator::translate(tokens, stream.features, arena);
}

}  // namespace tk::translate
