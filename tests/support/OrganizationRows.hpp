// Every row one organisation owns in an account set, to prove a run for
// another organisation left them exactly as they were.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tk::test {

// Every row an organisation owns in an account set, table by table, as
// PostgreSQL prints a row: the rows of tables with lngOrganizationID that
// name it, and the rows of the tables that hang off its assets, funding-source
// versions, labels and self-service requests. What a process run for another
// organisation must leave byte for byte as it found it.
// Columns named in `drawnIds` (lower case) are left out of the rows: ids a
// rebuild draws afresh.
using OrganizationRows = std::map<std::string, std::vector<std::string>>;
OrganizationRows RowsOfOrganization(const std::string& schema, int32_t organization,
                                    const std::vector<std::string>& drawnIds = {});
// What changed between two such images, table by table (rows gone, rows
// come, the first few of each); empty when nothing did.
std::string ChangedRows(const OrganizationRows& before, const OrganizationRows& after);
// The rows of `before` that `after` no longer holds as they were.
std::string GoneRows(const OrganizationRows& before, const OrganizationRows& after);

}  // namespace tk::test
