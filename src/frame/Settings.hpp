// The suite's stored options by module and organisation, and whether several funding
// sources are in use.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "host/Variant.hpp"

namespace tk::am {

// The suite's key-value options (table Setting), scoped by module and organisation.
Variant ReadSetting(const std::string& key, const std::optional<std::string>& section = {},
                    const std::optional<Variant>& defaultValue = {},
                    const std::optional<int32_t>& moduleID = {},
                    const std::optional<int32_t>& organizationID = {});
void WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& typeName, int32_t moduleID = 0,
                  const std::optional<int32_t>& organizationID = {});
bool IsMultiFundEnabled(int32_t organizationID);

}  // namespace tk::am
