#pragma once
#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// How a transaction ends when its work returns: a trial run keeps nothing.
enum class Ending { Commit, RollBack };

// The one way the ledger opens a transaction: runs `work` inside one
// transaction of the session's connection, ended as `ending` says when it
// returns and rolled back when it throws.
template <typename Work>
auto inTransaction(const LedgerSession& session, Work&& work, Ending ending = Ending::Commit) {
    session.connection().BeginTrans();
    try {
        auto result = work();
        if (ending == Ending::Commit)
            session.connection().CommitTrans();
        else
            session.connection().RollbackTrans();
        return result;
    } catch (...) {
        session.connection().RollbackTrans();
        throw;
    }
}

}  // namespace tk::ledger
