// The carry-forward's own log entries: its start, success and failure.
#pragma once
#include <string>

#include "carryforward/TurnScope.hpp"

namespace tk::am {

// The entries a carry-forward writes to its own log: what was carried, from
// where to where, and how it ended. Each line is a label followed by its value.
class TurnLog {
  public:
    struct Titles {
        const char* logName;
        const char* start;
        const char* success;
        const char* failure;
        const char* startDateLabel;
        bool blankLineAfterStart;
    };

    TurnLog(const Titles& titles, const TurnScope& scope) : titles_(titles), scope_(scope) {}

    void started() const;
    void succeeded(const std::string& strErrMsg) const;
    void failed(const std::string& strErrMsg) const;

  private:
    std::string header(const char* title) const;
    void write(const std::string& entry) const;

    const Titles& titles_;
    const TurnScope& scope_;
};

}  // namespace tk::am
