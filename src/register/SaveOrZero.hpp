// The save wrapper that turns any failure into the id 0.
#pragma once
#include <cstdint>

#include "frame/LastRefusal.hpp"

namespace tk::am {

// A record's save reports by result only: any run-time error gives the id 0.
// For input the books cannot hold the reason is kept (LastRefusal), so that a
// caller can still say why.
template <typename Save>
int32_t SaveOrZero(Save&& save) {
    LastRefusal::clear();
    try {
        return save();
    } catch (const InputRefusal& refusal) {
        LastRefusal::keep(refusal);
        return 0;
    } catch (...) {
        return 0;
    }
}

}  // namespace tk::am
