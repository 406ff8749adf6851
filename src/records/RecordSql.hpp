#pragma once
#include <functional>
#include <initializer_list>
#include <string>

#include "connect/Recordset.hpp"

namespace tk::am {

// Runs the statements one after another through ExecuteSql; the first failure
// stops the rest and gives false. What ran before it stays.
bool ExecuteInOrder(std::initializer_list<std::string> statements);

// Whether the query finds a row. Database errors reach the caller.
bool HasRow(const std::string& sql);

// Hands the first row of the query to `read`; false, without calling it, when
// there is none. Database errors, and errors of `read`, reach the caller.
bool ReadFirstRow(const std::string& sql,
                  const std::function<void(const connect::Recordset&)>& read);

}  // namespace tk::am
