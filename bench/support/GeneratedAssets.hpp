// Asset data generated in SQL for the benchmarks, without going through the classes.
#pragma once
#include <string>

namespace tk::bench {

// A script generating `count` straight-line assets of organisation 1 added in
// January 2024 (ids 1..count), three funding sources each carrying a third
// of the cost, each source with two account lines; the statistics gathered.
std::string AssetsWithThreeSources(int count);

}  // namespace tk::bench
