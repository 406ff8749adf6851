// Headings, rows and the closing line of query output.
#include "RowPrinter.hpp"

#include "Feedback.hpp"

namespace tk::console {

RowPrinter::RowPrinter(std::ostream& out, const OutputSettings& settings,
                       std::vector<std::string> names)
    : out_(out), settings_(settings), names_(std::move(names)) {}

void RowPrinter::row(const std::vector<std::optional<std::string>>& values) {
    if (rows_++ == 0 && settings_.heading) {
        std::string heading, rule;
        for (size_t i = 0; i < names_.size(); ++i) {
            std::string name = upperAscii(names_[i]);
            heading += (i ? " " : "") + name;
            rule += (i ? " " : "") + std::string(name.size(), '-');
        }
        out_ << heading << "\n" << rule << "\n";
    }
    for (size_t i = 0; i < values.size(); ++i) out_ << (i ? " " : "") << values[i].value_or("");
    out_ << "\n";
}

void RowPrinter::end() {
    if (rows_ == 0)
        out_ << "no rows selected\n";
    else if (settings_.feedback > 0 && rows_ >= settings_.feedback)
        out_ << rows_ << (rows_ == 1 ? " row selected.\n" : " rows selected.\n");
}

}  // namespace tk::console
