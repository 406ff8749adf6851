// Runs work as one transaction, again from the start when it lost a race to another
// session.
#pragma once
#include <chrono>
#include <exception>
#include <string>

#include "connect/Connection.hpp"

namespace tk::am {

// Runs a piece of work as one transaction of a connection, and runs it again
// from the start when it lost a race another session won: an optimistic
// update that found its row changed, a serialization failure or a deadlock.
// Everything the lost attempt wrote (a drawn code counter included) went with
// its rollback, so the next attempt starts from what the winner committed.
class TransactionRetry {
  public:
    // How long attempts may go on, and the range the jittered pause before the
    // next grows in. Time, not a count, bounds them: where many clerks draw
    // from one code counter each attempt wins only against all the others.
    struct Backoff {
        std::chrono::seconds patience{60};
        std::chrono::milliseconds first{5};
        std::chrono::milliseconds longest{100};
    };

    explicit TransactionRetry(connect::Connection& conn) : conn_(conn) {}
    TransactionRetry(connect::Connection& conn, Backoff backoff) : conn_(conn), backoff_(backoff) {}

    // `work()`'s result, committed when `keep` holds and rolled back otherwise.
    template <typename Work>
    auto run(Work&& work, bool keep = true) {
        const auto started = std::chrono::steady_clock::now();
        for (int attempt = 1;; ++attempt) {
            conn_.BeginTrans();
            try {
                auto result = work();
                keep ? conn_.CommitTrans() : conn_.RollbackTrans();
                return result;
            } catch (...) {
                rollBackAfterFailure();
                if (!worthAnotherAttempt(std::current_exception(), attempt, started)) throw;
            }
        }
    }

    // Whether an error's text says the transaction lost a race, whoever
    // wrapped it on the way up.
    static bool lostRace(const std::string& message);

  private:
    void rollBackAfterFailure();
    // Pauses and answers true when the error is a lost race and patience remains.
    bool worthAnotherAttempt(const std::exception_ptr& error, int attempt,
                             std::chrono::steady_clock::time_point started) const;

    connect::Connection& conn_;
    Backoff backoff_;
};

}  // namespace tk::am
