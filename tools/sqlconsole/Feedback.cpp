// Statement classification from the leading words, and the feedback lines for DML, DDL and others.
#include "Feedback.hpp"

#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "host/Dispatchable.hpp"

namespace tk::console {
namespace {

std::vector<std::string> leadingWords(const std::string& text, size_t count) {
    std::string spaced;
    for (char c : text) spaced += (c == '(' || c == ';' || c == '\r') ? ' ' : c;
    std::istringstream in(tk::lowerAscii(spaced));
    std::vector<std::string> words;
    for (std::string w; words.size() < count && in >> w;) words.push_back(w);
    return words;
}

// The object a CREATE/DROP/ALTER names, past OR REPLACE and modifiers.
std::string objectOf(const std::vector<std::string>& words) {
    static const char* kObjects[] = {"table",    "view",    "index",       "sequence", "procedure",
                                     "function", "package", "trigger",     "type",     "synonym",
                                     "user",     "role",    "materialized"};
    for (size_t i = 1; i < words.size(); ++i)
        for (const char* o : kObjects)
            if (words[i] == o) return words[i] == "materialized" ? "materialized view" : words[i];
    return "";
}

std::string capitalised(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string rowsLine(int32_t rows, const std::string& done) {
    return std::to_string(rows) + (rows == 1 ? " row " : " rows ") + done + ".";
}

}  // namespace

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

StatementKind classify(const std::string& statement, bool plsql) {
    std::vector<std::string> words = leadingWords(statement, 8);
    StatementKind kind;
    kind.verb = words.empty() ? "" : words[0];
    kind.isQuery = kind.verb == "select" || kind.verb == "with";
    kind.isBlock = plsql && (kind.verb == "begin" || kind.verb == "declare");
    if (kind.verb == "create" || kind.verb == "drop" || kind.verb == "alter")
        kind.object = objectOf(words);
    kind.isDefinition = !kind.object.empty() || kind.verb == "truncate" || kind.verb == "grant" ||
                        kind.verb == "revoke" || kind.verb == "comment";
    static const std::regex kDollarQuote(R"(\$[A-Za-z_]*\$)");
    kind.isNativeRoutine = (kind.object == "procedure" || kind.object == "function") &&
                           std::regex_search(statement, kDollarQuote);
    return kind;
}

std::string feedbackFor(const StatementKind& kind, int32_t rows) {
    static const std::map<std::string, std::string> kDml = {
        {"insert", "created"}, {"update", "updated"}, {"delete", "deleted"}, {"merge", "merged"}};
    static const std::map<std::string, std::string> kDdl = {
        {"create", "created"}, {"drop", "dropped"}, {"alter", "altered"}};
    static const std::map<std::string, std::string> kOther = {
        {"commit", "Commit complete."},   {"rollback", "Rollback complete."},
        {"truncate", "Table truncated."}, {"grant", "Grant succeeded."},
        {"revoke", "Revoke succeeded."},  {"comment", "Comment created."},
        {"call", "Call completed."},      {"savepoint", "Savepoint created."}};
    if (kind.isBlock) return "PL/SQL procedure successfully completed.";
    if (auto it = kDml.find(kind.verb); it != kDml.end()) return rowsLine(rows, it->second);
    if (auto it = kDdl.find(kind.verb); it != kDdl.end() && !kind.object.empty())
        return capitalised(kind.object) + " " + it->second + ".";
    if (auto it = kOther.find(kind.verb); it != kOther.end()) return it->second;
    return "";
}

bool startsPlsql(const std::string& line) {
    std::vector<std::string> words = leadingWords(line, 6);
    if (words.empty()) return false;
    if (words[0] == "begin" || words[0] == "declare") return true;
    if (words[0] != "create") return false;
    std::string object = objectOf(words);
    return object == "procedure" || object == "function" || object == "package" ||
           object == "trigger" || object == "type";
}

}  // namespace tk::console
