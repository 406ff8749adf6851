// The error for input the books cannot hold, which a save passes on to its caller.
#pragma once
#include <string>

#include "host/RunTimeError.hpp"

namespace tk::am {

// Input the books cannot hold, refused before anything was written. A save
// that reports by result lets this one reach its caller, so that the reason
// is not lost with the write.
class InputRefusal : public RunTimeError {
  public:
    explicit InputRefusal(std::string description)
        : RunTimeError(errors::kInvalidArgument, std::move(description)) {}
};

}  // namespace tk::am
