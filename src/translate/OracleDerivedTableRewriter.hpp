// Gives subqueries in FROM the alias PostgreSQL requires when Oracle's text has none.
#pragma once
#include "translate/SqlNode.hpp"

namespace tk::translate {

// Oracle reads "Select … From (Select …)" without a name for the subquery;
// PostgreSQL 15 refuses it. Such a subquery gets the name tk_from.
class OracleDerivedTableRewriter {
  public:
    static void rewrite(SqlSeq& seq);
};

}  // namespace tk::translate
