// Step times added up by name, printed with their shares.
#include "StepClock.hpp"

#include <algorithm>
#include <cstdio>

#include "report/TablePrinter.hpp"

namespace tk::bench {

void StepClock::step(const std::string& name) {
    finish();
    // "升级固定资产卡片, G2-000001 ...": one step of many items, timed as one
    running_ = name.substr(0, name.find(", "));
    started_ = std::chrono::steady_clock::now();
}

void StepClock::finish() {
    if (running_.empty()) return;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started_;
    auto known = std::find_if(steps_.begin(), steps_.end(),
                              [&](const auto& s) { return s.first == running_; });
    if (known == steps_.end())
        steps_.emplace_back(running_, took.count());
    else
        known->second += took.count();
    running_.clear();
}

double StepClock::total() const {
    double sum = 0;
    for (const auto& s : steps_) sum += s.second;
    return sum;
}

void StepClock::print(const std::string& title) const {
    const double whole = total();
    std::printf("\n%s\n", title.c_str());
    for (const auto& [name, seconds] : steps_) {
        // padded by display cells, so the Chinese step names line up
        const size_t width = tk::report::TablePrinter::displayWidth(name);
        std::printf("  %s%*s %9.2f s %6.1f%%\n", name.c_str(), int(width < 24 ? 24 - width : 0), "",
                    seconds, whole > 0 ? 100 * seconds / whole : 0.0);
    }
}

}  // namespace tk::bench
