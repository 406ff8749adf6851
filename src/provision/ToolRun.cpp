// The programs started in one process group, their standard error split into lines, the
// producer's output carried to the consumer between head and tail, the limit kept by poll.
#include "provision/ToolRun.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "frame/Pipe.hpp"
#include "frame/PipeSignalHeld.hpp"

namespace tk::am {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr size_t kChunk = 64 * 1024;
// What is read from the producer ahead of the consumer.
constexpr size_t kReadAhead = 1024 * 1024;
constexpr size_t kKeptLines = 20;
// How often a producer that has closed its output is looked at until it has ended.
constexpr int kReapMs = 20;

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

int takeFd(int& fd) {
    int taken = fd;
    fd = -1;
    return taken;
}

// "psql:<stdin>:42: ERROR:  …" says where in its input a statement failed;
// the reader wants what failed.
std::string withoutPlace(const std::string& line) {
    if (!line.starts_with("psql:")) return line;
    size_t lineNumber = line.find(": ", 5);
    return lineNumber == std::string::npos ? line : line.substr(lineNumber + 2);
}

}  // namespace

// The producer's output on its way to the consumer's input.
struct ToolRun::Forwarding {
    int from = -1, to = -1;
    std::string buffer;
    size_t sent = 0;
    std::string tail;
    bool settled = false;    // the producer has ended: the tail is queued or dropped
    bool delivered = false;  // the consumer got everything, tail included

    ~Forwarding() { stop(); }
    bool wantsInput() const { return from >= 0 && buffer.size() - sent < kReadAhead; }
    bool hasOutput() const { return to >= 0 && sent < buffer.size(); }
    bool waitsForProducer() const { return from < 0 && !settled; }
    bool done() const { return from < 0 && to < 0; }

    void take() {
        char chunk[kChunk];
        ssize_t n = read(from, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) return;
        if (n <= 0) return closeFd(from);
        if (to >= 0) buffer.append(chunk, static_cast<size_t>(n));
    }
    void give() {
        ssize_t n = write(to, buffer.data() + sent, std::min(kChunk, buffer.size() - sent));
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (n <= 0) return stop();  // the consumer has gone
        sent += static_cast<size_t>(n);
        if (sent < buffer.size()) return;
        buffer.clear();
        sent = 0;
        if (settled) endInput();
    }
    void settle(ChildProcess& producer) {
        if (!waitsForProducer()) return;
        std::optional<int> status = producer.ended();
        if (!status) return;
        settled = true;
        if (*status != 0) return closeFd(to);
        buffer += tail;
        if (to >= 0 && sent == buffer.size()) endInput();
    }
    void endInput() {
        delivered = to >= 0;
        closeFd(to);
    }
    void stop() {
        closeFd(from);
        closeFd(to);
        buffer.clear();
        sent = 0;
    }
};

ToolRun::ToolRun(std::vector<std::string> environment, std::chrono::seconds limit)
    : environment_(std::move(environment)), limit_(limit) {
    if (limit.count() > 0) deadline_ = Clock::now() + limit;
}

ToolRun::~ToolRun() {
    for (auto& child : children_) {
        if (child.process.ended()) continue;
        child.process.killGroup();
        child.process.wait();
    }
}

milliseconds ToolRun::left() const {
    if (!deadline_) return std::chrono::hours(24);
    return std::max(milliseconds(0), std::chrono::ceil<milliseconds>(*deadline_ - Clock::now()));
}

void ToolRun::start(const Program& program, const ChildProcess::Descriptors& descriptors) {
    const pid_t group = children_.empty() ? 0 : children_.front().process.group();
    std::optional<ChildProcess> child =
        ChildProcess::start(program, descriptors, environment_, group);
    if (!child) throw std::runtime_error("无法启动 " + program.front());
    children_.push_back({std::filesystem::path(program.front()).filename().string(), *child});
}

void ToolRun::run(const Program& program) {
    Pipe errors;
    if (!errors.ok()) throw std::runtime_error("无法建立管道");
    start(program, {-1, -1, errors.write});
    errors.closeWrite();
    watch(takeFd(errors.read), nullptr);
    finish(true);
}

void ToolRun::pipe(const Program& producer, std::string head, const Program& consumer,
                   std::string tail) {
    Pipe errors, output, input;
    if (!errors.ok() || !output.ok() || !input.ok()) throw std::runtime_error("无法建立管道");
    start(producer, {-1, output.write, errors.write});
    start(consumer, {input.read, -1, errors.write});
    errors.closeWrite();
    output.closeWrite();
    input.closeRead();
    fcntl(input.write, F_SETFL, fcntl(input.write, F_GETFL) | O_NONBLOCK);
    Forwarding forwarding;
    forwarding.from = takeFd(output.read);
    forwarding.to = takeFd(input.write);
    forwarding.buffer = std::move(head);
    forwarding.tail = std::move(tail);
    watch(takeFd(errors.read), &forwarding);
    const bool delivered = forwarding.delivered;
    forwarding.stop();
    finish(delivered);
}

// Until every program has closed its standard error and the forwarding is
// over, or the time is up.
void ToolRun::watch(int errors, Forwarding* forwarding) {
    PipeSignalHeld held;
    while (errors >= 0 || (forwarding && !forwarding->done())) {
        if (forwarding) forwarding->settle(children_.front().process);
        std::vector<pollfd> fds;
        if (errors >= 0) fds.push_back({errors, POLLIN, 0});
        if (forwarding && forwarding->wantsInput()) fds.push_back({forwarding->from, POLLIN, 0});
        if (forwarding && forwarding->hasOutput()) fds.push_back({forwarding->to, POLLOUT, 0});
        int wait = deadline_ ? static_cast<int>(std::min<int64_t>(left().count(), INT32_MAX)) : -1;
        if (forwarding && forwarding->waitsForProducer())
            wait = wait < 0 ? kReapMs : std::min(wait, kReapMs);
        if (poll(fds.data(), fds.size(), wait) < 0 && errno != EINTR) break;
        if (expired()) break;
        for (const pollfd& fd : fds) {
            if (fd.revents == 0) continue;
            if (fd.fd == errors)
                readLines(errors);
            else if (fd.events == POLLIN)
                forwarding->take();
            else if (fd.revents & POLLOUT)
                forwarding->give();
            else
                forwarding->stop();
        }
    }
    closeFd(errors);
}

bool ToolRun::expired() {
    if (!deadline_ || Clock::now() < *deadline_) return false;
    timedOut_ = true;
    for (const auto& child : children_) child.process.killGroup();
    return true;
}

void ToolRun::readLines(int& errors) {
    char chunk[kChunk];
    ssize_t n = read(errors, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) return;
    if (n <= 0) {
        closeFd(errors);
        if (!partialLine_.empty()) keep(std::move(partialLine_));
        partialLine_.clear();
        return;
    }
    for (ssize_t i = 0; i < n; ++i) {
        if (chunk[i] != '\n' && chunk[i] != '\r') {
            partialLine_ += chunk[i];
        } else if (!partialLine_.empty()) {
            keep(std::move(partialLine_));
            partialLine_.clear();
        }
    }
}

void ToolRun::keep(std::string line) {
    if (onLine && onLine(line)) return;
    kept_.push_back(withoutPlace(line));
    if (kept_.size() > kKeptLines) kept_.pop_front();
}

void ToolRun::finish(bool inputDelivered) {
    std::string names, failed;
    for (auto& child : children_) {
        const int status = child.process.wait();
        names += (names.empty() ? "" : ", ") + child.name;
        if (status != 0)
            failed += (failed.empty() ? "" : ", ") + child.name + " (退出状态 " +
                      std::to_string(status) + ")";
    }
    if (timedOut_)
        throw std::runtime_error(names + " 运行超过 " + std::to_string(limit_.count()) +
                                 " 秒, 已终止");
    if (failed.empty() && !inputDelivered) failed = children_.back().name + " (未读完给它的输入)";
    if (failed.empty()) return;
    std::string said;
    for (const auto& line : kept_) said += "\n" + line;
    throw std::runtime_error(failed + " 失败" + (said.empty() ? "" : ":" + said));
}

}  // namespace tk::am
