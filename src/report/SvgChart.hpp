// Inline SVG charts, stacked bars and a line, for the report pages.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace tk::report {

// Inline SVG charts for a report page: drawn from numbers alone, no scripts.
class SvgChart {
  public:
    using Series = std::pair<std::string, std::vector<double>>;  // name, one value per label

    // Bars per label, one coloured segment per series, with a legend.
    static std::string stackedBars(const std::string& title, const std::vector<std::string>& labels,
                                   const std::vector<Series>& series);
    // One line through a value per label.
    static std::string line(const std::string& title, const std::vector<std::string>& labels,
                            const std::vector<double>& values);
};

}  // namespace tk::report
