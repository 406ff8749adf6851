// Programs run under one time limit, alone or one feeding another, their messages read as they go.
#pragma once
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame/ChildProcess.hpp"

namespace tk::am {

// Runs programs without a shell under one time limit, counted from the
// object's making: past it every program and whatever it started is killed.
// What they write on standard error is read line by line as it comes, for
// progress and for the message of a failure. A program that ends with a
// status other than 0 fails the run.
class ToolRun {
  public:
    using Program = std::vector<std::string>;

    // `environment` as ChildProcess takes it; a limit of 0 means none.
    ToolRun(std::vector<std::string> environment, std::chrono::seconds limit);
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    // Sees each line of standard error; a line it answers true for was only
    // progress, the others are kept for the message of a failure.
    std::function<bool(const std::string& line)> onLine;

    // Runs `program` to its end; throws with what it said when it fails.
    void run(const Program& program);
    // Runs `producer` and `consumer` side by side: the consumer reads `head`,
    // then what the producer writes, then `tail`, which it is given only once
    // the producer has ended well. A consumer that ends its work (commits) in
    // the tail thus leaves nothing done when the producer fails.
    void pipe(const Program& producer, std::string head, const Program& consumer, std::string tail);

    bool timedOut() const { return timedOut_; }
    // The time left before the limit (a day when there is none).
    std::chrono::milliseconds left() const;

  private:
    struct Forwarding;
    struct Started {
        std::string name;
        ChildProcess process;
    };

    void start(const Program& program, const ChildProcess::Descriptors& descriptors);
    void watch(int errors, Forwarding* forwarding);
    bool expired();
    void readLines(int& errors);
    void keep(std::string line);
    void finish(bool inputDelivered);

    std::vector<std::string> environment_;
    std::chrono::seconds limit_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::vector<Started> children_;
    std::string partialLine_;
    std::deque<std::string> kept_;
    bool timedOut_ = false;
};

}  // namespace tk::am
