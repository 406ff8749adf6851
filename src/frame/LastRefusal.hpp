// The reason a save answered 0 for input the books cannot hold, kept for its caller.
#pragma once
#include <optional>
#include <string>

#include "frame/InputRefusal.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

// A record's save answers by its result: input the books cannot hold gives 0
// like any other failure. Its reason (the field's label and its limit) goes to
// the "errSql" log and waits here, on the saving thread, for a caller that
// wants to say why: the C interface's tkam_last_error, the ledger's messages.
// A check that traps a run-time error and answers false keeps it here too.
class LastRefusal {
  public:
    static void keep(const InputRefusal& refusal);
    // The run-time error being handled, trapped by an operation that answers by result.
    static void keepCurrent(const std::string& operation);
    // The kept reason, which is then forgotten.
    static std::optional<ErrorInfo> take();
    static void clear();
    // Raises the kept reason as the InputRefusal it was, or else a run-time
    // error saying `otherwise`: for a caller whose save answered 0.
    [[noreturn]] static void raiseOr(const std::string& otherwise);
};

}  // namespace tk::am
