// An owning handle for a libpq result, cleared when it goes out of scope.
#pragma once
#include <libpq-fe.h>

#include <memory>

namespace tk::connect {

struct PgResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultDeleter>;

}  // namespace tk::connect
