// Recognising a lost race by its error text, and the jittered pause before the next
// attempt.
#include "frame/TransactionRetry.hpp"

#include <algorithm>
#include <random>
#include <thread>

#include "connect/Session.hpp"

namespace tk::am {
namespace {

// The optimistic update's own words, the Oracle codes the connection gives
// SQLSTATE 40001 (serialization failure) and 40P01 (deadlock), and the code
// counter's first draw, where two sessions create the same counter row.
constexpr const char* kRaceSigns[] = {"Row cannot be located for updating", "ORA-08177",
                                      "ORA-00060", "\"amassettypeno_pk\""};

std::string messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return {};
    }
}

}  // namespace

bool TransactionRetry::lostRace(const std::string& message) {
    return std::any_of(std::begin(kRaceSigns), std::end(kRaceSigns),
                       [&](const char* sign) { return message.find(sign) != std::string::npos; });
}

void TransactionRetry::rollBackAfterFailure() {
    // A failed commit has already ended the transaction; the first error is the one to report.
    if (conn_.session().inTransaction()) conn_.RollbackTrans();
}

bool TransactionRetry::worthAnotherAttempt(const std::exception_ptr& error, int attempt,
                                           std::chrono::steady_clock::time_point started) const {
    if (std::chrono::steady_clock::now() - started > backoff_.patience ||
        !lostRace(messageOf(error)))
        return false;
    // Full jitter: sessions that collided once should not collide again in step.
    thread_local std::mt19937 random{std::random_device{}()};
    const auto ceiling =
        std::min(backoff_.longest.count(), backoff_.first.count() << std::min(attempt - 1, 16));
    std::uniform_int_distribution<long> pause(0, ceiling);
    std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    return true;
}

}  // namespace tk::am
