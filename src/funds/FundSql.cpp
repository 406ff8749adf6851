// AbsoluteId, which overflows on the one negative id without a positive twin.
#include "funds/FundSql.hpp"

#include <limits>

#include "host/RunTimeError.hpp"

namespace tk::am {

int32_t AbsoluteId(int32_t id) {
    if (id == std::numeric_limits<int32_t>::min())
        throw RunTimeError(errors::kOverflow, "Overflow");
    return id < 0 ? -id : id;
}

}  // namespace tk::am
