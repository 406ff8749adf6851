// DESCRIBE: a table's or view's columns as the console lists them.
#pragma once
#include <ostream>
#include <string>

#include "connect/Connection.hpp"

namespace tk::console {

// The columns of a table or view, read from the dictionary view
// all_tab_columns and laid out as Oracle's console does:
//    Name                                      Null?    Type
//    ----------------------------------------- -------- ----------------------------
//    A                                         NOT NULL NUMBER(5,2)
class TableDescription {
  public:
    // "table", "owner.table" or a quoted name; owner defaults to the login schema.
    // Throws ORA-04043 when there is no such table or view.
    static void print(connect::Connection& connection, const std::string& object,
                      std::ostream& out);
};

}  // namespace tk::console
