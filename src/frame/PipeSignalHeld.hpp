// SIGPIPE held back while this thread writes to a child that may have gone.
#pragma once
#include <signal.h>

namespace tk::am {

// While the object lives, a write to a pipe nobody reads any more fails with
// EPIPE instead of killing the process; the signals it raised are discarded
// when it goes.
class PipeSignalHeld {
  public:
    PipeSignalHeld();
    ~PipeSignalHeld();
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

  private:
    sigset_t pipeSignal_, previous_;
};

}  // namespace tk::am
