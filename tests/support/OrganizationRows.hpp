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
using OrganizationRows = std::map<std::string, std::vector<std::string>>;
OrganizationRows RowsOfOrganization(const std::string& schema, int32_t organization);

}  // namespace tk::test
