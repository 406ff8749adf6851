// Maps Oracle column and variable types to PostgreSQL types.
#pragma once
#include "translate/SqlNode.hpp"

namespace tk::translate {

// Oracle column and variable types → PostgreSQL types: VARCHAR2(n) →
// varchar(n), NUMBER(p,s) → numeric(p,s) (integer or bigint without scale),
// NUMBER → numeric, DATE → oracompat.date (timestamp(0)), CLOB → text, BLOB → bytea, …
// INTEGER becomes integer, the 32-bit type of the component's ids.
class OracleTypeMapper {
  public:
    // Rewrites the type that starts at seq[i], if it is an Oracle type.
    static void mapType(SqlSeq& seq, size_t i);
    // Rewrites the types of "name type …, name type …, constraint …".
    static void mapColumnDefinitions(SqlSeq& definitions);
    // Whether a column-list item is a table constraint rather than a column.
    static bool isConstraint(const SqlNode& first);
};

}  // namespace tk::translate
