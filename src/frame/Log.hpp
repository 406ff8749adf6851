// The component's log files ("sql", "errSql", each process's own).
#pragma once
#include <cstdint>
#include <string>

namespace tk::am {

// Appends "[time]text" to the log of that name (the component's name when
// empty), or starts it afresh with `overwrite`; a log past 2 MiB is started afresh.
bool WriteLog(const std::string& text, const std::string& logName = "", int16_t overwrite = 0);

}  // namespace tk::am
