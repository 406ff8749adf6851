// The save wrapper that turns any failure into the id 0, input refusals excepted.
#pragma once
#include <cstdint>

#include "frame/InputRefusal.hpp"

namespace tk::am {

// A record's save reports by result only: any run-time error gives the id 0.
// Input the books cannot hold is the exception: its reason reaches the caller.
template <typename Save>
int32_t SaveOrZero(Save&& save) {
    try {
        return save();
    } catch (const InputRefusal&) {
        throw;
    } catch (...) {
        return 0;
    }
}

}  // namespace tk::am
