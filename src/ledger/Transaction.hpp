// The ledger's one way to open a transaction: committed or rolled back, retried after a race.
#pragma once
#include "frame/TransactionRetry.hpp"
#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// How a transaction ends when its work returns: a trial run keeps nothing.
enum class Ending { Commit, RollBack };

// The one way the ledger opens a transaction: runs `work` inside one
// transaction of the session's connection, ended as `ending` says when it
// returns and rolled back when it throws; run again when it lost a race with
// another session.
template <typename Work>
auto inTransaction(const LedgerSession& session, Work&& work, Ending ending = Ending::Commit) {
    return am::TransactionRetry(session.connection()).run(work, ending == Ending::Commit);
}

}  // namespace tk::ledger
