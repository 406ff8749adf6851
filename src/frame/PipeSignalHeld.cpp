// SIGPIPE blocked for the thread, and what arrived meanwhile taken before it is unblocked.
#include "frame/PipeSignalHeld.hpp"

#include <pthread.h>

#include <ctime>

namespace tk::am {

PipeSignalHeld::PipeSignalHeld() {
    sigemptyset(&pipeSignal_);
    sigaddset(&pipeSignal_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal_, &previous_);
}

PipeSignalHeld::~PipeSignalHeld() {
    timespec none{};
    while (sigtimedwait(&pipeSignal_, nullptr, &none) == SIGPIPE) {
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace tk::am
