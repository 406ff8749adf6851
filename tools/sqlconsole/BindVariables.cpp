// Bind variables: declaration, literal values in statements, and blocks that report them back.
#include "BindVariables.hpp"

#include <algorithm>
#include <functional>
#include <regex>
#include <utility>

#include "ConsoleError.hpp"
#include "Feedback.hpp"
#include "host/Dispatchable.hpp"

namespace tk::console {
namespace {

// The marks around a reported value: unlikely in any output a script writes.
constexpr char kValueMark = '\x01';
constexpr char kNameEnd = '\x02';
const char* const kDateFormat = "'YYYY-MM-DD HH24:MI:SS'";

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#' ||
           static_cast<unsigned char>(c) >= 0x80;
}

size_t closing(const std::string& sql, size_t from, const std::string& end) {
    size_t at = sql.find(end, from);
    return at == std::string::npos ? sql.size() : at + end.size();
}

// q'[...]', q'{...}', q'<...>', q'(...)' or q'x...x'.
size_t skipAlternativeQuote(const std::string& sql, size_t i) {
    if (i + 2 >= sql.size()) return sql.size();
    char open = sql[i + 2];
    static const std::string kOpen = "[{<(", kClose = "]}>)";
    size_t pair = kOpen.find(open);
    char close = pair == std::string::npos ? open : kClose[pair];
    return closing(sql, i + 3, std::string(1, close) + "'");
}

// Where the literal, quoted name or comment starting at i ends; i itself when none starts there.
size_t skipNonCode(const std::string& sql, size_t i) {
    char c = sql[i];
    char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
    bool wordStart = i == 0 || !isNameChar(sql[i - 1]);
    if (c == '\'') {
        size_t end = i + 1;
        while ((end = closing(sql, end, "'")) < sql.size() && sql[end] == '\'') ++end;
        return end;
    }
    if ((c == 'q' || c == 'Q') && next == '\'' && wordStart) return skipAlternativeQuote(sql, i);
    if (c == '"') return closing(sql, i + 1, "\"");
    if (c == '-' && next == '-') return closing(sql, i, "\n");
    if (c == '/' && next == '*') return closing(sql, i + 2, "*/");
    return i;
}

// The text with each :name outside literals and comments replaced by what `replace` gives.
std::string replaceBinds(const std::string& sql,
                         const std::function<std::string(const std::string&)>& replace) {
    std::string out;
    for (size_t i = 0; i < sql.size();) {
        size_t skipped = skipNonCode(sql, i);
        if (skipped != i) {
            out += sql.substr(i, skipped - i);
            i = skipped;
        } else if (sql[i] == ':' && i + 1 < sql.size() && isLetter(sql[i + 1])) {
            size_t end = i + 1;
            while (end < sql.size() && isNameChar(sql[end])) ++end;
            out += replace(sql.substr(i + 1, end - i - 1));
            i = end;
        } else {
            out += sql[i++];
        }
    }
    return out;
}

std::string quotedText(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string literal(const BindVariables::Variable& v) {
    if (!v.value) return "NULL";
    if (v.kind == BindVariables::Kind::Number) return *v.value;
    if (v.kind == BindVariables::Kind::Date)
        return "To_Date(" + quotedText(*v.value) + ", " + kDateFormat + ")";
    return quotedText(*v.value);
}

std::string localName(const std::string& name) { return "tk_bind_" + lowerAscii(name); }

// The PL/SQL type of a variable's local copy.
std::string localType(const BindVariables::Variable& v) {
    if (v.kind == BindVariables::Kind::Number) return "NUMBER";
    if (v.kind == BindVariables::Kind::Date) return "DATE";
    return v.size > 0 ? v.typeName.substr(v.typeName.starts_with("N") ? 1 : 0) + "(" +
                            std::to_string(v.size) + ")"
                      : "CLOB";
}

std::string reportLine(const BindVariables::Variable& v) {
    std::string value = localName(v.name);
    if (v.kind == BindVariables::Kind::Number) value = "To_Char(" + value + ")";
    if (v.kind == BindVariables::Kind::Date) value = "To_Char(" + value + ", " + kDateFormat + ")";
    return "DBMS_OUTPUT.PUT_LINE(Chr(1) || '" + v.name + "' || Chr(2) || " + value + ");\n";
}

BindVariables::Variable parseType(const std::string& name, const std::string& type) {
    static const std::regex kName(R"([A-Za-z][A-Za-z0-9_$#]*)");
    static const std::regex kType(
        R"(\s*(NUMBER|BINARY_FLOAT|BINARY_DOUBLE|N?VARCHAR2|N?CHAR|N?CLOB|DATE)\s*(\(\s*(\d{1,5})\s*(CHAR|BYTE)?\s*\))?\s*)",
        std::regex::icase);
    if (!std::regex_match(name, kName))
        throw ConsoleError("SP2-0553: Illegal variable name \"" + name + "\".");
    std::smatch m;
    if (!std::regex_match(type, m, kType))
        throw ConsoleError("SP2-0554: Invalid type \"" + type + "\" for variable " + name + ".");
    BindVariables::Variable v;
    v.name = upperAscii(name);
    v.typeName = upperAscii(m[1].str());
    bool text = v.typeName.find("CHAR") != std::string::npos;
    if (m[2].matched && !text)
        throw ConsoleError("SP2-0554: Invalid type \"" + type + "\" for variable " + name + ".");
    v.kind = text || v.typeName.find("CLOB") != std::string::npos ? BindVariables::Kind::Text
             : v.typeName == "DATE"                               ? BindVariables::Kind::Date
                                                                  : BindVariables::Kind::Number;
    if (text) v.size = m[3].matched ? std::stoi(m[3].str()) : 1;
    return v;
}

}  // namespace

std::string BindVariables::Variable::type() const {
    return size > 0 ? typeName + "(" + std::to_string(size) + ")" : typeName;
}

void BindVariables::declare(const std::string& name, const std::string& type) {
    Variable v = parseType(name, type);
    if (Variable* known = slot(v.name))
        *known = v;
    else
        variables_.push_back(v);
}

const BindVariables::Variable* BindVariables::find(const std::string& name) const {
    std::string key = upperAscii(name);
    auto it = std::ranges::find_if(variables_, [&](const Variable& v) { return v.name == key; });
    return it == variables_.end() ? nullptr : &*it;
}

BindVariables::Variable* BindVariables::slot(const std::string& name) {
    return const_cast<Variable*>(std::as_const(*this).find(name));
}

const BindVariables::Variable& BindVariables::declared(const std::string& name) const {
    if (const Variable* v = find(name)) return *v;
    throw ConsoleError("SP2-0552: Bind variable \"" + upperAscii(name) + "\" not declared.");
}

bool BindVariables::mentioned(const std::string& sql) {
    bool found = false;
    replaceBinds(sql, [&](const std::string&) {
        found = true;
        return std::string();
    });
    return found;
}

std::string BindVariables::inlined(const std::string& sql) const {
    return replaceBinds(sql, [&](const std::string& name) { return literal(declared(name)); });
}

std::vector<std::string> BindVariables::namesIn(const std::string& sql) const {
    std::vector<std::string> names;
    replaceBinds(sql, [&](const std::string& name) {
        const std::string& key = declared(name).name;
        if (std::ranges::find(names, key) == names.end()) names.push_back(key);
        return std::string();
    });
    return names;
}

std::string BindVariables::wrapped(const std::string& block) const {
    std::string declarations, reports;
    for (const std::string& name : namesIn(block)) {
        const Variable& v = declared(name);
        declarations += localName(v.name) + " " + localType(v) + " := " + literal(v) + ";\n";
        reports += reportLine(v);
    }
    std::string body = replaceBinds(block, [](const std::string& n) { return localName(n); });
    return "DECLARE\n" + declarations + "BEGIN\n" + body + "\n" + reports + "END;";
}

bool BindVariables::absorb(const std::string& line) {
    size_t nameEnd = line.find(kNameEnd);
    if (!line.starts_with(kValueMark) || nameEnd == std::string::npos) return false;
    if (Variable* v = slot(line.substr(1, nameEnd - 1))) {
        std::string value = line.substr(nameEnd + 1);
        v->value = value.empty() ? std::nullopt : std::optional<std::string>(value);
    }
    return true;
}

}  // namespace tk::console
