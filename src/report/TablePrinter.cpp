// Table printing: UTF-8 display widths, cut and aligned columns, thousands separators, CSV and
// escaped HTML.
#include "report/TablePrinter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frame/CsvText.hpp"

namespace tk::report {
namespace {

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The length in bytes of the UTF-8 character at `i`, and its display width.
std::pair<size_t, size_t> character(const std::string& utf8, size_t i) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    return {length, isWide(code) ? 2 : 1};
}

}  // namespace

size_t TablePrinter::displayWidth(const std::string& utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        auto [length, cells] = character(utf8, i);
        width += cells;
        i += length;
    }
    return width;
}

std::string TablePrinter::fitted(const std::string& utf8, size_t width) {
    if (displayWidth(utf8) <= width) return utf8;
    size_t used = 0, end = 0;
    while (end < utf8.size()) {
        auto [length, cells] = character(utf8, end);
        if (used + cells + 1 > width) break;  // room for the ellipsis
        used += cells;
        end += length;
    }
    return utf8.substr(0, end) + "…";
}

TablePrinter::TablePrinter(std::vector<Column> columns) : columns_(std::move(columns)) {}

void TablePrinter::addRow(std::vector<std::string> cells) {
    cells.resize(columns_.size());
    rows_.push_back(std::move(cells));
}

void TablePrinter::addRule() { rows_.emplace_back(); }

std::string TablePrinter::shown(const std::string& cell, size_t column) const {
    const Column& c = columns_[column];
    if (c.align == Align::Right) return groupThousands(cell);
    return c.maxWidth ? fitted(cell, c.maxWidth) : cell;
}

void TablePrinter::print(std::ostream& out) const {
    std::vector<std::vector<std::string>> shownRows;
    for (const auto& row : rows_) {
        shownRows.emplace_back();
        for (size_t i = 0; i < row.size(); ++i) shownRows.back().push_back(shown(row[i], i));
    }
    std::vector<size_t> widths;
    for (const auto& c : columns_) widths.push_back(displayWidth(c.title));
    for (const auto& row : shownRows)
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    auto line = [&](const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) {
            std::string pad(widths[i] - displayWidth(cells[i]), ' ');
            bool right = columns_[i].align == Align::Right;
            out << (i ? "  " : "")
                << (right ? pad + cells[i] : cells[i] + (i + 1 < cells.size() ? pad : ""));
        }
        out << "\n";
    };
    auto rule = [&] {
        size_t total = 0;
        for (size_t w : widths) total += w + 2;
        out << std::string(total > 2 ? total - 2 : 0, '-') << "\n";
    };
    std::vector<std::string> titles;
    for (const auto& c : columns_) titles.push_back(c.title);
    line(titles);
    rule();
    for (const auto& row : shownRows) row.empty() ? rule() : line(row);
}

void TablePrinter::printCsv(std::ostream& out) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        out << (i ? "," : "") << am::CsvText::field(columns_[i].title);
    out << "\r\n";
    for (const auto& row : rows_) {
        if (row.empty()) continue;
        for (size_t i = 0; i < row.size(); ++i) out << (i ? "," : "") << am::CsvText::field(row[i]);
        out << "\r\n";
    }
}

void TablePrinter::printHtml(std::ostream& out) const {
    out << "<table>\n<thead><tr>";
    for (const auto& c : columns_) out << "<th>" << htmlEscaped(c.title) << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    bool ruled = false;
    for (const auto& row : rows_) {
        if (row.empty()) {
            ruled = true;
            continue;
        }
        out << (ruled ? "<tr class=\"ruled\">" : "<tr>");
        for (size_t i = 0; i < row.size(); ++i)
            out << (columns_[i].align == Align::Right ? "<td class=\"n\">" : "<td>")
                << htmlEscaped(columns_[i].align == Align::Right ? groupThousands(row[i]) : row[i])
                << "</td>";
        out << "</tr>\n";
        ruled = false;
    }
    out << "</tbody>\n</table>\n";
}

std::string htmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace tk::report
