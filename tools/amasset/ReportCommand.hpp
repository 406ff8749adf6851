#pragma once
#include <optional>
#include <ostream>

#include "AccountSetSession.hpp"
#include "CliContext.hpp"
#include "TablePrinter.hpp"

namespace tk::tools {

// amasset report register|depreciation|schedule|journal ...
int reportCommand(const CliContext& cli);

struct ReportStyle {
    bool csv = false;      // CSV in UTF-8 instead of aligned columns
    bool summary = false;  // subtotals and totals only
};

// The register at the end of `period` (default: the latest depreciated
// period): cost, accumulated depreciation, impairment and net value by asset,
// subtotals by category and by department, and the total.
void printRegister(const AccountSetSession& session, std::optional<YearPeriod> period,
                   ReportStyle style, std::ostream& out);
// The depreciation of every depreciated period by account and department.
void printDepreciation(const AccountSetSession& session, ReportStyle style, std::ostream& out);

}  // namespace tk::tools
