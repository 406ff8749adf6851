// The report table: aligned text with CJK widths, CSV or HTML.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "frame/Conversion.hpp"

namespace tk::report {

using am::formatAmount;
using am::groupThousands;

// A report table: aligned columns on a terminal (CJK characters take two
// cells), CSV in UTF-8, or an HTML table.
class TablePrinter {
  public:
    // Right: an amount, given plain ("2000.00"); CSV keeps it so, the terminal
    // and HTML show it with thousands separators.
    enum class Align { Left, Right };
    struct Column {
        std::string title;
        Align align = Align::Left;
        size_t maxWidth = 0;  // display cells on a terminal; 0: as wide as needed
    };

    explicit TablePrinter(std::vector<Column> columns);
    void addRow(std::vector<std::string> cells);
    // A rule line before the next row (a subtotal, the total).
    void addRule();
    void print(std::ostream& out) const;
    void printCsv(std::ostream& out) const;
    void printHtml(std::ostream& out) const;

    static size_t displayWidth(const std::string& utf8);
    // The text cut to at most `width` display cells, ending in "…" when cut.
    static std::string fitted(const std::string& utf8, size_t width);

  private:
    std::string shown(const std::string& cell, size_t column) const;

    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;  // an empty row stands for a rule
};

// How wide the reports let names and departments grow on a terminal.
constexpr size_t kNameWidth = 24, kDepartmentWidth = 16;

// Text safe inside HTML elements and attributes.
std::string htmlEscaped(const std::string& text);

}  // namespace tk::report
