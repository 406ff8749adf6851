// The tokenizer: Oracle SQL text scanned into words, literals, operators and (+) marks,
// skipping comments and noting the features the rewrite passes need.
#include "translate/SqlTokenizer.hpp"

#include <algorithm>
#include <array>

#include "translate/OracleTranslator.hpp"

namespace tk::translate {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isWordStart(char c) {
    auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || u >= 0x80;
}

bool isWordChar(char c) { return isWordStart(c) || isDigit(c) || c == '$' || c == '#'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

constexpr std::array<std::string_view, 13> kTwoCharOperators = {
    "||", "<=", ">=", "<>", "!=", "^=", ":=", "=>", "**", "..", "::", "<<", ">>"};

class Scanner {
  public:
    Scanner(std::string_view sql, bool keywords) : sql_(sql), keywords_(keywords) {
        out_.tokens.reserve(sql.size() / 4 + 8);
    }

    TokenStream run() {
        while (pos_ < sql_.size()) {
            if (skipBlankOrComment()) continue;
            scanToken();
        }
        return std::move(out_);
    }

  private:
    char at(size_t i) const { return i < sql_.size() ? sql_[i] : '\0'; }

    bool skipBlankOrComment() {
        char c = sql_[pos_];
        if (c == '\n') {
            gap_ = Gap::Newline;
            ++pos_;
        } else if (isBlank(c)) {
            widenGap();
            ++pos_;
        } else if (c == '-' && at(pos_ + 1) == '-') {
            size_t end = sql_.find('\n', pos_);
            pos_ = end == std::string_view::npos ? sql_.size() : end;
            widenGap();
        } else if (c == '/' && at(pos_ + 1) == '*') {
            size_t end = sql_.find("*/", pos_ + 2);
            if (end == std::string_view::npos) throw TranslationError("unterminated comment");
            pos_ = end + 2;
            widenGap();
        } else {
            return false;
        }
        return true;
    }

    void widenGap() {
        if (gap_ == Gap::None) gap_ = Gap::Space;
    }

    void scanToken() {
        size_t start = pos_;
        char c = sql_[pos_];
        TokenKind kind = TokenKind::Operator;
        if (c == '\'') {
            pos_ = endOfQuoted(pos_, '\'');
            kind = TokenKind::String;
        } else if ((c == 'N' || c == 'n') && at(pos_ + 1) == '\'') {
            pos_ = endOfQuoted(pos_ + 1, '\'');
            kind = TokenKind::String;
        } else if (c == '"') {
            pos_ = endOfQuoted(pos_, '"');
            kind = TokenKind::QuotedName;
            out_.features |= kRewriteWords;
        } else if (isDigit(c) || (c == '.' && isDigit(at(pos_ + 1)))) {
            scanNumber();
            kind = TokenKind::Number;
        } else if (isWordStart(c)) {
            while (pos_ < sql_.size() && isWordChar(sql_[pos_])) ++pos_;
            kind = TokenKind::Word;
        } else {
            kind = scanPunctuation();
        }
        push(kind, sql_.substr(start, pos_ - start));
    }

    size_t endOfQuoted(size_t open, char quote) const {
        for (size_t i = open + 1; i < sql_.size(); ++i) {
            if (sql_[i] != quote) continue;
            if (at(i + 1) != quote) return i + 1;
            ++i;  // a doubled quote stands for one
        }
        throw TranslationError(quote == '"' ? "unterminated quoted name"
                                            : "unterminated text literal");
    }

    void scanNumber() {
        while (isDigit(at(pos_))) ++pos_;
        if (at(pos_) == '.' && at(pos_ + 1) != '.') {
            ++pos_;
            while (isDigit(at(pos_))) ++pos_;
        }
        char e = at(pos_);
        bool sign = at(pos_ + 1) == '+' || at(pos_ + 1) == '-';
        if ((e == 'e' || e == 'E') && isDigit(at(pos_ + (sign ? 2 : 1)))) {
            pos_ += sign ? 2 : 1;
            while (isDigit(at(pos_))) ++pos_;
        }
    }

    TokenKind scanPunctuation() {
        char c = sql_[pos_];
        switch (c) {
            case '(':
                return scanOpenParen();
            case ')':
                ++pos_;
                return TokenKind::CloseParen;
            case ',':
                ++pos_;
                return TokenKind::Comma;
            case ';':
                ++pos_;
                return TokenKind::Semicolon;
            case '?':
                ++pos_;
                return TokenKind::Parameter;
            default:
                break;
        }
        if (c == ':' && isWordChar(at(pos_ + 1))) {
            ++pos_;
            while (pos_ < sql_.size() && isWordChar(sql_[pos_])) ++pos_;
            return TokenKind::Parameter;
        }
        std::string_view two = sql_.substr(pos_, 2);
        if (std::find(kTwoCharOperators.begin(), kTwoCharOperators.end(), two) !=
            kTwoCharOperators.end()) {
            pos_ += 2;
            if (two == "||") out_.features |= kConcat;
            if (two == "^=") out_.features |= kRewriteWords;
            return TokenKind::Operator;
        }
        ++pos_;
        if (c == '/') out_.features |= kDivision;
        return c == '.' ? TokenKind::Dot : TokenKind::Operator;
    }

    // "(+)" with any blanks inside is one token: the outer-join mark.
    TokenKind scanOpenParen() {
        size_t i = pos_ + 1;
        while (isBlank(at(i)) || at(i) == '\n') ++i;
        if (at(i) == '+') {
            size_t j = i + 1;
            while (isBlank(at(j)) || at(j) == '\n') ++j;
            if (at(j) == ')') {
                pos_ = j + 1;
                out_.features |= kOuterJoin;
                return TokenKind::OuterJoinMark;
            }
        }
        ++pos_;
        if (!out_.tokens.empty() && out_.tokens.back().keyword == Kw::From) {
            out_.features |= kDerivedTable;
        }
        return TokenKind::OpenParen;
    }

    void push(TokenKind kind, std::string_view text) {
        Token t{kind, gap_, Kw::None, text};
        gap_ = Gap::None;
        if (kind == TokenKind::Word && keywords_) classifyWord(t);
        if (kind == TokenKind::String && text.substr(text.size() - 2) == "''" && text.size() <= 3) {
            out_.features |= kRewriteWords;  // '' is Oracle's NULL
        }
        out_.tokens.push_back(t);
    }

    void classifyWord(Token& t) {
        t.keyword = SqlKeyword::lookup(t.text);
        if (t.keyword == Kw::Rownum) out_.features |= kRownum;
        if (SqlKeyword::needsRewrite(t.keyword) || t.text.find('#') != std::string_view::npos) {
            out_.features |= kRewriteWords;
        }
    }

    std::string_view sql_;
    bool keywords_;
    size_t pos_ = 0;
    Gap gap_ = Gap::None;
    TokenStream out_;
};

}  // namespace

TokenStream SqlTokenizer::tokenize(std::string_view sql, bool keywords) {
    return Scanner(sql, keywords).run();
}

}  // namespace tk::translate
