// How long each named step of a process took, and its share of the whole.
#pragma once
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace tk::bench {

// Steps are told as they start; a step that starts again (the next period's,
// or the next item's where the name goes on after ", ") adds to its earlier
// time, so a run of several periods or items gives one share per step.
class StepClock {
  public:
    void step(const std::string& name);
    // Ends the step that runs.
    void finish();
    double total() const;
    // Each step's seconds and share of the total, under `title`.
    void print(const std::string& title) const;

  private:
    std::vector<std::pair<std::string, double>> steps_;
    std::string running_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace tk::bench
