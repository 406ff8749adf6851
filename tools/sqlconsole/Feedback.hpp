// Classifies console statements and builds Oracle's feedback line for each.
#pragma once
#include <cstdint>
#include <string>

namespace tk::console {

// What a statement is, as far as Oracle's feedback line tells it.
struct StatementKind {
    std::string verb;    // first keyword, lower case: "insert", "create", "begin", …
    std::string object;  // for DDL the kind of object: "table", "procedure", …
    bool isQuery = false;
    bool isBlock = false;       // an anonymous PL/SQL block
    bool isDefinition = false;  // DDL, which Oracle commits on its own
    // A routine written for PostgreSQL, its body in dollar quotes, as the
    // account set keeps its own in t_backupScript: it runs as it is.
    bool isNativeRoutine = false;
};

StatementKind classify(const std::string& statement, bool plsql);
// Oracle's line after a successful statement ("3 rows updated.", "Table
// created.", "PL/SQL procedure successfully completed."), or "" when it prints none.
std::string feedbackFor(const StatementKind& kind, int32_t rows);
// True when a line starts a PL/SQL unit, which only a "/" line ends.
bool startsPlsql(const std::string& line);
std::string upperAscii(std::string text);

}  // namespace tk::console
