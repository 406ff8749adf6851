// The charts of the report pages.
#include <gtest/gtest.h>

#include "report/SvgChart.hpp"

namespace tk::report {
namespace {

// A chart's axis steps in round figures: December's 719,561.60 sits under a
// top of 750,000 read in steps of 250,000, and small figures keep their cents.
TEST(SvgChartTest, ChartAxesReadInRoundSteps) {
    const std::string bars =
        SvgChart::stackedBars("折旧", {"11月", "12月"}, {{"机床", {400000, 719561.60}}});
    for (const char* label : {">250,000<", ">500,000<", ">750,000<"})
        EXPECT_NE(bars.find(label), std::string::npos) << label;
    const std::string small = SvgChart::line("净值", {"1月", "2月"}, {0.5, 1.2});
    EXPECT_NE(small.find(">1.50<"), std::string::npos) << small;
}

}  // namespace
}  // namespace tk::report
