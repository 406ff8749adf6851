// Building a shape: literals replaced by fixed-width markers, except those whose value changes
// the translation ('', call arguments, ROWNUM limits).
#include "translate/StatementShape.hpp"

#include "translate/SqlNode.hpp"

namespace tk::translate {
namespace {

// The tokens come without keywords (cheaper); the few words that matter are
// looked up here.
Kw keywordOf(const Token& t) {
    return t.kind == TokenKind::Word ? SqlKeyword::lookup(t.text) : Kw::None;
}

bool isLiftedStatement(const std::vector<Token>& tokens) {
    if (tokens.empty()) return false;
    if (tokens.front().kind == TokenKind::OpenParen) return true;
    Kw first = keywordOf(tokens.front());
    for (Kw kw : {Kw::Select, Kw::With, Kw::Insert, Kw::Update, Kw::Delete, Kw::Merge}) {
        if (first == kw) return true;
    }
    return false;
}

bool isEmptyText(std::string_view text) { return text == "''" || text == "N''" || text == "n''"; }

bool nearRownum(const std::vector<Token>& tokens, size_t i) {
    for (size_t k = i >= 2 ? i - 2 : 0; k <= i + 2 && k < tokens.size(); ++k) {
        if (tokens[k].kind == TokenKind::Word && sameName(tokens[k].text, "rownum")) return true;
    }
    return false;
}

// "name(" or "type(": the group holds arguments.
bool opensCall(const std::vector<Token>& tokens, size_t open) {
    if (open == 0) return false;
    const Token& before = tokens[open - 1];
    return (before.kind == TokenKind::Word && !SqlKeyword::isReserved(keywordOf(before))) ||
           before.kind == TokenKind::QuotedName;
}

}  // namespace

// Fixed width, so that no marker is the start of another; digits and a
// fraction for numbers, so the translator sees a number of the same kind.
void StatementShape::appendMarker(std::string& out, std::string_view literal, size_t index) {
    bool text = literal.front() == '\'' || literal.front() == 'N' || literal.front() == 'n';
    out += text ? "'\x01tk" : "9317";
    char digits[6];
    for (size_t k = 6; k-- > 0; index /= 10) digits[k] = static_cast<char>('0' + index % 10);
    out.append(digits, 6);
    if (text) {
        out += '\'';
    } else {
        out += literal.find_first_of(".eE") != std::string_view::npos ? "0.5" : "0";
    }
}

std::vector<std::string> StatementShape::markers() const {
    std::vector<std::string> out(literals_.size());
    for (size_t i = 0; i < literals_.size(); ++i) appendMarker(out[i], literals_[i], i);
    return out;
}

StatementShape::StatementShape(std::string_view oracleSql, bool inTransaction) {
    key_.reserve(oracleSql.size() + 16);
    key_ = inTransaction ? "1" : "0";
    TokenStream stream = SqlTokenizer::tokenize(oracleSql, false);
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
        appendMarker(key_, t.text, literals_.size());
        literals_.push_back(t.text);
        copied = at + t.text.size();
    }
    key_.append(oracleSql.substr(copied));
}

}  // namespace tk::translate
