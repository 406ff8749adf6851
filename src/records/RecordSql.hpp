// Small query helpers of the records: the first row of a query, and whether there is one.
#pragma once
#include <functional>
#include <string>

#include "connect/Recordset.hpp"

namespace tk::am {

// Hands the first row of the query to `read`; false, without calling it, when
// there is none. Database errors, and errors of `read`, reach the caller.
bool ReadFirstRow(const std::string& sql,
                  const std::function<void(const connect::Recordset&)>& read);

// Whether the query finds a row. Database errors reach the caller.
bool HasRow(const std::string& sql);

}  // namespace tk::am
