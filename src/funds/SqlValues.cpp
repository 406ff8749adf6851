#include "funds/SqlValues.hpp"

#include <charconv>
#include <limits>

#include "connect/RunTimeError.hpp"
#include "frame/Utility.hpp"

namespace tk::am {

std::string DecimalText(double value) {
    // Fixed notation of the largest double takes 309 digits.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

int32_t AbsoluteId(int32_t id) {
    if (id == std::numeric_limits<int32_t>::min()) throw RunTimeError(errors::kOverflow, "Overflow");
    return id < 0 ? -id : id;
}

bool ExecuteEach(const std::vector<std::string>& statements) {
    std::string errorText;
    for (const std::string& sql : statements)
        if (!ExecuteSql(sql, errorText)) return false;
    return true;
}

}  // namespace tk::am
