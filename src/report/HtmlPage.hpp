// A self-contained HTML report page: styles, tables and inline SVG, nothing fetched.
#pragma once
#include <filesystem>
#include <sstream>
#include <string>

#include "report/TablePrinter.hpp"

namespace tk::report {

// One self-contained report page: its own styles, tables and inline SVG, no
// scripts and nothing fetched from elsewhere.
class HtmlPage {
  public:
    explicit HtmlPage(std::string title);
    void addHeading(const std::string& text);
    void addTable(const TablePrinter& table);
    void addSvg(const std::string& svg);
    // An error naming the file when it cannot be written.
    void write(const std::filesystem::path& file) const;

  private:
    std::string title_;
    std::ostringstream body_;
};

}  // namespace tk::report
