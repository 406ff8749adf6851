// The connection's late-bound members and operations: log-in, recordsets, ExecSql, transactions.
#include "connect/Connection.hpp"

#include <cstdlib>

#include "connect/Session.hpp"

namespace tk::connect {
namespace {

std::shared_ptr<Recordset> recordsetOf(const Variant& v) {
    return std::dynamic_pointer_cast<Recordset>(v.toObject());
}
}  // namespace

void Connection::describe(DispatchTable<Connection>& t) {
    t.field("ServerName", &Connection::ServerName)
        .field("UserName", &Connection::UserName)
        .field("Password", &Connection::Password)
        .method("Open",
                [](Connection& c, Args&) {
                    c.Open();
                    return Variant();
                })
        .method("Close",
                [](Connection& c, Args&) {
                    c.Close();
                    return Variant();
                })
        .method("State", [](Connection& c, Args&) { return Variant(c.isOpen() ? 1 : 0); })
        .method("Connection", [](Connection& c, Args&) { return Variant(c.shared_from_this()); })
        .method(
            "GetRecordset",
            [](Connection& c, Args& a) {
                return Variant(std::static_pointer_cast<Dispatchable>(c.GetRecordset(
                    requiredArg(a, 0).toText(), argOr(a, 1, 3).toInt32(), argOr(a, 2, 1).toInt32(),
                    argOr(a, 3, 1).toInt32(), argOr(a, 4, 0).toInt32())));
            })
        .method("ExecSql",
                [](Connection& c, Args& a) {
                    int32_t count = argOr(a, 2, 0).toInt32();
                    bool ok = false;
                    a.resize(std::max<size_t>(a.size(), 4));
                    try {
                        c.ExecSql(requiredArg(a, 0).toText(), argOr(a, 1, 1).toInt32(), count, ok);
                    } catch (...) {
                        a[2] = Variant(count);
                        a[3] = Variant(ok);
                        throw;
                    }
                    a[2] = Variant(count);
                    a[3] = Variant(ok);
                    return Variant();
                })
        .method("CloseRs",
                [](Connection& c, Args& a) {
                    auto rs = recordsetOf(requiredArg(a, 0));
                    c.CloseRs(rs);
                    a[0] = Variant();
                    return Variant();
                })
        .method("IsRsEmpty",
                [](Connection& c, Args& a) {
                    bool flag = true;
                    c.IsRsEmpty(recordsetOf(requiredArg(a, 0)), flag);
                    a.resize(std::max<size_t>(a.size(), 2));
                    a[1] = Variant(flag);
                    return Variant(flag);
                })
        .method("BeginTrans",
                [](Connection& c, Args&) {
                    c.BeginTrans();
                    return Variant();
                })
        .method("CommitTrans",
                [](Connection& c, Args&) {
                    c.CommitTrans();
                    return Variant();
                })
        .method("RollbackTrans", [](Connection& c, Args&) {
            c.RollbackTrans();
            return Variant();
        });
}

void Connection::Open() { session_ = std::make_shared<Session>(ServerName, UserName, Password); }

void Connection::Close() { session_.reset(); }

Session& Connection::session() const { return *sharedSession(); }

const std::shared_ptr<Session>& Connection::sharedSession() const {
    if (!session_)
        throw RunTimeError(3709,
                           "The connection cannot be used to perform this operation. It is either "
                           "closed or invalid in this context.");
    return session_;
}

std::shared_ptr<Recordset> Connection::GetRecordset(const std::string& sql, int cursorType,
                                                    int lockType, int, int) {
    PgResult result = session().runOracle(sql);
    bool updatable = cursorType == adOpenDynamic && lockType == adLockOptimistic;
    return std::make_shared<Recordset>(sharedSession(), std::move(result), updatable);
}

void Connection::ExecSql(const std::string& sql, int, int32_t& count, bool& ok) {
    ok = false;
    PgResult result = session().runOracle(sql);
    count = std::atoi(PQcmdTuples(result.get()));
    ok = true;
}

void Connection::CloseRs(std::shared_ptr<Recordset>& rs) {
    if (rs && rs->isOpen()) rs->close();
    rs.reset();
}

void Connection::IsRsEmpty(const std::shared_ptr<Recordset>& rs, bool& flag) {
    flag = !rs || !rs->isOpen() || (rs->bof() && rs->eof());
}

void Connection::BeginTrans() { session().begin(); }
void Connection::CommitTrans() { session().commit(); }
void Connection::RollbackTrans() { session().rollback(); }

}  // namespace tk::connect
