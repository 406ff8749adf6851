// Running an external program and waiting for its exit status.
#pragma once
#include <string>
#include <vector>

namespace tk::am {

// Runs a program and waits for it; returns its exit status (127 when it could
// not be started). Output goes where ours goes unless `quiet`.
int runProgram(const std::vector<std::string>& argv, bool quiet = false);

}  // namespace tk::am
