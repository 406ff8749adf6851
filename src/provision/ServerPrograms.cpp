// The connection string turned into libpq's environment variables, the programs' sessions named,
// and ended after a run killed at its limit.
#include "provision/ServerPrograms.hpp"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include "connect/Session.hpp"

namespace tk::am {
namespace {

const char* kPgBin = "/usr/lib/postgresql/15/bin/";

std::string uniqueSessionName() {
    static std::atomic<unsigned> runs{0};
    return "tkam-backup-" + std::to_string(getpid()) + "-" + std::to_string(++runs);
}

// Each parameter of the connection string as the variable libpq reads it
// from; messages untranslated, since progress is read from them; UTF-8 text.
std::vector<std::string> environmentOf(const std::string& connection,
                                       const std::string& sessionName) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(connection.c_str(), &error), &PQconninfoFree);
    if (!options) {
        std::string message = error ? error : "";
        PQfreemem(error);
        throw std::runtime_error("连接串无效: " + message);
    }
    std::vector<std::string> environment;
    for (PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (o->val && *o->val && o->envvar && std::string(o->envvar) != "PGAPPNAME")
            environment.push_back(std::string(o->envvar) + "=" + o->val);
    environment.insert(environment.end(), {"PGAPPNAME=" + sessionName, "PGCLIENTENCODING=UTF8",
                                           "LC_ALL=C.UTF-8", "LANGUAGE="});
    return environment;
}

bool complaint(const std::string& line) {
    for (const char* mark : {"error:", "ERROR:", "FATAL:", "PANIC:", "warning:", "WARNING:",
                             "detail:", "DETAIL:", "hint:", "HINT:"})
        if (line.find(mark) != std::string::npos) return true;
    return false;
}

// A password the environment lacks fails the program at once, rather than
// its asking for one on the terminal until the time limit.
ToolRun::Program unprompted(ToolRun::Program program) {
    program.insert(program.begin() + 1, "--no-password");
    return program;
}

}  // namespace

ServerPrograms::ServerPrograms(std::string connection)
    : connection_(std::move(connection)),
      sessionName_(uniqueSessionName()),
      run_(environmentOf(connection_, sessionName_),
           std::chrono::seconds(
               ChildProcess::timeLimit("TKAM_BACKUP_TIMEOUT", kDefaultTimeoutSeconds))) {
    run_.onLine = [this](const std::string& line) {
        if (see_) see_(line);
        return !complaint(line);
    };
}

std::string ServerPrograms::path(const std::string& program) { return kPgBin + program; }

std::string ServerPrograms::tableNamed(const std::string& line, const std::string& mark) {
    const size_t at = line.find(mark + "\"");
    if (at == std::string::npos) return "";
    const std::string name = line.substr(at + mark.size() + 1);
    const size_t dot = name.find('.'), quote = name.rfind('"');
    return dot == std::string::npos || quote == std::string::npos || quote < dot
               ? ""
               : name.substr(dot + 1, quote - dot - 1);
}

void ServerPrograms::run(const ToolRun::Program& program) {
    endingSessionsAtTheLimit([&] { run_.run(unprompted(program)); });
}

void ServerPrograms::pipe(const ToolRun::Program& producer, std::string head,
                          const ToolRun::Program& consumer, std::string tail) {
    endingSessionsAtTheLimit([&] {
        run_.pipe(unprompted(producer), std::move(head), unprompted(consumer), std::move(tail));
    });
}

// The run's own failure is what the caller hears of, whatever happens here.
void ServerPrograms::endSessions() const noexcept {
    try {
        connect::Session(connection_, "", "")
            .runNative(
                "SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity"
                " WHERE application_name = $1",
                {{sessionName_}, {}});
    } catch (...) {
    }
}

template <typename Run>
void ServerPrograms::endingSessionsAtTheLimit(Run&& run) {
    try {
        run();
    } catch (...) {
        if (run_.timedOut()) endSessions();
        throw;
    }
}

}  // namespace tk::am
