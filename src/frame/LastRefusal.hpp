// The reason a save answered 0 for input the books cannot hold, kept for its caller.
#pragma once
#include <optional>
#include <string>

#include "frame/InputRefusal.hpp"

namespace tk::am {

// A record's save answers by its result: input the books cannot hold gives 0
// like any other failure. Its reason (the field's label and its limit) goes to
// the "errSql" log and waits here, on the saving thread, for a caller that
// wants to say why: the C interface's tkam_last_error, the ledger's messages.
class LastRefusal {
  public:
    static void keep(const InputRefusal& refusal);
    // The kept reason, which is then forgotten.
    static std::optional<std::string> take();
    static void clear();
    // Raises the kept reason as the InputRefusal it was, or else a run-time
    // error saying `otherwise`: for a caller whose save answered 0.
    [[noreturn]] static void raiseOr(const std::string& otherwise);
};

}  // namespace tk::am
