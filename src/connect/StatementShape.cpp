#include "connect/StatementShape.hpp"

#include <cstdio>

#include "connect/SqlTokenizer.hpp"

namespace tk::connect {
namespace {

bool isWordKw(const Token& t, Kw kw) { return t.kind == TokenKind::Word && t.keyword == kw; }

bool isLiftedStatement(const std::vector<Token>& tokens) {
    if (tokens.empty()) return false;
    const Token& first = tokens.front();
    if (first.kind == TokenKind::OpenParen) return true;
    for (Kw kw : {Kw::Select, Kw::With, Kw::Insert, Kw::Update, Kw::Delete, Kw::Merge}) {
        if (isWordKw(first, kw)) return true;
    }
    return false;
}

bool isEmptyText(std::string_view text) { return text == "''" || text == "N''" || text == "n''"; }

bool nearRownum(const std::vector<Token>& tokens, size_t i) {
    for (size_t k = i >= 2 ? i - 2 : 0; k <= i + 2 && k < tokens.size(); ++k) {
        if (isWordKw(tokens[k], Kw::Rownum)) return true;
    }
    return false;
}

// "name(" or "type(": the group holds arguments.
bool opensCall(const std::vector<Token>& tokens, size_t open) {
    if (open == 0) return false;
    const Token& before = tokens[open - 1];
    return (before.kind == TokenKind::Word && !SqlKeyword::isReserved(before.keyword)) ||
           before.kind == TokenKind::QuotedName;
}

// Fixed width, so that no marker is the start of another; digits and a
// fraction for numbers, so the translator sees a number of the same kind.
std::string markerFor(const Token& t, size_t index) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06zu", index % 1000000);
    if (t.kind == TokenKind::String) return std::string("'\x01tk") + digits + "'";
    bool fraction = t.text.find_first_of(".eE") != std::string_view::npos;
    return std::string("9317") + digits + (fraction ? "0.5" : "0");
}

}  // namespace

StatementShape::StatementShape(std::string_view oracleSql, bool inTransaction) {
    key_ = inTransaction ? "1" : "0";
    TokenStream stream = SqlTokenizer::tokenize(oracleSql);
    const std::vector<Token>& tokens = stream.tokens;
    if (!isLiftedStatement(tokens)) {
        key_ += oracleSql;
        return;
    }
    std::vector<bool> calls;  // per open group: does it hold call arguments
    size_t copied = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == TokenKind::OpenParen) calls.push_back(opensCall(tokens, i));
        if (t.kind == TokenKind::CloseParen && !calls.empty()) calls.pop_back();
        bool literal = t.kind == TokenKind::Number || t.kind == TokenKind::String;
        if (!literal || isEmptyText(t.text) || (!calls.empty() && calls.back()) ||
            nearRownum(tokens, i)) {
            continue;
        }
        size_t at = static_cast<size_t>(t.text.data() - oracleSql.data());
        key_.append(oracleSql.substr(copied, at - copied));
        markers_.push_back(markerFor(t, literals_.size()));
        key_ += markers_.back();
        literals_.push_back(t.text);
        copied = at + t.text.size();
    }
    key_.append(oracleSql.substr(copied));
}

}  // namespace tk::connect
