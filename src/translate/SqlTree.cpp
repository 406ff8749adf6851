// Nesting tokens by parentheses (up to Oracle's depth limit) and writing nodes back as text
// with the source's blanks and line breaks.
#include "translate/SqlTree.hpp"

#include "translate/OracleTranslator.hpp"

namespace tk::translate {
namespace {

// Oracle's own limit for nested subqueries; every pass recurses per level, so
// a deeper text must be refused before it exhausts the stack.
constexpr int kMaxNesting = 255;

SqlSeq buildLevel(std::span<const Token> tokens, size_t& pos, int depth) {
    if (depth > kMaxNesting) throw TranslationError("parentheses nested more than 255 deep");
    SqlSeq seq;
    while (pos < tokens.size()) {
        const Token& t = tokens[pos];
        if (t.kind == TokenKind::CloseParen) {
            if (depth == 0) throw TranslationError("unbalanced parenthesis");
            return seq;
        }
        ++pos;
        SqlNode node;
        node.token = t;
        if (t.kind == TokenKind::OpenParen) {
            node.inner = buildLevel(tokens, pos, depth + 1);
            if (pos >= tokens.size()) throw TranslationError("unbalanced parenthesis");
            node.close = tokens[pos++];
        }
        seq.push_back(std::move(node));
    }
    return seq;
}

bool isWordish(char c) {
    auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '#' || c == '\'' || c == '"' || u >= 0x80;
}

bool isOperatorChar(char c) {
    switch (c) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '<':
        case '>':
        case '=':
        case '!':
        case '|':
        case ':':
        case '^':
        case '%':
        case '~':
        case '&':
        case '@':
            return true;
        default:
            return false;
    }
}

// Two tokens written without a gap must not run together into one.
bool needsSeparator(char last, char next) {
    return (isWordish(last) && isWordish(next)) || (isOperatorChar(last) && isOperatorChar(next));
}

void appendToken(std::string& out, const Token& t) {
    if (t.kind == TokenKind::OuterJoinMark) {
        throw TranslationError("(+) is only understood in the WHERE clause of a query");
    }
    if (!out.empty() && !t.text.empty()) {
        if (t.gap == Gap::Newline) {
            out += '\n';
        } else if (t.gap == Gap::Space || needsSeparator(out.back(), t.text.front())) {
            out += ' ';
        }
    }
    out += t.text;
}

}  // namespace

size_t dottedNameEnd(const SqlSeq& seq, size_t i) {
    if (i >= seq.size() || !isName(seq[i])) throw TranslationError("name expected");
    ++i;
    while (i + 1 < seq.size() && isKind(seq[i], TokenKind::Dot) && isName(seq[i + 1])) i += 2;
    return i;
}

SqlSeq SqlTree::build(std::span<const Token> tokens) {
    size_t pos = 0;
    return buildLevel(tokens, pos, 0);
}

std::string SqlTree::render(const SqlSeq& seq) {
    std::string out;
    out.reserve(256);
    renderInto(out, seq);
    return out;
}

void SqlTree::renderInto(std::string& out, const SqlSeq& seq) {
    renderInto(out, seq, 0, seq.size());
}

void SqlTree::renderInto(std::string& out, const SqlSeq& seq, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        const SqlNode& node = seq[i];
        appendToken(out, node.token);
        if (!node.isGroup()) continue;
        renderInto(out, node.inner);
        appendToken(out, node.close);
    }
}

}  // namespace tk::translate
