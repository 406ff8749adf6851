// The function mappings: DECODE and NVL as CASE and COALESCE, empty results as NULL, the
// oracompat and orafce versions, NULL-strict GREATEST/LEAST, padding of converted text.
#include "translate/OracleFunctionMapper.hpp"

#include <string>

#include "translate/OracleConcatRewriter.hpp"
#include "translate/OracleTranslator.hpp"
#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

enum class Literal { Other, Null, Text, Integer, Decimal };

Literal literalOf(const SqlSeq& e) {
    bool signedNumber = e.size() == 2 && (isOperator(e[0], "-") || isOperator(e[0], "+"));
    if (e.size() != 1 && !signedNumber) return Literal::Other;
    const SqlNode& n = e.back();
    if (isKind(n, TokenKind::Number)) {
        bool fraction = n.token.text.find_first_of(".eE") != std::string_view::npos;
        return fraction ? Literal::Decimal : Literal::Integer;
    }
    if (signedNumber) return Literal::Other;
    if (isKeyword(n, Kw::Null)) return Literal::Null;
    if (isKind(n, TokenKind::String)) return Literal::Text;
    return Literal::Other;
}

bool isNumber(Literal l) { return l == Literal::Integer || l == Literal::Decimal; }

// The number spelled by a text literal such as '12.5', or empty.
std::string_view numericContent(const SqlSeq& text) {
    std::string_view s = text.front().token.text;
    if (s.size() < 3 || s.front() != '\'') return {};
    s = s.substr(1, s.size() - 2);
    size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            return {};
        }
    }
    return digits ? s : std::string_view{};
}

std::vector<SqlSeq> splitArgs(SqlSeq&& inner) {
    std::vector<SqlSeq> args;
    for (const SqlRange& r : SqlQueryBlock::splitCommas(inner, {0, inner.size()})) {
        args.push_back(take(inner, r.begin, r.end));
    }
    if (args.size() == 1 && args.front().empty()) args.clear();
    for (const SqlSeq& a : args) {
        if (a.empty()) throw TranslationError("empty function argument");
    }
    return args;
}

bool isPlainTerm(const SqlSeq& e) {
    for (const SqlNode& n : e) {
        if (n.isGroup() || isKind(n, TokenKind::Operator) || isKind(n, TokenKind::Comma)) {
            return false;
        }
    }
    return true;
}

// An operand that may be an expression, made safe to stand before IS / =.
SqlSeq operand(const SqlSeq& e) {
    if (isPlainTerm(e)) return spaced(e);
    SqlSeq wrapped;
    SqlSeq inner = e;
    setGap(inner, Gap::None);
    wrapped.push_back(makeGroup(std::move(inner), Gap::Space));
    return wrapped;
}

SqlSeq castTo(SqlSeq e, std::string_view type) {
    setGap(e, Gap::None);
    SqlSeq cast;
    cast.push_back(makeGroup(std::move(e), Gap::Space));
    cast.push_back(makeNode(TokenKind::Operator, "::", Gap::None));
    cast.push_back(makeWord(type, Gap::None));
    return cast;
}

void requireArgs(const std::vector<SqlSeq>& args, size_t min, size_t max, const char* name) {
    if (args.size() < min || args.size() > max) {
        throw TranslationError(std::string("wrong number of arguments to ") + name);
    }
}

}  // namespace

SqlSeq OracleFunctionMapper::map(const SqlNode& name, SqlNode&& group) {
    Gap gap = name.token.gap;
    std::vector<SqlSeq> args = splitArgs(std::move(group.inner));
    switch (name.token.keyword) {
        case Kw::Decode:
            return decode(name, std::move(args));
        case Kw::Nvl:
            return nvl(name, std::move(args));
        case Kw::Nvl2:
            return nvl2(name, std::move(args));
        case Kw::Trim:
        case Kw::Ltrim:
        case Kw::Rtrim:
            return emptyAsNull(
                makeCall(name.token.text, joinWithCommas(std::move(args)), Gap::None), gap);
        case Kw::Substr:
            return emptyAsNull(
                makeCall("oracle.substr", joinWithCommas(std::move(args)), Gap::None), gap);
        case Kw::Instr:
            return makeCall("oracle.instr", joinWithCommas(std::move(args)), gap);
        case Kw::ToNumber:
            return makeCall(args.size() == 1 ? "oracle.to_number" : "to_number",
                            joinWithCommas(std::move(args)), gap);
        case Kw::Round:
        case Kw::Trunc:
            return rounding(name, std::move(args));
        case Kw::Replace:
        case Kw::ToChar:
        case Kw::ToDate:
        case Kw::Mod:
        case Kw::RegexpReplace:
            return makeCall(qualified(name), joinWithCommas(std::move(args)), gap);
        case Kw::Greatest:
        case Kw::Least:
            return nullIfAnyNull(name, std::move(args));
        case Kw::Concat:
            requireArgs(args, 2, 2, "CONCAT");
            return OracleConcatRewriter::concatenation(std::move(args), gap);
        case Kw::Lpad:
        case Kw::Rpad:
            return padding(name, std::move(args));
        case Kw::Length:
            requireArgs(args, 1, 1, "LENGTH");
            args[0] = asText(std::move(args[0]));
            return makeCall(name.token.text, std::move(args[0]), gap);
        default:
            throw TranslationError("function not handled");
    }
}

// DECODE(e, s1, r1, …, default) → (CASE WHEN e = s1 THEN r1 … ELSE default END)
// where a search value that may be NULL matches a NULL subject, as in Oracle.
SqlSeq OracleFunctionMapper::decode(const SqlNode& name, std::vector<SqlSeq> args) {
    if (args.size() < 3) throw TranslationError("DECODE needs at least three arguments");
    bool hasDefault = args.size() % 2 == 0;
    std::vector<SqlSeq*> results;
    for (size_t k = 2; k < args.size(); k += 2) results.push_back(&args[k]);
    if (hasDefault) results.push_back(&args.back());
    unifyResultTypes(results);

    SqlSeq body;
    body.push_back(makeWord("CASE", Gap::None));
    for (size_t k = 1; k + 1 < args.size(); k += 2) {
        body.push_back(makeWord("WHEN"));
        append(body, matchTest(args[0], std::move(args[k])));
        body.push_back(makeWord("THEN"));
        append(body, spaced(std::move(args[k + 1])));
    }
    if (hasDefault) {
        body.push_back(makeWord("ELSE"));
        append(body, spaced(std::move(args.back())));
    }
    body.push_back(makeWord("END"));
    SqlSeq out;
    out.push_back(makeGroup(std::move(body), name.token.gap));
    return out;
}

SqlSeq OracleFunctionMapper::matchTest(const SqlSeq& subject, SqlSeq search) {
    Literal kind = literalOf(search);
    SqlSeq test = operand(subject);
    if (kind == Literal::Null) {
        test.push_back(makeWord("IS"));
        test.push_back(makeWord("NULL"));
        return test;
    }
    // A quoted integer adapts to the subject's type, as Oracle converts it.
    if (kind == Literal::Integer && literalOf(subject) == Literal::Other) {
        search = asTextLiteral(search);
    }
    if (kind == Literal::Other) {
        for (std::string_view w : {"IS", "NOT", "DISTINCT", "FROM"}) test.push_back(makeWord(w));
    } else {
        test.push_back(makeNode(TokenKind::Operator, "="));
    }
    append(test, operand(search));
    return test;
}

// Oracle gives DECODE and NVL the type of their first result and converts the
// others to it; PostgreSQL would pick a common type or fail instead.
void OracleFunctionMapper::unifyResultTypes(const std::vector<SqlSeq*>& results) {
    Literal first = literalOf(*results.front());
    for (size_t k = 1; k < results.size(); ++k) {
        SqlSeq& r = *results[k];
        Literal kind = literalOf(r);
        if (first == Literal::Text && isNumber(kind)) {
            r = asTextLiteral(r);
        } else if (first == Literal::Text && kind == Literal::Other) {
            Gap gap = r.front().token.gap;
            r = castTo(std::move(r), "text");
            setGap(r, gap);
        } else if (isNumber(first) && kind == Literal::Text && !numericContent(r).empty()) {
            r = {makeNode(TokenKind::Number, numericContent(r), r.front().token.gap)};
        } else if (first == Literal::Other && kind == Literal::Integer) {
            r = asTextLiteral(r);  // an untyped literal takes the other result's type
        }
    }
}

SqlSeq OracleFunctionMapper::asTextLiteral(const SqlSeq& number) {
    std::string text = "'";
    for (const SqlNode& n : number) text += n.token.text;
    text += "'";
    return {makeNode(TokenKind::String, arena_.keep(std::move(text)), number.front().token.gap)};
}

SqlSeq OracleFunctionMapper::nvl(const SqlNode& name, std::vector<SqlSeq> args) {
    requireArgs(args, 2, 2, "NVL");
    unifyResultTypes({&args[0], &args[1]});
    return makeCall("COALESCE", joinWithCommas(std::move(args)), name.token.gap);
}

SqlSeq OracleFunctionMapper::nvl2(const SqlNode& name, std::vector<SqlSeq> args) {
    requireArgs(args, 3, 3, "NVL2");
    unifyResultTypes({&args[1], &args[2]});
    SqlSeq body;
    body.push_back(makeWord("CASE", Gap::None));
    body.push_back(makeWord("WHEN"));
    append(body, operand(args[0]));
    for (std::string_view w : {"IS", "NOT", "NULL", "THEN"}) body.push_back(makeWord(w));
    append(body, spaced(std::move(args[1])));
    body.push_back(makeWord("ELSE"));
    append(body, spaced(std::move(args[2])));
    body.push_back(makeWord("END"));
    SqlSeq out;
    out.push_back(makeGroup(std::move(body), name.token.gap));
    return out;
}

// NULLIF(f(…), '')
SqlSeq OracleFunctionMapper::emptyAsNull(SqlSeq inner, Gap gap) {
    inner.push_back(makeComma());
    inner.push_back(makeNode(TokenKind::String, "''"));
    return makeCall("NULLIF", std::move(inner), gap);
}

// "oracompat.name": the Oracle version where PostgreSQL's namesake comes first
// on every search path.
std::string_view OracleFunctionMapper::qualified(const SqlNode& name) {
    return arena_.keep("oracompat." + lowerAscii(name.token.text));
}

// ROUND and TRUNC of numbers (halves away from zero) and of dates; the server
// picks by the argument's type. A literal or a parameter is a number, as
// Oracle reads it.
SqlSeq OracleFunctionMapper::rounding(const SqlNode& name, std::vector<SqlSeq> args) {
    requireArgs(args, 1, 2, name.token.keyword == Kw::Round ? "ROUND" : "TRUNC");
    Literal first = literalOf(args[0]);
    bool bound = args[0].size() == 1 && isKind(args[0][0], TokenKind::Parameter);
    if (first == Literal::Text || first == Literal::Null || bound) {
        args[0] = castTo(std::move(args[0]), "numeric");
        setGap(args[0], Gap::None);
    }
    return makeCall(qualified(name), joinWithCommas(std::move(args)), name.token.gap);
}

// Oracle's GREATEST and LEAST are NULL when any argument is; PostgreSQL's
// skip NULLs. (CASE WHEN num_nulls(a, b) = 0 THEN GREATEST(a, b) END)
SqlSeq OracleFunctionMapper::nullIfAnyNull(const SqlNode& name, std::vector<SqlSeq> args) {
    if (args.empty()) throw TranslationError(std::string(name.token.text) + " needs arguments");
    SqlSeq body;
    body.push_back(makeWord("CASE", Gap::None));
    body.push_back(makeWord("WHEN"));
    append(body,
           spaced(makeCall("num_nulls", joinWithCommas(std::vector<SqlSeq>(args)), Gap::Space)));
    body.push_back(makeNode(TokenKind::Operator, "="));
    body.push_back(makeNode(TokenKind::Number, "0"));
    body.push_back(makeWord("THEN"));
    append(body, makeCall(name.token.text, joinWithCommas(std::move(args)), Gap::Space));
    body.push_back(makeWord("END"));
    SqlSeq out;
    out.push_back(makeGroup(std::move(body), name.token.gap));
    return out;
}

// LPAD / RPAD of any value as Oracle converts it to text; an empty result is NULL.
SqlSeq OracleFunctionMapper::padding(const SqlNode& name, std::vector<SqlSeq> args) {
    requireArgs(args, 2, 3, name.token.keyword == Kw::Lpad ? "LPAD" : "RPAD");
    args[0] = asText(std::move(args[0]));
    if (literalOf(args[1]) != Literal::Integer) args[1] = castTo(std::move(args[1]), "integer");
    if (args.size() == 3) args[2] = asText(std::move(args[2]));
    return emptyAsNull(makeCall(name.token.text, joinWithCommas(std::move(args)), Gap::None),
                       name.token.gap);
}

SqlSeq OracleFunctionMapper::asText(SqlSeq e) {
    Literal kind = literalOf(e);
    if (kind == Literal::Text || kind == Literal::Null) return e;
    Gap gap = e.front().token.gap;
    return makeCall("oracompat.to_char", std::move(e), gap);
}

}  // namespace tk::translate
