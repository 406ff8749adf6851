// Translates Oracle CREATE, ALTER, DROP and TRUNCATE statements into PostgreSQL DDL.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "translate/SqlNode.hpp"
#include "translate/SqlTextArena.hpp"

namespace tk::translate {

// CREATE / ALTER / DROP / TRUNCATE in Oracle's words → PostgreSQL's. Storage
// options without meaning here (NOLOGGING, TABLESPACE, PURGE …) are dropped;
// statements that only adjust storage or recompile become checks that still
// fail when their object does not exist.
class OracleDdlTranslator {
  public:
    // Rewrites `seq` in place; queries inside are left to the expression passes.
    static void translate(SqlSeq& seq, SqlTextArena& arena);

  private:
    static void create(SqlSeq& seq);
    static void alter(SqlSeq& seq, SqlTextArena& arena);
    static void alterTable(SqlSeq& seq, SqlTextArena& arena);
    static void addColumns(SqlSeq& seq, size_t add);
    static void modifyColumns(SqlSeq& seq, size_t modify);
    static void columnChanges(SqlSeq definition, std::vector<SqlSeq>& changes);
    static void compileRoutine(SqlSeq& seq, SqlTextArena& arena);
    static void alterSession(SqlSeq& seq);
    static void drop(SqlSeq& seq, SqlTextArena& arena);
    static void alterTrigger(SqlSeq& seq, SqlTextArena& arena);
    static void constraintState(SqlSeq& seq, size_t name, size_t state, SqlTextArena& arena);
    static bool addKey(SqlSeq& seq, size_t add, SqlTextArena& arena);
    static SqlSeq triggerCall(std::string_view function, const SqlSeq& seq, size_t begin,
                              size_t end, const std::string& action, SqlTextArena& arena);
    static void truncate(SqlSeq& seq);
};

}  // namespace tk::translate
