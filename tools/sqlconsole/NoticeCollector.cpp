// Receiving the server's RAISE notices as output lines.
#include "NoticeCollector.hpp"

#include <cstring>
#include <string_view>
#include <utility>

namespace tk::console {
namespace {

// The innermost context line names the PL/pgSQL statement that sent the
// notice: "PL/pgSQL function inline_code_block line 3 at RAISE". The
// statement's name is not translated, whatever the server's language.
bool raisedByBlock(const PGresult* notice) {
    const char* severity = PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
    const char* context = PQresultErrorField(notice, PG_DIAG_CONTEXT);
    if (!severity || std::strcmp(severity, "NOTICE") != 0 || !context) return false;
    std::string_view first(context);
    first = first.substr(0, first.find('\n'));
    return first.ends_with("RAISE");
}

}  // namespace

NoticeCollector::NoticeCollector(PGconn* conn)
    : conn_(conn), previous_(PQsetNoticeReceiver(conn, &NoticeCollector::receive, this)) {}

// The session keeps libpq's own receiver, which takes no argument and hands
// notices to the session's processor.
NoticeCollector::~NoticeCollector() { PQsetNoticeReceiver(conn_, previous_, nullptr); }

std::vector<std::string> NoticeCollector::take() { return std::exchange(lines_, {}); }

void NoticeCollector::receive(void* self, const PGresult* notice) {
    if (!raisedByBlock(notice)) return;
    const char* text = PQresultErrorField(notice, PG_DIAG_MESSAGE_PRIMARY);
    static_cast<NoticeCollector*>(self)->lines_.emplace_back(text ? text : "");
}

}  // namespace tk::console
