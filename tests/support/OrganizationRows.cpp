#include "OrganizationRows.hpp"

#include <libpq-fe.h>

#include <memory>
#include <stdexcept>

#include "TestDatabase.hpp"

namespace tk::test {
namespace {

using Connection = std::unique_ptr<PGconn, decltype(&PQfinish)>;
using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Result Query(PGconn* conn, const std::string& sql) {
    Result r(PQexec(conn, sql.c_str()), &PQclear);
    if (PQresultStatus(r.get()) != PGRES_TUPLES_OK)
        throw std::runtime_error(PQerrorMessage(conn) + std::string(" in: ") + sql);
    return r;
}

// Where a table's rows belong to the organisation: its own column, or the
// parent row its key names (schema `s`, organisation `o`).
std::string OwnedRows(const std::string& columns, const std::string& s, const std::string& o) {
    auto has = [&](const char* column) {
        return columns.find("," + std::string(column) + ",") != std::string::npos;
    };
    auto through = [&](const char* key, const char* parent) {
        return std::string(key) + " IN (SELECT " + key + " FROM " + s + "." + parent +
               " WHERE lngorganizationid = " + o + ")";
    };
    if (has("lngorganizationid")) return "lngorganizationid = " + o;
    if (has("lngamassetid")) return through("lngamassetid", "amasset");
    if (has("lngamassetfundalterid")) return through("lngamassetfundalterid", "amassetfundalter");
    if (has("lngamassetlabelid")) return through("lngamassetlabelid", "amassetlabel");
    if (has("lngalterrequestid")) return through("lngalterrequestid", "amassetalterrequest");
    if (has("lngalterreduceid")) return through("lngalterreduceid", "amassetalterreduce");
    return "";
}

}  // namespace

OrganizationRows RowsOfOrganization(const std::string& schema, int32_t organization) {
    Connection conn(PQconnectdb(adminServer().c_str()), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw std::runtime_error("test server unreachable: " +
                                 std::string(PQerrorMessage(conn.get())));
    const std::string s = lowerAscii(schema), o = std::to_string(organization);
    Result tables = Query(
        conn.get(),
        "SELECT c.relname, ',' || string_agg(a.attname, ',') || ',' FROM pg_class c JOIN "
        "pg_namespace n ON n.oid = c.relnamespace JOIN pg_attribute a ON a.attrelid = c.oid AND "
        "a.attnum > 0 AND NOT a.attisdropped WHERE n.nspname = '" +
            s + "' AND c.relkind = 'r' GROUP BY c.relname ORDER BY 1");
    OrganizationRows rows;
    for (int t = 0; t < PQntuples(tables.get()); ++t) {
        const std::string table = PQgetvalue(tables.get(), t, 0);
        const std::string where = OwnedRows(PQgetvalue(tables.get(), t, 1), s, o);
        if (where.empty()) continue;
        Result owned = Query(conn.get(), "SELECT r::text FROM " + s + "." + table + " r WHERE " +
                                             where + " ORDER BY 1");
        auto& list = rows[table];
        for (int i = 0; i < PQntuples(owned.get()); ++i)
            list.push_back(PQgetvalue(owned.get(), i, 0));
    }
    return rows;
}

}  // namespace tk::test
