// Splits Oracle SQL and PL/SQL text into tokens and notes which rewrite features occur.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "translate/SqlKeyword.hpp"

namespace tk::translate {

enum class TokenKind : std::uint8_t {
    Word,        // identifier or keyword, unquoted; may hold $ and #
    QuotedName,  // "identifier"
    String,      // 'text' with '' escapes, also N'text'
    Number,
    Operator,  // + - * / || <= := ...
    OpenParen,
    CloseParen,
    Comma,
    Semicolon,
    Dot,
    OuterJoinMark,  // Oracle's (+)
    Parameter,      // ? or :name
};

// What separated a token from the one before it; comments count as blanks.
enum class Gap : std::uint8_t { None, Space, Newline };

struct Token {
    TokenKind kind = TokenKind::Word;
    Gap gap = Gap::None;
    Kw keyword = Kw::None;
    std::string_view text;
};

// Constructs seen while tokenizing; each rewrite pass runs only when its
// construct occurs, so plain statements stay cheap to translate.
enum Feature : unsigned {
    kOuterJoin = 1u << 0,
    kConcat = 1u << 1,
    kRownum = 1u << 2,
    kRewriteWords = 1u << 3,  // functions, sequences, '' literals, odd identifiers
    kDivision = 1u << 4,
    kDerivedTable = 1u << 5,  // "From (" : a subquery Oracle lets go unnamed
};

struct TokenStream {
    std::vector<Token> tokens;
    unsigned features = 0;
};

class SqlTokenizer {
  public:
    // Splits Oracle SQL or PL/SQL text into tokens, dropping comments. The
    // tokens point into `sql`, which must outlive them. Throws TranslationError
    // for an unterminated quote or comment.
    // Without `keywords`, words are left as Kw::None and no features are
    // noted: enough to find the literals of a text, and faster.
    static TokenStream tokenize(std::string_view sql, bool keywords = true);
};

}  // namespace tk::translate
