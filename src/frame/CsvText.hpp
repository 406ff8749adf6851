// Comma-separated text as spreadsheets write it, read into numbered lines of cells.
#pragma once
#include <string>
#include <vector>

namespace tk::am {

// Comma-separated text as a spreadsheet writes it (RFC 4180): UTF-8 with or
// without a byte-order mark, quoted cells may hold commas, quotes and line
// breaks, lines end in CR LF or LF; blank lines are skipped.
class CsvText {
  public:
    struct Line {
        size_t number = 0;  // in the file, the header being 1
        std::vector<std::string> cells;
    };

    explicit CsvText(const std::string& text);
    const std::vector<Line>& lines() const { return lines_; }
    // A cell as a CSV file needs it: quoted when it holds a comma, a quote or a line break.
    static std::string field(const std::string& text);

  private:
    std::vector<Line> lines_;
};

}  // namespace tk::am
