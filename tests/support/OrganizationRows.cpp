// Collects an organisation's rows table by table, through its own column or
// the parent row its key names, and lists what changed between two images.
#include "OrganizationRows.hpp"

#include <libpq-fe.h>

#include <algorithm>
#include <iterator>
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

std::string Joined(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ",") + name;
    return list;
}

}  // namespace

OrganizationRows RowsOfOrganization(const std::string& schema, int32_t organization,
                                    const std::vector<std::string>& drawnIds) {
    Connection conn(PQconnectdb(adminServer().c_str()), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw std::runtime_error("test server unreachable: " +
                                 std::string(PQerrorMessage(conn.get())));
    const std::string s = lowerAscii(schema), o = std::to_string(organization);
    Result tables =
        Query(conn.get(),
              "SELECT c.relname, ',' || string_agg(a.attname, ',') || ',', string_agg(CASE WHEN "
              "a.attname <> ALL ('{" +
                  Joined(drawnIds) +
                  "}') THEN 'r.' || quote_ident(a.attname) END, ',' ORDER BY a.attnum) FROM "
                  "pg_class c JOIN "
                  "pg_namespace n ON n.oid = c.relnamespace JOIN pg_attribute a ON a.attrelid = "
                  "c.oid AND "
                  "a.attnum > 0 AND NOT a.attisdropped WHERE n.nspname = '" +
                  s + "' AND c.relkind = 'r' GROUP BY c.relname ORDER BY 1");
    OrganizationRows rows;
    for (int t = 0; t < PQntuples(tables.get()); ++t) {
        const std::string table = PQgetvalue(tables.get(), t, 0);
        const std::string where = OwnedRows(PQgetvalue(tables.get(), t, 1), s, o);
        if (where.empty()) continue;
        Result owned =
            Query(conn.get(), "SELECT ROW(" + std::string(PQgetvalue(tables.get(), t, 2)) +
                                  ")::text FROM " + s + "." + table + " r WHERE " + where);
        auto& list = rows[table];
        for (int i = 0; i < PQntuples(owned.get()); ++i)
            list.push_back(PQgetvalue(owned.get(), i, 0));
        std::ranges::sort(list);
    }
    return rows;
}

namespace {

std::string Differences(const OrganizationRows& before, const OrganizationRows& after,
                        bool comeToo) {
    auto missingFrom = [](const std::vector<std::string>& rows,
                          const std::vector<std::string>& others) {
        std::vector<std::string> missing;
        std::ranges::set_difference(rows, others, std::back_inserter(missing));
        return missing;
    };
    std::string changes;
    auto list = [&](const std::string& table, const char* what,
                    const std::vector<std::string>& rows) {
        if (rows.empty()) return;
        changes += table + " " + what + " " + std::to_string(rows.size()) + ":";
        for (size_t i = 0; i < rows.size() && i < 3; ++i) changes += " " + rows[i];
        changes += "\n";
    };
    static const std::vector<std::string> none;
    OrganizationRows tables = before;
    tables.insert(after.begin(), after.end());
    for (const auto& [table, unused] : tables) {
        const auto& was = before.contains(table) ? before.at(table) : none;
        const auto& is = after.contains(table) ? after.at(table) : none;
        list(table, "gone", missingFrom(was, is));
        if (comeToo) list(table, "come", missingFrom(is, was));
    }
    return changes;
}

}  // namespace

std::string ChangedRows(const OrganizationRows& before, const OrganizationRows& after) {
    return Differences(before, after, true);
}

std::string GoneRows(const OrganizationRows& before, const OrganizationRows& after) {
    return Differences(before, after, false);
}

}  // namespace tk::test
