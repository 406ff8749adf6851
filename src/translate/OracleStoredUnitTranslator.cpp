// Stored PL/SQL units: the header read part by part (name, parameters, return type, trigger
// timing and events), the body handed to the block writer, the routine rendered in PL/pgSQL.
#include "translate/OracleStoredUnitTranslator.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "translate/OraclePlSqlTranslator.hpp"
#include "translate/OracleStatementTranslator.hpp"
#include "translate/OracleTypeMapper.hpp"
#include "translate/SqlNode.hpp"
#include "translate/SqlQueryBlock.hpp"
#include "translate/SqlTree.hpp"

namespace tk::translate {
namespace {

bool isKw(const Token& t, Kw kw) { return t.kind == TokenKind::Word && t.keyword == kw; }
bool isWord(const Token& t, std::string_view word) {
    return t.kind == TokenKind::Word && sameName(t.text, word);
}

Token word(std::string_view text, Gap gap = Gap::Space) {
    return {TokenKind::Word, gap, Kw::None, text};
}

// The line of the source a token stands on; 0 for a token made here.
size_t lineOf(std::string_view source, const Token& t) {
    const char* at = t.text.data();
    if (at < source.data() || at > source.data() + source.size()) return 0;
    return static_cast<size_t>(std::count(source.data(), at, '\n')) + 1;
}

std::string rendered(std::span<const Token> tokens) {
    return SqlTree::render(SqlTree::build(tokens));
}

class UnitWriter {
  public:
    UnitWriter(std::span<const Token> tokens, std::string_view source, unsigned features,
               SqlTextArena& arena)
        : tokens_(tokens.begin(), tokens.end()),
          source_(source),
          features_(features),
          arena_(arena) {}

    std::string run() {
        size_t i = 1;
        if (i + 1 < tokens_.size() && isKw(tokens_[i], Kw::Or) && isKw(tokens_[i + 1], Kw::Replace))
            i += 2;
        while (i < tokens_.size() &&
               (isWord(tokens_[i], "editionable") || isWord(tokens_[i], "noneditionable")))
            ++i;
        if (i + 1 >= tokens_.size()) refuse(tokens_.size() - 1, "stored unit name expected");
        const Token& kind = tokens_[i];
        pos_ = i + 1;
        if (isKw(kind, Kw::Procedure) || isKw(kind, Kw::Function)) return routine(kind);
        if (isKw(kind, Kw::Trigger)) return trigger();
        refuse(i, upperAscii(kind.text) + " is not translated");
    }

  private:
    [[noreturn]] void refuse(size_t at, const std::string& what) const {
        size_t line = at < tokens_.size() ? lineOf(source_, tokens_[at]) : 0;
        throw TranslationError(what + (line ? " (line " + std::to_string(line) + ")" : ""));
    }

    // schema.name, as written
    std::string name() {
        size_t begin = pos_;
        ++pos_;
        while (pos_ + 1 < tokens_.size() && tokens_[pos_].kind == TokenKind::Dot) pos_ += 2;
        return rendered(std::span(tokens_).subspan(begin, pos_ - begin));
    }

    size_t closingParen(size_t open) const {
        int depth = 0;
        for (size_t k = open; k < tokens_.size(); ++k) {
            if (tokens_[k].kind == TokenKind::OpenParen) ++depth;
            if (tokens_[k].kind == TokenKind::CloseParen && --depth == 0) return k;
        }
        refuse(open, "unbalanced parentheses");
    }

    std::string typeText(size_t begin, size_t end) {
        if (begin >= end) refuse(begin, "type expected");
        SqlSeq seq = SqlTree::build(std::span(tokens_).subspan(begin, end - begin));
        OracleTypeMapper::mapType(seq, 0);
        return SqlTree::render(seq);
    }

    // "p IN OUT NOCOPY emp.sal%TYPE := 0" → "INOUT p emp.sal%TYPE DEFAULT 0"
    std::string parameter(size_t begin, size_t end) {
        size_t k = begin + 1;
        bool in = false, out = false;
        for (; k < end; ++k) {
            if (isKw(tokens_[k], Kw::In))
                in = true;
            else if (isWord(tokens_[k], "out"))
                out = true;
            else if (!isWord(tokens_[k], "nocopy"))
                break;
        }
        size_t typeEnd = k;
        while (typeEnd < end && !isKw(tokens_[typeEnd], Kw::Default) &&
               tokens_[typeEnd].text != ":=")
            ++typeEnd;
        // PostgreSQL takes no OUT parameter after one with a default: such a
        // parameter is passed both ways, and emptied first as Oracle's OUT is.
        bool emptied = out && !in && defaulted_;
        if (emptied) emptiedOnEntry_.push_back(tokens_[begin]);
        std::string text = out ? (in || emptied ? "INOUT " : "OUT ") : "";
        text += std::string(tokens_[begin].text) + " " + typeText(k, typeEnd);
        if (emptied) text += " DEFAULT NULL";
        defaulted_ = defaulted_ || typeEnd + 1 < end;
        if (typeEnd + 1 < end) {
            SqlSeq value =
                SqlTree::build(std::span(tokens_).subspan(typeEnd + 1, end - typeEnd - 1));
            OracleStatementTranslator::rewriteExpressions(value, features_, arena_);
            text += " DEFAULT " + SqlTree::render(value);
        }
        return text;
    }

    std::string parameters() {
        if (pos_ >= tokens_.size() || tokens_[pos_].kind != TokenKind::OpenParen) return "()";
        size_t close = closingParen(pos_);
        std::string list;
        size_t begin = pos_ + 1;
        int depth = 0;
        for (size_t k = begin; k <= close; ++k) {
            const Token& t = tokens_[k];
            if (t.kind == TokenKind::OpenParen) ++depth;
            if (t.kind == TokenKind::CloseParen) --depth;
            if ((t.kind == TokenKind::Comma && depth == 0) || k == close) {
                list += (list.empty() ? "" : ", ") + parameter(begin, k);
                begin = k + 1;
            }
        }
        pos_ = close + 1;
        return "(" + list + ")";
    }

    // The first IS / AS from the current position: the body follows it.
    size_t bodyStart() {
        for (size_t k = pos_; k < tokens_.size(); ++k)
            if (isKw(tokens_[k], Kw::Is) || isKw(tokens_[k], Kw::As)) return k + 1;
        refuse(pos_, "IS or AS expected");
    }

    // "END name;" closes the unit; PL/pgSQL knows no name there.
    void dropEndName() {
        size_t n = tokens_.size();
        if (n > 0 && tokens_[n - 1].kind == TokenKind::Semicolon) --n;
        if (n >= 2 && !isKw(tokens_[n - 1], Kw::End) && isKw(tokens_[n - 2], Kw::End))
            tokens_.erase(tokens_.begin() + static_cast<std::ptrdiff_t>(n - 1));
    }

    std::string body(size_t from) {
        dropEndName();
        emptyOnEntry(from);
        return OraclePlSqlTranslator::body(std::span(tokens_).subspan(from), source_, features_,
                                           arena_);
    }

    // "p := NULL;" for each parameter in emptiedOnEntry_, first thing after the body's BEGIN.
    void emptyOnEntry(size_t from) {
        if (emptiedOnEntry_.empty()) return;
        size_t begin = from;
        while (begin < tokens_.size() && !isKw(tokens_[begin], Kw::Begin)) ++begin;
        if (begin == tokens_.size()) refuse(from, "BEGIN expected");
        std::vector<Token> clear;
        for (const Token& p : emptiedOnEntry_) {
            clear.push_back(word(p.text, Gap::Newline));
            clear.push_back({TokenKind::Operator, Gap::Space, Kw::None, ":="});
            clear.push_back({TokenKind::Word, Gap::Space, Kw::Null, "NULL"});
            clear.push_back({TokenKind::Semicolon, Gap::None, Kw::None, ";"});
        }
        tokens_.insert(tokens_.begin() + static_cast<std::ptrdiff_t>(begin + 1), clear.begin(),
                       clear.end());
    }

    std::string routine(const Token& kind) {
        bool function = isKw(kind, Kw::Function);
        std::string unit = name();
        std::string text = "CREATE OR REPLACE " +
                           std::string(function ? "FUNCTION " : "PROCEDURE ") + unit + parameters();
        if (function) {
            if (pos_ >= tokens_.size() || !isKw(tokens_[pos_], Kw::Return))
                refuse(pos_, "RETURN type expected");
            size_t typeEnd = pos_ + 1;
            while (typeEnd < tokens_.size() && !isKw(tokens_[typeEnd], Kw::Is) &&
                   !isKw(tokens_[typeEnd], Kw::As) && !isWord(tokens_[typeEnd], "deterministic"))
                ++typeEnd;
            text += " RETURNS " + typeText(pos_ + 1, typeEnd);
            pos_ = typeEnd;
        }
        size_t from = bodyStart();
        return text + " LANGUAGE plpgsql AS " + OraclePlSqlTranslator::dollarQuoted(body(from));
    }

    // ---- triggers ----

    std::string trigger() {
        std::string unit = name();
        size_t headerBegin = pos_;
        size_t bodyBegin = pos_;
        while (bodyBegin < tokens_.size() && !isKw(tokens_[bodyBegin], Kw::Declare) &&
               !isKw(tokens_[bodyBegin], Kw::Begin))
            ++bodyBegin;
        if (bodyBegin == tokens_.size()) refuse(headerBegin, "trigger body expected");
        std::string header = triggerHeader(headerBegin, bodyBegin);
        if (isKw(tokens_[bodyBegin], Kw::Declare)) ++bodyBegin;
        prepareTriggerBody(bodyBegin);
        std::string function = unit + "$trg";
        std::string create = "CREATE OR REPLACE FUNCTION " + function +
                             "() RETURNS trigger LANGUAGE plpgsql AS " +
                             OraclePlSqlTranslator::dollarQuoted(body(bodyBegin)) + ";\n" +
                             "CREATE OR REPLACE TRIGGER " + unqualified(unit) + " " + header +
                             " EXECUTE FUNCTION " + function + "();";
        // Both or neither: one statement for the connection.
        return "DO " + OraclePlSqlTranslator::dollarQuoted("BEGIN\n" + create + "\nEND");
    }

    static std::string unqualified(const std::string& name) {
        size_t dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(dot + 1);
    }

    // Timing, events, table, FOR EACH ROW and WHEN as PostgreSQL writes them;
    // REFERENCING names are read as NEW and OLD.
    std::string triggerHeader(size_t begin, size_t end) {
        std::string header;
        for (size_t k = begin; k < end; ++k) {
            const Token& t = tokens_[k];
            if (isWord(t, "before") || isWord(t, "after")) before_ = isWord(t, "before");
            if (isWord(t, "each")) row_ = true;
            if (isWord(t, "referencing")) {
                k = referencing(k + 1, end) - 1;
                continue;
            }
            // The condition is tested in the body: PostgreSQL's WHEN may not read
            // OLD for an insert nor NEW for a delete, where Oracle reads NULLs.
            if (isKw(t, Kw::When) && k + 1 < end && tokens_[k + 1].kind == TokenKind::OpenParen) {
                size_t close = closingParen(k + 1);
                when_.assign(tokens_.begin() + static_cast<std::ptrdiff_t>(k + 1),
                             tokens_.begin() + static_cast<std::ptrdiff_t>(close + 1));
                k = close;
                continue;
            }
            header += (header.empty() ? "" : t.gap == Gap::None ? "" : " ") + std::string(t.text);
        }
        return header;
    }

    // "REFERENCING NEW AS n OLD AS o" up to the next clause
    size_t referencing(size_t k, size_t end) {
        while (k + 2 < end && (isWord(tokens_[k], "new") || isWord(tokens_[k], "old") ||
                               isWord(tokens_[k], "parent"))) {
            size_t alias = isKw(tokens_[k + 1], Kw::As) ? k + 2 : k + 1;
            aliases_.push_back({tokens_[alias].text, isWord(tokens_[k], "old") ? "OLD" : "NEW"});
            k = alias + 1;
        }
        return k;
    }

    // :new.x / new.x (in WHEN) → NEW.x, as their aliases too.
    void renameRows(std::vector<Token>& tokens) const {
        for (size_t k = 0; k + 1 < tokens.size(); ++k) {
            Token& t = tokens[k];
            if (tokens[k + 1].kind != TokenKind::Dot) continue;
            std::string_view bare = t.kind == TokenKind::Parameter ? t.text.substr(1) : t.text;
            if (t.kind != TokenKind::Parameter && t.kind != TokenKind::Word) continue;
            for (const auto& [alias, row] : rowNames())
                if (sameName(bare, alias)) t = word(row, t.gap);
        }
    }

    std::vector<std::pair<std::string_view, std::string_view>> rowNames() const {
        std::vector<std::pair<std::string_view, std::string_view>> names = {{"new", "NEW"},
                                                                            {"old", "OLD"}};
        names.insert(names.end(), aliases_.begin(), aliases_.end());
        return names;
    }

    // INSERTING → (TG_OP = 'INSERT') …; the row handed on before the final END.
    void prepareTriggerBody(size_t from) {
        std::vector<Token> out(tokens_.begin(),
                               tokens_.begin() + static_cast<std::ptrdiff_t>(from));
        std::vector<Token> rest(tokens_.begin() + static_cast<std::ptrdiff_t>(from), tokens_.end());
        renameRows(rest);
        for (const Token& t : rest) {
            std::string_view operation = isWord(t, "inserting")  ? "'INSERT'"
                                         : isWord(t, "updating") ? "'UPDATE'"
                                         : isWord(t, "deleting") ? "'DELETE'"
                                                                 : "";
            if (operation.empty()) {
                out.push_back(t);
                continue;
            }
            out.push_back({TokenKind::OpenParen, t.gap, Kw::None, "("});
            out.push_back(word("TG_OP", Gap::None));
            out.push_back({TokenKind::Operator, Gap::Space, Kw::None, "="});
            out.push_back({TokenKind::String, Gap::Space, Kw::None, operation});
            out.push_back({TokenKind::CloseParen, Gap::None, Kw::None, ")"});
        }
        tokens_ = std::move(out);
        dropEndName();
        insertReturn();
        guardWithWhen(from);
    }

    // "IF NOT COALESCE((condition), FALSE) THEN RETURN …; END IF;" first in the body.
    void guardWithWhen(size_t from) {
        if (when_.empty()) return;
        renameRows(when_);
        size_t begin = from;
        while (begin < tokens_.size() && !isKw(tokens_[begin], Kw::Begin)) ++begin;
        if (begin == tokens_.size()) refuse(from, "BEGIN expected");
        std::vector<Token> guard = {{TokenKind::Word, Gap::Newline, Kw::If, "IF"},
                                    {TokenKind::Word, Gap::Space, Kw::Not, "NOT"},
                                    word("COALESCE"),
                                    {TokenKind::OpenParen, Gap::None, Kw::None, "("}};
        guard.insert(guard.end(), when_.begin(), when_.end());
        guard.push_back({TokenKind::Comma, Gap::None, Kw::None, ","});
        guard.push_back(word("FALSE"));
        guard.push_back({TokenKind::CloseParen, Gap::None, Kw::None, ")"});
        guard.push_back({TokenKind::Word, Gap::Space, Kw::Then, "THEN"});
        std::vector<Token> ret = returnTokens();
        guard.insert(guard.end(), ret.begin(), ret.end());
        guard.push_back({TokenKind::Word, Gap::Space, Kw::End, "END"});
        guard.push_back({TokenKind::Word, Gap::Space, Kw::If, "IF"});
        guard.push_back({TokenKind::Semicolon, Gap::None, Kw::None, ";"});
        tokens_.insert(tokens_.begin() + static_cast<std::ptrdiff_t>(begin + 1), guard.begin(),
                       guard.end());
    }

    // A BEFORE row trigger passes on the row (OLD for a delete); any other
    // trigger's result is ignored.
    std::vector<Token> returnTokens() const {
        const Token semicolon{TokenKind::Semicolon, Gap::None, Kw::None, ";"};
        auto kw = [](Kw k, std::string_view text) {
            return Token{TokenKind::Word, Gap::Space, k, text};
        };
        if (!(before_ && row_)) return {kw(Kw::Return, "RETURN"), kw(Kw::Null, "NULL"), semicolon};
        return {kw(Kw::If, "IF"),
                word("TG_OP"),
                {TokenKind::Operator, Gap::Space, Kw::None, "="},
                {TokenKind::String, Gap::Space, Kw::None, "'DELETE'"},
                kw(Kw::Then, "THEN"),
                kw(Kw::Return, "RETURN"),
                word("OLD"),
                semicolon,
                kw(Kw::End, "END"),
                kw(Kw::If, "IF"),
                semicolon,
                kw(Kw::Return, "RETURN"),
                word("NEW"),
                semicolon};
    }

    void insertReturn() {
        size_t end = tokens_.size();
        while (end > 0 && !isKw(tokens_[end - 1], Kw::End)) --end;
        if (end == 0) refuse(tokens_.size() - 1, "END expected");
        std::vector<Token> ret = returnTokens();
        ret.front().gap = Gap::Newline;
        tokens_.insert(tokens_.begin() + static_cast<std::ptrdiff_t>(end - 1), ret.begin(),
                       ret.end());
    }

    std::vector<Token> tokens_;
    std::string_view source_;
    unsigned features_;
    SqlTextArena& arena_;
    size_t pos_ = 0;
    bool before_ = false, row_ = false;
    bool defaulted_ = false;
    std::vector<Token> emptiedOnEntry_;
    std::vector<std::pair<std::string_view, std::string_view>> aliases_;
    std::vector<Token> when_;
};

}  // namespace

bool OracleStoredUnitTranslator::isStoredUnit(std::span<const Token> tokens) {
    if (tokens.size() < 3 || !isKw(tokens[0], Kw::Create)) return false;
    size_t i = 1;
    if (isKw(tokens[i], Kw::Or)) i += 2;
    while (i < tokens.size() &&
           (isWord(tokens[i], "editionable") || isWord(tokens[i], "noneditionable")))
        ++i;
    return i < tokens.size() && (isKw(tokens[i], Kw::Procedure) || isKw(tokens[i], Kw::Function) ||
                                 isKw(tokens[i], Kw::Trigger) || isKw(tokens[i], Kw::Package) ||
                                 isKw(tokens[i], Kw::Type));
}

Translation OracleStoredUnitTranslator::translate(std::span<const Token> tokens,
                                                  std::string_view source, unsigned features,
                                                  SqlTextArena& arena) {
    Translation t;
    t.sql = UnitWriter(tokens, source, features, arena).run();
    return t;
}

}  // namespace tk::translate
