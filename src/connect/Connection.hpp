// The connection object (TkConnectBase.Connection), the component's only way to the database.
#pragma once
#include <memory>
#include <string>

#include "connect/Recordset.hpp"
#include "host/Dispatchable.hpp"

namespace tk::connect {

class Session;

// The suite's connection object: the host logs it in and hands it to the
// component, which reaches the database through these operations only.
class Connection : public DispatchableBase<Connection> {
  public:
    std::string_view className() const override { return "TkConnectBase.Connection"; }
    static void describe(DispatchTable<Connection>& t);

    std::string ServerName;  // a libpq connection string or URI (host/socket and database)
    std::string UserName;    // the login role; also the schema searched first
    std::string Password;

    void Open();
    void Close();
    bool isOpen() const { return session_ != nullptr; }

    std::shared_ptr<Recordset> GetRecordset(const std::string& sql, int cursorType, int lockType,
                                            int options = 1, int reserved = 0);
    void ExecSql(const std::string& sql, int options, int32_t& count, bool& ok);
    void CloseRs(std::shared_ptr<Recordset>& rs);
    void IsRsEmpty(const std::shared_ptr<Recordset>& rs, bool& flag);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    Session& session() const;
    const std::shared_ptr<Session>& sharedSession() const;

  private:
    std::shared_ptr<Session> session_;
};

}  // namespace tk::connect
