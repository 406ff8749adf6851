// Drawing the charts: round axis steps, grid lines and labels, series hues a golden angle apart.
#include "report/SvgChart.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "report/TablePrinter.hpp"

namespace tk::report {
namespace {

constexpr double kWidth = 760, kHeight = 300, kLeft = 90, kTop = 40, kBottom = 40, kRight = 170;

double plotWidth() { return kWidth - kLeft - kRight; }
double plotHeight() { return kHeight - kTop - kBottom; }

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// Three grid steps of a round size (1, 2, 2.5 or 5 times a power of ten)
// that reach over the largest value, so the axis reads 250,000 / 500,000 /
// 750,000 rather than thirds of an odd maximum.
double scaleTop(double largest) {
    if (largest <= 0) return 3;
    const double rough = largest / 3;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= rough) {
            step = m * power;
            break;
        }
    return 3 * step;
}

std::string axisNumber(double value, double top) {
    char text[32];
    std::snprintf(text, sizeof text, top >= 30 ? "%.0f" : "%.2f", value);
    return groupThousands(text);
}

// The frame, the title, the axis labels and three grid lines up to `top`.
void frame(std::ostringstream& svg, const std::string& title,
           const std::vector<std::string>& labels, double top) {
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
        << kHeight << "\" viewBox=\"0 0 " << kWidth << " " << kHeight << "\" role=\"img\">\n"
        << "<title>" << htmlEscaped(title) << "</title>\n"
        << "<text x=\"" << kLeft << "\" y=\"22\" font-size=\"15\">" << htmlEscaped(title)
        << "</text>\n";
    for (int i = 0; i <= 3; ++i) {
        const double y = kTop + plotHeight() * (1 - i / 3.0);
        svg << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + plotWidth() << "\" y1=\""
            << number(y) << "\" y2=\"" << number(y) << "\" stroke=\"#ddd\"/>\n"
            << "<text x=\"" << kLeft - 6 << "\" y=\"" << number(y + 4)
            << "\" font-size=\"11\" text-anchor=\"end\">" << axisNumber(top * i / 3, top)
            << "</text>\n";
    }
    const double step = plotWidth() / static_cast<double>(std::max<size_t>(labels.size(), 1));
    for (size_t i = 0; i < labels.size(); ++i)
        svg << "<text x=\"" << number(kLeft + step * (static_cast<double>(i) + 0.5)) << "\" y=\""
            << kHeight - kBottom + 16 << "\" font-size=\"11\" text-anchor=\"middle\">"
            << htmlEscaped(labels[i]) << "</text>\n";
}

// Hues a golden angle apart: any number of series, no two neighbours alike.
std::string colour(size_t series) {
    return "hsl(" + std::to_string(static_cast<int>(static_cast<double>(series) * 137.508) % 360) +
           ",60%,50%)";
}

}  // namespace

std::string SvgChart::stackedBars(const std::string& title, const std::vector<std::string>& labels,
                                  const std::vector<Series>& series) {
    std::vector<double> totals(labels.size());
    for (const auto& [name, values] : series)
        for (size_t i = 0; i < labels.size() && i < values.size(); ++i) totals[i] += values[i];
    const double top = scaleTop(totals.empty() ? 0 : *std::ranges::max_element(totals));
    std::ostringstream svg;
    frame(svg, title, labels, top);
    const double step = plotWidth() / static_cast<double>(std::max<size_t>(labels.size(), 1));
    std::vector<double> base(labels.size());
    for (size_t s = 0; s < series.size(); ++s) {
        const std::string fill = colour(s);
        for (size_t i = 0; i < labels.size() && i < series[s].second.size(); ++i) {
            const double h = plotHeight() * std::max(series[s].second[i], 0.0) / top;
            base[i] += h;
            svg << "<rect x=\"" << number(kLeft + step * static_cast<double>(i) + step * 0.15)
                << "\" y=\"" << number(kTop + plotHeight() - base[i]) << "\" width=\""
                << number(step * 0.7) << "\" height=\"" << number(h) << "\" fill=\"" << fill
                << "\"/>\n";
        }
        const double y = kTop + 14.0 * static_cast<double>(s);
        svg << "<rect x=\"" << kWidth - kRight + 12 << "\" y=\"" << number(y)
            << "\" width=\"10\" height=\"10\" fill=\"" << fill << "\"/>"
            << "<text x=\"" << kWidth - kRight + 26 << "\" y=\"" << number(y + 9)
            << "\" font-size=\"11\">" << htmlEscaped(TablePrinter::fitted(series[s].first, 22))
            << "</text>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

std::string SvgChart::line(const std::string& title, const std::vector<std::string>& labels,
                           const std::vector<double>& values) {
    const double top = scaleTop(values.empty() ? 0 : *std::ranges::max_element(values));
    std::ostringstream svg;
    frame(svg, title, labels, top);
    const double step = plotWidth() / static_cast<double>(std::max<size_t>(labels.size(), 1));
    svg << "<polyline fill=\"none\" stroke=\"#4e79a7\" stroke-width=\"2\" points=\"";
    for (size_t i = 0; i < values.size(); ++i)
        svg << (i ? " " : "") << number(kLeft + step * (static_cast<double>(i) + 0.5)) << ","
            << number(kTop + plotHeight() * (1 - std::max(values[i], 0.0) / top));
    svg << "\"/>\n</svg>\n";
    return svg.str();
}

}  // namespace tk::report
