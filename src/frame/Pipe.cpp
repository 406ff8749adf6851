// A close-on-exec pipe and the closing of its ends.
#include "frame/Pipe.hpp"

#include <fcntl.h>
#include <unistd.h>

namespace tk::am {

Pipe::Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) == 0) read = fds[0], write = fds[1];
}

Pipe::~Pipe() {
    closeRead();
    closeWrite();
}

void Pipe::closeEnd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace tk::am
