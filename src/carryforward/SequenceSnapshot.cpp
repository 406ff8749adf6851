#include "carryforward/SequenceSnapshot.hpp"

#include <libpq-fe.h>

#include "connect/Session.hpp"
#include "frame/Context.hpp"

namespace tk::am {

SequenceSnapshot::SequenceSnapshot(const std::string& schema) {
    connect::NativeParams params{{schema}, {0}};
    connect::PgResult result = connection().session().runNative(
        "SELECT string_agg(format('setval(%L, %s, %s)', format('%I.%I', schemaname, "
        "sequencename), coalesce(last_value, start_value), last_value IS NOT NULL), ', ') "
        "FROM pg_sequences WHERE schemaname = lower($1)",
        params);
    if (PQntuples(result.get()) == 1 && !PQgetisnull(result.get(), 0, 0))
        restoreSql_ = std::string("SELECT ") + PQgetvalue(result.get(), 0, 0);
}

void SequenceSnapshot::restore() const {
    if (!restoreSql_.empty()) connection().session().runNative(restoreSql_);
}

}  // namespace tk::am
