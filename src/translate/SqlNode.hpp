// The translator's node tree (tokens nested by parentheses) and helpers for reading and editing it.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "translate/SqlTokenizer.hpp"

namespace tk::translate {

// A token, or a parenthesised group holding the nodes between "(" and ")".
// Working on groups keeps every rewrite local to one nesting level.
struct SqlNode {
    Token token;
    std::vector<SqlNode> inner;
    Token close{TokenKind::CloseParen, Gap::None, Kw::None, ")"};

    bool isGroup() const { return token.kind == TokenKind::OpenParen; }
};

using SqlSeq = std::vector<SqlNode>;

// Identifiers compare without regard to ASCII letter case.
inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Unquoted identifiers as PostgreSQL stores them.
inline std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

inline std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

inline bool isKind(const SqlNode& n, TokenKind kind) { return n.token.kind == kind; }

inline bool isKeyword(const SqlNode& n, Kw kw) {
    return n.token.kind == TokenKind::Word && n.token.keyword == kw;
}

inline bool isOperator(const SqlNode& n, std::string_view op) {
    return n.token.kind == TokenKind::Operator && n.token.text == op;
}

// A plain identifier: a word that is not reserved, or a quoted name.
inline bool isName(const SqlNode& n) {
    return (n.token.kind == TokenKind::Word && !SqlKeyword::isReserved(n.token.keyword)) ||
           n.token.kind == TokenKind::QuotedName;
}

// A group holding a query: "(Select …)" or "(With …)".
inline bool isSubquery(const SqlNode& n) {
    if (!n.isGroup() || n.inner.empty()) return false;
    const SqlNode& first = n.inner.front();
    return isKeyword(first, Kw::Select) || isKeyword(first, Kw::With) || isSubquery(first);
}

inline SqlNode makeNode(TokenKind kind, std::string_view text, Gap gap = Gap::Space) {
    SqlNode n;
    n.token = Token{kind, gap, Kw::None, text};
    return n;
}

// A word made by a rewrite; keywords are recognised so that later passes see
// the clauses it forms.
inline SqlNode makeWord(std::string_view text, Gap gap = Gap::Space) {
    SqlNode n = makeNode(TokenKind::Word, text, gap);
    n.token.keyword = SqlKeyword::lookup(text);
    return n;
}

inline SqlNode makeGroup(SqlSeq inner, Gap gap = Gap::None) {
    SqlNode n = makeNode(TokenKind::OpenParen, "(", gap);
    n.inner = std::move(inner);
    return n;
}

inline SqlNode makeComma() { return makeNode(TokenKind::Comma, ",", Gap::None); }

inline void setGap(SqlSeq& seq, Gap gap) {
    if (!seq.empty()) seq.front().token.gap = gap;
}

inline SqlSeq spaced(SqlSeq seq) {
    setGap(seq, Gap::Space);
    return seq;
}

inline void append(SqlSeq& to, SqlSeq&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Replaces nodes [begin, end) of `seq` by `with`; returns the index after them.
inline size_t replaceRange(SqlSeq& seq, size_t begin, size_t end, SqlSeq&& with) {
    size_t count = with.size();
    seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(begin),
              seq.begin() + static_cast<std::ptrdiff_t>(end));
    seq.insert(seq.begin() + static_cast<std::ptrdiff_t>(begin),
               std::make_move_iterator(with.begin()), std::make_move_iterator(with.end()));
    return begin + count;
}

// Moves nodes [begin, end) out of `seq`, leaving moved-from nodes behind.
inline SqlSeq take(SqlSeq& seq, size_t begin, size_t end) {
    return SqlSeq(std::make_move_iterator(seq.begin() + static_cast<std::ptrdiff_t>(begin)),
                  std::make_move_iterator(seq.begin() + static_cast<std::ptrdiff_t>(end)));
}

// The end of the dotted name "schema.table" starting at seq[i].
size_t dottedNameEnd(const SqlSeq& seq, size_t i);

// "a, b, c"
inline SqlSeq joinWithCommas(std::vector<SqlSeq>&& items) {
    SqlSeq joined;
    for (SqlSeq& item : items) {
        if (!joined.empty()) {
            joined.push_back(makeComma());
            setGap(item, Gap::Space);
        }
        append(joined, std::move(item));
    }
    return joined;
}

// "function(args)"; `function` may be qualified ("oracle.substr").
inline SqlSeq makeCall(std::string_view function, SqlSeq args, Gap gap) {
    SqlSeq out;
    size_t dot = function.find('.');
    if (dot == std::string_view::npos) {
        out.push_back(makeWord(function, gap));
    } else {
        out.push_back(makeWord(function.substr(0, dot), gap));
        out.push_back(makeNode(TokenKind::Dot, ".", Gap::None));
        out.push_back(makeWord(function.substr(dot + 1), Gap::None));
    }
    setGap(args, Gap::None);
    out.push_back(makeGroup(std::move(args)));
    return out;
}

inline SqlSeq slice(const SqlSeq& seq, size_t begin, size_t end) {
    return SqlSeq(seq.begin() + static_cast<std::ptrdiff_t>(begin),
                  seq.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace tk::translate
