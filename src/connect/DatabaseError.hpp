// Database failures as host run-time errors, with the Oracle code for a PostgreSQL SQLSTATE.
#pragma once
#include <libpq-fe.h>

#include <string>

#include "host/RunTimeError.hpp"

namespace tk::connect {

// The Oracle code the component's logic reads for a PostgreSQL SQLSTATE, or "".
std::string oracleCodeFor(const std::string& sqlstate);

// A run-time error for a failed result: "ORA-nnnnn: " where the state has an
// Oracle counterpart, then the server's own message.
RunTimeError databaseError(const PGresult* result, const PGconn* conn);
RunTimeError databaseError(const std::string& oracleCode, const std::string& message);

}  // namespace tk::connect
