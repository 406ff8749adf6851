// Prints rows under their column headings as the console lays out query results.
#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "OutputSettings.hpp"

namespace tk::console {

// Rows as the console prints a query's: the heading (upper-case names over a
// rule of dashes) before the first row, values apart by one blank, NULL blank.
class RowPrinter {
  public:
    RowPrinter(std::ostream& out, const OutputSettings& settings, std::vector<std::string> names);
    void row(const std::vector<std::optional<std::string>>& values);
    // "no rows selected" or the feedback line, as a query ends.
    void end();

  private:
    std::ostream& out_;
    const OutputSettings& settings_;
    std::vector<std::string> names_;
    int rows_ = 0;
};

}  // namespace tk::console
