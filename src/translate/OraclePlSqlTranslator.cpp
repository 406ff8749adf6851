// The PL/SQL block writer: declarations, cursors, FETCH and FOUND, SELECT INTO, errors and
// output calls rewritten token by token, then wrapped in a dollar-quoted DO block.
#include "translate/OraclePlSqlTranslator.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "translate/OracleStatementTranslator.hpp"
#include "translate/OracleTypeMapper.hpp"
#include "translate/SqlNode.hpp"
#include "translate/SqlQueryBlock.hpp"
#include "translate/SqlTree.hpp"

namespace tk::translate {
namespace {

bool isKw(const Token& t, Kw kw) { return t.kind == TokenKind::Word && t.keyword == kw; }

bool isNameToken(const Token& t) {
    return (t.kind == TokenKind::Word && !SqlKeyword::isReserved(t.keyword)) ||
           t.kind == TokenKind::QuotedName;
}

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '"' || c == '\'' || static_cast<unsigned char>(c) >= 0x80;
}

// The variable that holds SQL%ROWCOUNT, set after each SQL statement.
constexpr std::string_view kRowCount = "tk_rowcount";

// Oracle's predefined exceptions under their PostgreSQL condition names.
std::string_view conditionName(std::string_view oracleName) {
    if (sameName(oracleName, "dup_val_on_index")) return "unique_violation";
    if (sameName(oracleName, "zero_divide")) return "division_by_zero";
    return oracleName;
}

class BlockWriter {
  public:
    BlockWriter(std::span<const Token> tokens, unsigned features, bool inTransaction,
                SqlTextArena& arena)
        : tokens_(tokens), features_(features), inTransaction_(inTransaction), arena_(arena) {
        for (const Token& t : tokens_) countsRows_ = countsRows_ || t.text == kRowCount;
    }

    std::string run() {
        if (isKw(tokens_[0], Kw::Declare)) {
            emit("DECLARE", Gap::None);
            declareAt_ = out_.size();
            pos_ = 1;
            declarations();
        }
        while (pos_ < tokens_.size()) statement();
        declareImplicitRecords();
        return std::move(out_);
    }

    // The token the writer stopped at: where a refusal points.
    size_t position() const { return pos_; }

    // "begin proc; end;" / "begin schema.proc(args); end;"
    std::optional<std::string> singleCall() {
        size_t n = tokens_.size();
        if (n < 4 || !isKw(tokens_[0], Kw::Begin)) return std::nullopt;
        if (isKind(n - 1, TokenKind::Semicolon)) --n;
        if (!isKw(tokens_[n - 1], Kw::End) || !isKind(n - 2, TokenKind::Semicolon)) {
            return std::nullopt;
        }
        size_t callEnd = n - 2;
        // output and application errors are statements of PL/pgSQL, not procedures
        if (isKw(tokens_[1], Kw::DbmsOutput) || isKw(tokens_[1], Kw::RaiseApplicationError))
            return std::nullopt;
        if (!isCall(1, callEnd)) return std::nullopt;
        return callText(1, callEnd);
    }

  private:
    bool isKind(size_t i, TokenKind kind) const {
        return i < tokens_.size() && tokens_[i].kind == kind;
    }

    // The ";" that ends the statement starting at `from`, outside parentheses.
    size_t statementEnd(size_t from) const {
        int depth = 0;
        for (size_t i = from; i < tokens_.size(); ++i) {
            TokenKind k = tokens_[i].kind;
            if (k == TokenKind::OpenParen) ++depth;
            if (k == TokenKind::CloseParen) --depth;
            if (k == TokenKind::Semicolon && depth == 0) return i;
        }
        return tokens_.size();
    }

    // The THEN or LOOP that ends an IF / ELSIF / WHILE / FOR / WHEN header.
    size_t headerEnd(size_t from) const {
        int depth = 0, caseDepth = 0;
        for (size_t i = from; i < tokens_.size(); ++i) {
            const Token& t = tokens_[i];
            if (t.kind == TokenKind::OpenParen) ++depth;
            if (t.kind == TokenKind::CloseParen) --depth;
            if (depth > 0) continue;
            if (isKw(t, Kw::Case)) ++caseDepth;
            if (isKw(t, Kw::End) && caseDepth > 0) --caseDepth;
            if (caseDepth == 0 && (isKw(t, Kw::Then) || isKw(t, Kw::Loop))) return i;
        }
        throw TranslationError("THEN or LOOP expected in PL/SQL block");
    }

    void emit(std::string_view text, Gap gap) {
        if (text.empty()) return;
        if (gap == Gap::Newline) {
            out_ += '\n';
        } else if (gap == Gap::Space ||
                   (!out_.empty() && isIdentifierChar(out_.back()) && isIdentifierChar(text[0]))) {
            out_ += ' ';
        }
        out_ += text;
    }

    void emitTokens(size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < tokens_.size(); ++i) {
            emit(tokens_[i].text, tokens_[i].gap);
        }
    }

    Gap gapAt(size_t i) const { return i < tokens_.size() ? tokens_[i].gap : Gap::Space; }

    std::string expressionText(std::span<const Token> tokens) {
        if (tokens.empty()) return {};
        SqlSeq seq = SqlTree::build(tokens);
        OracleStatementTranslator::rewriteExpressions(seq, features_, arena_);
        return SqlTree::render(seq);
    }

    std::string expressionText(size_t begin, size_t end) {
        return expressionText(tokens_.subspan(begin, end - begin));
    }

    std::string sqlText(std::span<const Token> tokens) {
        return OracleStatementTranslator::translate(tokens, features_, arena_).sql;
    }

    // ---- declarations ----

    void declarations() {
        while (pos_ < tokens_.size() && !isKw(tokens_[pos_], Kw::Begin)) {
            size_t end = statementEnd(pos_);
            size_t exceptions = userExceptions_.size();
            declaration(pos_, end);
            // a user exception has no PL/pgSQL declaration: its comment ends the line
            emit(userExceptions_.size() > exceptions ? "\n" : ";", Gap::None);
            pos_ = end + 1;
        }
    }

    // A user exception is raised and caught as an SQLSTATE of its own, UE001 …
    std::optional<std::string> userState(std::string_view name) const {
        for (size_t k = 0; k < userExceptions_.size(); ++k)
            if (sameName(userExceptions_[k], name)) {
                std::string n = std::to_string(k + 1);
                return "UE" + std::string(3 - std::min<size_t>(n.size(), 3), '0') + n;
            }
        return std::nullopt;
    }

    void declaration(size_t begin, size_t end) {
        const Token& first = tokens_[begin];
        if (isKw(first, Kw::Cursor)) return cursorDeclaration(begin, end);
        if (isKw(first, Kw::Pragma) || isKw(first, Kw::Type) || isKw(first, Kw::Subtype)) {
            throw TranslationError("PL/SQL type and pragma declarations are not translated");
        }
        if (begin + 1 < end && isKw(tokens_[begin + 1], Kw::Exception)) {
            if (begin + 2 != end) throw TranslationError("EXCEPTION declaration expected");
            userExceptions_.push_back(first.text);
            emit("-- " + std::string(first.text) + " EXCEPTION", first.gap);
            return;
        }
        if (isCursorRow(begin, end)) {
            emit(first.text, first.gap);
            emit("record", Gap::Space);
            return;
        }
        SqlSeq seq = SqlTree::build(tokens_.subspan(begin, end - begin));
        size_t type = seq.size() > 1 && isKeyword(seq[1], Kw::Constant) ? 2 : 1;
        OracleTypeMapper::mapType(seq, type);
        OracleStatementTranslator::rewriteExpressions(seq, features_, arena_);
        emit(SqlTree::render(seq), first.gap);
    }

    // "v c%ROWTYPE" for a cursor c declared before
    bool isCursorRow(size_t begin, size_t end) const {
        if (end - begin != 4 || tokens_[begin + 2].text != "%" ||
            !isKw(tokens_[begin + 3], Kw::Rowtype)) {
            return false;
        }
        for (std::string_view c : cursors_) {
            if (sameName(c, tokens_[begin + 1].text)) return true;
        }
        return false;
    }

    // "CURSOR c [(params)] IS query" → "c CURSOR [(params)] FOR query"
    void cursorDeclaration(size_t begin, size_t end) {
        size_t is = begin + 2;
        while (is < end && !isKw(tokens_[is], Kw::Is)) ++is;
        if (begin + 1 >= end || is >= end) throw TranslationError("CURSOR … IS expected");
        cursors_.push_back(tokens_[begin + 1].text);
        emit(tokens_[begin + 1].text, tokens_[begin].gap);
        emit("CURSOR", Gap::Space);
        if (is > begin + 2) {
            SqlSeq params = SqlTree::build(tokens_.subspan(begin + 2, is - begin - 2));
            if (!params.empty() && params[0].isGroup()) {
                OracleTypeMapper::mapColumnDefinitions(params[0].inner);
            }
            emit(SqlTree::render(params), Gap::None);
        }
        emit("FOR", Gap::Space);
        emit(sqlText(tokens_.subspan(is + 1, end - is - 1)), gapAt(is + 1));
    }

    // ---- statements ----

    void statement() {
        previousFoundSetter_ = foundSetter_;
        foundSetter_ = {};
        const Token& t = tokens_[pos_];
        Kw kw = t.kind == TokenKind::Word ? t.keyword : Kw::None;
        switch (kw) {
            case Kw::Declare:
                emit("DECLARE", t.gap);
                ++pos_;
                declarations();
                return;
            case Kw::Begin:
            case Kw::Exception:
            case Kw::Else:
            case Kw::Loop:
                emit(t.text, t.gap);
                ++pos_;
                return;
            case Kw::If:
            case Kw::Elsif:
            case Kw::While:
            case Kw::When:
                return conditionHeader();
            case Kw::For:
                return forHeader();
            default:
                break;
        }
        if (t.kind == TokenKind::Operator && t.text == "<<") {  // <<label>>
            emitTokens(pos_, pos_ + 3);
            pos_ += 3;
            return;
        }
        size_t end = statementEnd(pos_);
        simpleStatement(pos_, end);
        emit(";", Gap::None);
        // SQL%ROWCOUNT: PL/pgSQL keeps the count only until the next statement asks for it.
        if (countsRows_ && foundSetter_ == "sql")
            emit("GET DIAGNOSTICS " + std::string(kRowCount) + " = ROW_COUNT;", Gap::Space);
        pos_ = end + 1;
    }

    void conditionHeader() {
        const Token& t = tokens_[pos_];
        size_t stop = headerEnd(pos_ + 1);
        emit(t.text, t.gap);
        if (isKw(t, Kw::When)) {
            for (size_t i = pos_ + 1; i < stop; ++i) {
                if (auto state = userState(tokens_[i].text)) {
                    emit("SQLSTATE '" + *state + "'", tokens_[i].gap);
                    continue;
                }
                emit(conditionName(tokens_[i].text), tokens_[i].gap);
            }
        } else {
            // WHILE is evaluated again after the loop body, not after the statement before it.
            bool attributesAllowed = !isKw(t, Kw::While);
            emit(conditionText(pos_ + 1, stop, attributesAllowed), gapAt(pos_ + 1));
        }
        emit(tokens_[stop].text, tokens_[stop].gap);
        pos_ = stop + 1;
    }

    // A loop over a query needs its record declared in PL/pgSQL; Oracle
    // declares it implicitly.
    void forHeader() {
        size_t stop = headerEnd(pos_ + 1);
        size_t source = pos_ + 3;
        bool overQuery =
            source + 1 < stop && isKind(source, TokenKind::OpenParen) &&
            (isKw(tokens_[source + 1], Kw::Select) || isKw(tokens_[source + 1], Kw::With));
        if (!overQuery) {
            // Bounds such as n / 2 divide as Oracle does; both sides round a
            // fractional bound to the nearest integer.
            size_t range = std::min(pos_ + 3, stop);
            emitTokens(pos_, range);
            emit(expressionText(range, stop), gapAt(range));
            emit(tokens_[stop].text, tokens_[stop].gap);
        } else {
            implicitRecords_.push_back(tokens_[pos_ + 1].text);
            emitTokens(pos_, source);
            emit(sqlText(tokens_.subspan(source + 1, stop - source - 2)), tokens_[source].gap);
            emit(tokens_[stop].text, tokens_[stop].gap);
        }
        pos_ = stop + 1;
    }

    void simpleStatement(size_t begin, size_t end) {
        const Token& t = tokens_[begin];
        switch (t.kind == TokenKind::Word ? t.keyword : Kw::None) {
            case Kw::Select:
            case Kw::With:
                foundSetter_ = "sql";
                return emit(sqlText(withStrictInto(begin, end)), t.gap);
            case Kw::Insert:
            case Kw::Update:
            case Kw::Delete:
            case Kw::Merge:
                foundSetter_ = "sql";
                return emit(sqlText(tokens_.subspan(begin, end - begin)), t.gap);
            case Kw::Commit:
            case Kw::Rollback:
                return transactionControl(begin, end);
            case Kw::Fetch:
                if (begin + 1 < end) foundSetter_ = tokens_[begin + 1].text;
                return emitTokens(begin, end);
            case Kw::Open:
                return openCursor(begin, end);
            case Kw::Exit:
                return exitStatement(begin, end);
            case Kw::Execute:
                return executeImmediate(begin, end);
            case Kw::RaiseApplicationError:
                return raiseError(begin, end);
            case Kw::Raise:
                return raiseException(begin, end);
            case Kw::DbmsOutput:
                return printLine(begin, end);
            default:
                break;
        }
        otherStatement(begin, end);
    }

    // A statement given as a literal is translated here, its :names and :1s
    // numbered $1, $2 … in order for USING; one built at run time is sent as it is.
    void executeImmediate(size_t begin, size_t end) {
        emit("EXECUTE", tokens_[begin].gap);
        if (begin + 1 < end && isKw(tokens_[begin + 1], Kw::Immediate)) ++begin;
        size_t text = begin + 1;
        size_t clauses = text + 1;
        if (text >= end || tokens_[text].kind != TokenKind::String ||
            (clauses < end && !isKw(tokens_[clauses], Kw::Into) &&
             !isKw(tokens_[clauses], Kw::Using))) {
            return emit(expressionText(begin + 1, end), Gap::Space);
        }
        emit(quotedLiteral(dynamicStatement(unquotedLiteral(tokens_[text].text))), Gap::Space);
        if (clauses < end) emit(expressionText(clauses, end), gapAt(clauses));
    }

    static std::string unquotedLiteral(std::string_view literal) {
        std::string text;
        for (size_t i = 1; i + 1 < literal.size(); ++i) {
            text += literal[i];
            if (literal[i] == '\'' && literal[i + 1] == '\'') ++i;
        }
        return text;
    }

    static std::string quotedLiteral(const std::string& text) {
        std::string quoted = "'";
        for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    }

    std::string dynamicStatement(const std::string& oracle) {
        TokenStream stream = SqlTokenizer::tokenize(oracle);
        std::vector<std::string> binds;
        std::vector<Token> tokens = stream.tokens;
        std::vector<std::string> numbered;
        for (Token& t : tokens) {
            if (t.kind != TokenKind::Parameter || t.text.size() < 2) continue;
            std::string name = lowerAscii(t.text.substr(1));
            auto at = std::find(binds.begin(), binds.end(), name);
            if (at == binds.end()) at = binds.insert(binds.end(), name);
            numbered.push_back("$" + std::to_string(at - binds.begin() + 1));
            t.text = arena_.keep(numbered.back());
        }
        bool block =
            !tokens.empty() && (isKw(tokens[0], Kw::Begin) || isKw(tokens[0], Kw::Declare));
        if (block) throw TranslationError("EXECUTE IMMEDIATE of a PL/SQL block");
        while (!tokens.empty() && tokens.back().kind == TokenKind::Semicolon) tokens.pop_back();
        if (tokens.empty()) throw TranslationError("EXECUTE IMMEDIATE of an empty statement");
        return OracleStatementTranslator::translate(tokens, stream.features, arena_).sql;
    }

    void otherStatement(size_t begin, size_t end) {
        const Token& t = tokens_[begin];
        for (size_t i = begin; i < end; ++i) {
            if (tokens_[i].kind == TokenKind::Operator && tokens_[i].text == ":=") {
                emitTokens(begin, i + 1);
                emit(expressionText(i + 1, end), gapAt(i + 1));
                return;
            }
        }
        if (isCall(begin, end)) return emit(callText(begin, end), t.gap);
        emit(expressionText(begin, end), t.gap);
    }

    // Oracle raises TOO_MANY_ROWS / NO_DATA_FOUND for SELECT … INTO; STRICT
    // makes PL/pgSQL do the same instead of taking the first row.
    std::vector<Token> withStrictInto(size_t begin, size_t end) const {
        std::vector<Token> copy(tokens_.begin() + static_cast<std::ptrdiff_t>(begin),
                                tokens_.begin() + static_cast<std::ptrdiff_t>(end));
        int depth = 0;
        for (size_t i = 0; i < copy.size(); ++i) {
            if (copy[i].kind == TokenKind::OpenParen) ++depth;
            if (copy[i].kind == TokenKind::CloseParen) --depth;
            if (depth != 0 || !isKw(copy[i], Kw::Into)) continue;
            copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(i + 1),
                        Token{TokenKind::Word, Gap::Space, Kw::None, "STRICT"});
            break;
        }
        return copy;
    }

    void transactionControl(size_t begin, size_t end) {
        const Token& t = tokens_[begin];
        bool toSavepoint = begin + 1 < end && !isKw(tokens_[begin + 1], Kw::Work);
        if (toSavepoint) throw TranslationError("ROLLBACK TO SAVEPOINT inside a block");
        if (inTransaction_) {
            emit("NULL /* " + std::string(t.text) + " left to the caller's transaction */", t.gap);
            return;
        }
        emit(isKw(t, Kw::Commit) ? "COMMIT" : "ROLLBACK", t.gap);
    }

    void openCursor(size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            if (!isKw(tokens_[i], Kw::For)) continue;
            emitTokens(begin, i + 1);
            emit(sqlText(tokens_.subspan(i + 1, end - i - 1)), gapAt(i + 1));
            return;
        }
        emitTokens(begin, end);
    }

    void exitStatement(size_t begin, size_t end) {
        emit(tokens_[begin].text, tokens_[begin].gap);
        if (begin + 1 >= end) return;
        emit(tokens_[begin + 1].text, tokens_[begin + 1].gap);  // WHEN
        emit(conditionText(begin + 2, end, true), gapAt(begin + 2));
    }

    // raise_application_error(-20001, message) → RAISE EXCEPTION 'ORA-20001: %', message:
    // the number stays in the text, where Oracle's callers read it.
    void raiseError(size_t begin, size_t end) {
        SqlSeq call = SqlTree::build(tokens_.subspan(begin, end - begin));
        if (call.size() != 2 || !call[1].isGroup())
            throw TranslationError("raise_application_error(…)");
        auto args = SqlQueryBlock::splitCommas(call[1].inner, {0, call[1].inner.size()});
        if (args.size() < 2) throw TranslationError("raise_application_error needs a message");
        SqlSeq code = slice(call[1].inner, args[0].begin, args[0].end);
        SqlSeq message = slice(call[1].inner, args[1].begin, args[1].end);
        OracleStatementTranslator::rewriteExpressions(code, features_, arena_);
        OracleStatementTranslator::rewriteExpressions(message, features_, arena_);
        std::string number = SqlTree::render(code);
        std::erase(number, ' ');
        bool literal =
            number.size() > 1 && number.find_first_not_of("-0123456789") == std::string::npos;
        if (literal) {
            emit("RAISE EXCEPTION 'ORA-" + number.substr(number[0] == '-' ? 1 : 0) + ": %',",
                 tokens_[begin].gap);
        } else {
            emit("RAISE EXCEPTION 'ORA-%: %', abs(" + SqlTree::render(code) + "),",
                 tokens_[begin].gap);
        }
        emit(SqlTree::render(message), Gap::Space);
    }

    // "RAISE e" of a user exception: Oracle's text for one nobody catches.
    void raiseException(size_t begin, size_t end) {
        std::optional<std::string> state =
            begin + 2 == end ? userState(tokens_[begin + 1].text) : std::nullopt;
        if (!state) return emitTokens(begin, end);
        emit("RAISE EXCEPTION 'ORA-06510: PL/SQL: unhandled user-defined exception " +
                 upperAscii(tokens_[begin + 1].text) + "' USING ERRCODE = '" + *state + "'",
             tokens_[begin].gap);
    }

    // dbms_output.put_line(x) → RAISE NOTICE '%', x
    void printLine(size_t begin, size_t end) {
        if (end - begin < 4 || !isKind(begin + 3, TokenKind::OpenParen)) {
            return emit(expressionText(begin, end), tokens_[begin].gap);
        }
        emit("RAISE NOTICE '%',", tokens_[begin].gap);
        emit(expressionText(begin + 4, end - 1), Gap::Space);
    }

    // "name[.name…][(args)]" standing alone: a procedure call.
    bool isCall(size_t begin, size_t end) const {
        if (begin >= end || !isNameToken(tokens_[begin])) return false;
        size_t i = begin + 1;
        while (i + 1 < end && isKind(i, TokenKind::Dot) && isNameToken(tokens_[i + 1])) i += 2;
        if (i == end) return true;
        if (!isKind(i, TokenKind::OpenParen) || !isKind(end - 1, TokenKind::CloseParen))
            return false;
        int depth = 0;
        for (size_t k = i; k < end; ++k) {
            if (isKind(k, TokenKind::OpenParen)) ++depth;
            if (isKind(k, TokenKind::CloseParen) && --depth == 0 && k + 1 != end) return false;
        }
        return true;
    }

    std::string callText(size_t begin, size_t end) {
        std::string text = "CALL " + expressionText(begin, end);
        if (!isKind(end - 1, TokenKind::CloseParen)) text += "()";
        return text;
    }

    // c%NOTFOUND / SQL%FOUND become PL/pgSQL's FOUND, which every statement
    // resets: so they are taken only in the statement right after the FETCH of
    // that cursor (for SQL%, right after an SQL statement).
    std::string conditionText(size_t begin, size_t end, bool attributesAllowed) {
        std::vector<Token> copy(tokens_.begin() + static_cast<std::ptrdiff_t>(begin),
                                tokens_.begin() + static_cast<std::ptrdiff_t>(end));
        for (size_t i = 0; i + 2 < copy.size(); ++i) {
            if (copy[i + 1].kind != TokenKind::Operator || copy[i + 1].text != "%") continue;
            Kw attribute = copy[i + 2].keyword;
            if (attribute != Kw::Found && attribute != Kw::Notfound) {
                throw TranslationError("cursor attribute not translated");
            }
            bool known = attributesAllowed && !previousFoundSetter_.empty() &&
                         sameName(copy[i].text, previousFoundSetter_);
            if (!known) {
                throw TranslationError("cursor attribute read other than right after its FETCH");
            }
            Gap gap = copy[i].gap;
            std::vector<Token> replacement;
            if (attribute == Kw::Notfound)
                replacement.push_back({TokenKind::Word, gap, Kw::Not, "NOT"});
            replacement.push_back(
                {TokenKind::Word, replacement.empty() ? gap : Gap::Space, Kw::Found, "FOUND"});
            copy.erase(copy.begin() + static_cast<std::ptrdiff_t>(i),
                       copy.begin() + static_cast<std::ptrdiff_t>(i + 3));
            copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(i), replacement.begin(),
                        replacement.end());
        }
        return expressionText(copy);
    }

    void declareImplicitRecords() {
        if (implicitRecords_.empty() && !countsRows_) return;
        std::string lines = declareAt_ == std::string::npos ? "DECLARE" : "";
        for (std::string_view r : implicitRecords_) lines += "\n" + std::string(r) + " record;";
        if (countsRows_) lines += "\n" + std::string(kRowCount) + " integer := 0;";
        out_.insert(declareAt_ == std::string::npos ? 0 : declareAt_, lines + "\n");
    }

    std::span<const Token> tokens_;
    unsigned features_;
    bool inTransaction_;
    SqlTextArena& arena_;
    size_t pos_ = 0;
    std::string out_;
    size_t declareAt_ = std::string::npos;
    std::vector<std::string_view> cursors_;
    std::vector<std::string_view> implicitRecords_;
    // What set FOUND: "sql" for an SQL statement, else the fetched cursor;
    // for the statement before the current one, and for the current one.
    std::string_view previousFoundSetter_;
    std::string_view foundSetter_;
    bool countsRows_ = false;
    std::vector<std::string_view> userExceptions_;
};

// SQL%ROWCOUNT as one word, the variable the writer keeps it in.
std::vector<Token> withRowCounts(std::span<const Token> tokens) {
    std::vector<Token> out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        bool rowCount = i + 2 < tokens.size() && isKw(tokens[i], Kw::Sql) &&
                        tokens[i + 1].text == "%" && isKw(tokens[i + 2], Kw::Rowcount);
        if (!rowCount) {
            out.push_back(tokens[i]);
            continue;
        }
        out.push_back({TokenKind::Word, tokens[i].gap, Kw::None, kRowCount});
        i += 2;
    }
    return out;
}

}  // namespace

std::string OraclePlSqlTranslator::dollarTag(const std::string& body) {
    std::string tag = "$tk$";
    for (int n = 1; body.find(tag) != std::string::npos; ++n) tag = "$tk" + std::to_string(n) + "$";
    return tag;
}

Translation OraclePlSqlTranslator::translate(std::span<const Token> block, unsigned features,
                                             bool inTransaction, SqlTextArena& arena) {
    const std::vector<Token> tokens = withRowCounts(block);
    BlockWriter writer(tokens, features, inTransaction, arena);
    Translation t;
    if (auto call = writer.singleCall()) {
        t.sql = std::move(*call);
        return t;
    }
    // Oracle resolves a name that is both a column and a variable to the column.
    t.sql = "DO " + dollarQuoted("#variable_conflict use_column\n" + writer.run());
    return t;
}

std::string OraclePlSqlTranslator::body(std::span<const Token> unit, std::string_view source,
                                        unsigned features, SqlTextArena& arena) {
    std::vector<Token> tokens = withRowCounts(unit);
    if (tokens.empty()) throw TranslationError("BEGIN … END expected");
    if (!isKw(tokens[0], Kw::Begin))
        tokens.insert(tokens.begin(), {TokenKind::Word, Gap::None, Kw::Declare, "DECLARE"});
    // The caller's transaction decides: a COMMIT inside a routine would end it.
    BlockWriter writer(tokens, features, true, arena);
    try {
        return "#variable_conflict use_column\n" + writer.run();
    } catch (const TranslationError& e) {
        const Token& at = tokens[std::min(writer.position(), tokens.size() - 1)];
        const char* text = at.text.data();
        if (text < source.data() || text > source.data() + source.size()) throw;
        size_t line = static_cast<size_t>(std::count(source.data(), text, '\n')) + 1;
        throw TranslationError(std::string(e.what()) + " (line " + std::to_string(line) + ")");
    }
}

std::string OraclePlSqlTranslator::dollarQuoted(const std::string& body) {
    std::string tag = dollarTag(body);
    return tag + "\n" + body + "\n" + tag;
}

}  // namespace tk::translate
