// The report table's layout: display width by East Asian Width (a CJK
// character takes two terminal cells), cut names, plain CSV amounts.
#include <gtest/gtest.h>

#include <sstream>

#include "report/TablePrinter.hpp"

namespace tk::report {
namespace {

using Align = TablePrinter::Align;

TEST(TablePrinterTest, ColumnsAlignByDisplayWidthAndLongNamesAreCut) {
    TablePrinter table({{"部门"}, {"原值", Align::Right}, {"名称", Align::Left, 7}});
    table.addRow({"总经理办公室", "2000.00", "中华人民共和国"});
    table.addRow({"IT部", "1234567.50", "Ａ4"});
    std::ostringstream out;
    table.print(out);
    EXPECT_EQ(out.str(),
              "部门                  原值  名称\n"
              "-----------------------------------\n"
              "总经理办公室      2,000.00  中华人…\n"
              "IT部          1,234,567.50  Ａ4\n");
}

TEST(TablePrinterTest, CsvKeepsAmountsPlainAndQuotesWhatNeedsIt) {
    TablePrinter table({{"名称"}, {"原值", Align::Right}});
    table.addRow({"车床, 数控", "-1234567.50"});
    std::ostringstream out;
    table.printCsv(out);
    EXPECT_EQ(out.str(), "名称,原值\r\n\"车床, 数控\",-1234567.50\r\n");
    EXPECT_EQ(formatAmount(-0.001), "0.00");
    EXPECT_EQ(groupThousands("-1234567.50"), "-1,234,567.50");
    EXPECT_EQ(groupThousands("123.00"), "123.00");
}

}  // namespace
}  // namespace tk::report
