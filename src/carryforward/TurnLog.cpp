// Writes the carry-forward's log entries: server, account sets, organisation and dates, then how
// the run ended and its message.
#include "carryforward/TurnLog.hpp"

#include "connect/ServerText.hpp"
#include "frame/Context.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

std::string TurnLog::header(const char* title) const {
    const Context& c = context();
    std::string text = title;
    for (const std::string& line :
         {"结转服务器" + connect::ServerText::withoutPassword(connection().ServerName),
          "结转前账套" + c.OldUser, "结转后账套" + c.NewUser, "结转机构" + scope_.org(),
          "结转日期" + scope_.turnDate, "结转年度" + std::to_string(scope_.turnYear),
          "结转期间" + std::to_string(scope_.turnPeriod),
          titles_.startDateLabel + scope_.startDate})
        text += kCrLf + line;
    return text;
}

void TurnLog::write(const std::string& entry) const { WriteLog(entry, titles_.logName); }

void TurnLog::started() const {
    write(header(titles_.start) + (titles_.blankLineAfterStart ? kCrLf : ""));
}

void TurnLog::succeeded(const std::string& strErrMsg) const {
    write(header(titles_.success) + kCrLf + "错误信息:" + kCrLf + strErrMsg + kCrLf);
}

void TurnLog::failed(const std::string& strErrMsg) const {
    write(header(titles_.failure) + kCrLf + "结转失败原因:" + kCrLf + strErrMsg + kCrLf);
}

}  // namespace tk::am
