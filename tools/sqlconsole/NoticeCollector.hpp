// Collects the lines PL/SQL blocks write with DBMS_OUTPUT.PUT_LINE.
#pragma once
#include <libpq-fe.h>

#include <string>
#include <vector>

namespace tk::console {

// DBMS_OUTPUT.PUT_LINE runs on the server as PL/pgSQL's RAISE NOTICE; this
// takes those notices from the session while it lives and keeps their texts
// until they are taken. The server's other notices are dropped as before.
class NoticeCollector {
  public:
    explicit NoticeCollector(PGconn* conn);
    ~NoticeCollector();
    NoticeCollector(const NoticeCollector&) = delete;
    NoticeCollector& operator=(const NoticeCollector&) = delete;

    // The lines written since the last call, in order.
    std::vector<std::string> take();

  private:
    static void receive(void* self, const PGresult* notice);

    PGconn* conn_;
    PQnoticeReceiver previous_;
    std::vector<std::string> lines_;
};

}  // namespace tk::console
