#pragma once
#include <cstdint>

namespace tk::am {

// A record's save reports by result only: any run-time error gives the id 0.
template <typename Save>
int32_t SaveOrZero(Save&& save) {
    try {
        return save();
    } catch (...) {
        return 0;
    }
}

}  // namespace tk::am
