// The ratios of the processes to their floors, the figures the goals are set in.
#pragma once
#include <string>

namespace tk::bench {

// Prints "process: ratio" beside both times and the goal, and appends the row
// to the file TKAM_BENCH_RATIOS names, where `./run bench` gathers every
// benchmark's rows into one table.
void ReportRatio(const std::string& process, double seconds, double floorSeconds, double goal);

}  // namespace tk::bench
