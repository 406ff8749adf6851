// One line to the output, one tab-separated row to the gathered table.
#include "RatioTable.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tk::bench {

void ReportRatio(const std::string& process, double seconds, double floorSeconds, double goal) {
    const double ratio = floorSeconds > 0 ? seconds / floorSeconds : 0;
    std::printf("%s: %.1fx (%.0f ms, 下限 %.0f ms; 目标 <= %.1fx)\n", process.c_str(), ratio,
                seconds * 1000, floorSeconds * 1000, goal);
    const char* file = std::getenv("TKAM_BENCH_RATIOS");
    if (!file || !*file) return;
    std::ofstream rows(file, std::ios::app);
    char line[256];
    std::snprintf(line, sizeof line, "\t%.0f\t%.0f\t%.1f\t%.1f\n", seconds * 1000,
                  floorSeconds * 1000, ratio, goal);
    rows << process << line;
}

}  // namespace tk::bench
