// Adjusts Oracle INSERT, UPDATE and DELETE forms to PostgreSQL's syntax.
#pragma once
#include "translate/SqlNode.hpp"

namespace tk::translate {

// Where the parts of an INSERT stand among the statement's top-level nodes.
struct InsertShape {
    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t tableBegin = kNone;
    size_t tableEnd = kNone;
    size_t source = kNone;  // VALUES, or the first node of the query; kNone with a column list
};

// Oracle DML forms that PostgreSQL spells differently.
class OracleDmlTranslator {
  public:
    // "Insert Into t a …" → "INSERT INTO t AS a …"; reports the table and,
    // for an insert without column list, where its values or query start.
    static InsertShape prepareInsert(SqlSeq& seq);
    // "Update t a Set a.x = …, (a.y, a.z) = (…)" → "Update t a Set x = …, (y, z) = (…)"
    static void prepareUpdate(SqlSeq& seq);
    // "Delete t a Where …" → "Delete From t a Where …"
    static void prepareDelete(SqlSeq& seq);
};

}  // namespace tk::translate
