#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tk::tools {

// A report table: aligned columns on a terminal (CJK characters take two
// cells), or CSV in UTF-8.
class TablePrinter {
  public:
    enum class Align { Left, Right };
    struct Column {
        std::string title;
        Align align = Align::Left;
    };

    explicit TablePrinter(std::vector<Column> columns);
    void addRow(std::vector<std::string> cells);
    // A rule line before the next row (a subtotal, the total).
    void addRule();
    void print(std::ostream& out) const;
    void printCsv(std::ostream& out) const;

    static size_t displayWidth(const std::string& utf8);

  private:
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;  // an empty row stands for a rule
};

// An amount to the cent with thousands separators: 1234567.5 → "1,234,567.50".
std::string formatAmount(double value);

}  // namespace tk::tools
