// The ledger's reports laid out as tables for a terminal, a spreadsheet or a page.
#pragma once
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ledger/LedgerQueries.hpp"
#include "report/TablePrinter.hpp"

namespace tk::report {

using ledger::AssetDetail;
using ledger::Figures;
using ledger::LedgerQueries;
using ledger::LedgerSession;
using ledger::Schedule;
using ledger::ScheduleRow;
using ledger::YearPeriod;

// A report laid out: its heading line (none when empty), its table and a
// footnote.
struct Report {
    std::string heading;
    TablePrinter table;
    std::string footnote;

    // Aligned columns under the heading, or the table alone as CSV.
    void print(std::ostream& out, bool csv = false) const;
};

// The reports of the ledger as tables, for a terminal, a spreadsheet or a
// page: the same for the command line and for any host.
class LedgerReports {
  public:
    explicit LedgerReports(const LedgerSession& session) : session_(session), queries_(session) {}

    // The register at the end of `end`: cost, accumulated depreciation,
    // impairment and net value by asset, subtotals by category and by
    // department, and the total; with `summary` the subtotals only.
    Report registerAt(YearPeriod end, bool summary = false) const;
    // The charges of the periods from `from` to `to` by account and department
    // (and funding source), with period subtotals.
    Report depreciation(YearPeriod from, YearPeriod to, bool byFund = false,
                        bool summary = false) const;
    // Each asset's depreciation month by month through the schedule's year.
    Report schedule(const Schedule& s, bool summary = false) const;
    // One asset's journal.
    Report journal(const std::string& assetCode) const;
    // The assets of the register, filtered as LedgerQueries::assets.
    Report assets(const std::optional<std::string>& category = std::nullopt,
                  const std::optional<std::string>& department = std::nullopt) const;
    // One asset: its card, versions, depreciation and posted funding sources.
    std::vector<Report> asset(const std::string& code) const;
    // One self-contained page: the report and two charts of the schedule's
    // year (the depreciation by category, the net book value forecast).
    void writeHtml(const Report& report, const Schedule& s,
                   const std::filesystem::path& file) const;

  private:
    std::string heading(const std::string& title) const;

    const LedgerSession& session_;
    LedgerQueries queries_;
};

}  // namespace tk::report
