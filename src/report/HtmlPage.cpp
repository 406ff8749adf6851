// The page's fixed style sheet, and the whole page written to a file.
#include "report/HtmlPage.hpp"

#include <fstream>
#include <stdexcept>

namespace tk::report {
namespace {

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;margin:1em 0;font-size:13px}"
    "th,td{padding:3px 8px;border-bottom:1px solid #eee;white-space:nowrap}"
    "th{background:#f4f4f4;text-align:left}td.n{text-align:right;font-variant-numeric:tabular-nums}"
    "tr.ruled td{border-top:2px solid #999;font-weight:bold}svg{display:block;margin:1em 0}";

}  // namespace

HtmlPage::HtmlPage(std::string title) : title_(std::move(title)) {}

void HtmlPage::addHeading(const std::string& text) {
    body_ << "<h2>" << htmlEscaped(text) << "</h2>\n";
}

void HtmlPage::addTable(const TablePrinter& table) { table.printHtml(body_); }

void HtmlPage::addSvg(const std::string& svg) { body_ << svg; }

void HtmlPage::write(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary);
    out << "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << htmlEscaped(title_) << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n<h1>"
        << htmlEscaped(title_) << "</h1>\n"
        << body_.str() << "</body>\n</html>\n";
    if (!out) throw std::runtime_error("无法写入文件: " + file.string());
}

}  // namespace tk::report
