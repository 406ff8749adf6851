// Look-ups of reference data by organisation and by id.
#pragma once
#include <cstdint>
#include <string>

namespace tk::am {

// A reference table seen by one organisation: its rows, each replaced by the
// organisation's overlay row (table + "Ex") where there is one.
std::string OrganizationView(const std::string& table, int32_t organizationID);
// The code and name (kind 0), the code (1) or the name (2) of a table's row.
std::string GetCodeName(int32_t id, const std::string& table, int16_t kind, int32_t organizationID);

}  // namespace tk::am
