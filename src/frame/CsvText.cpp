// Splits CSV text into lines and cells, quoted cells and doubled quotes included, and
// quotes a cell for writing.
#include "frame/CsvText.hpp"

#include <algorithm>

namespace tk::am {
namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool blank(const std::vector<std::string>& cells) {
    return std::ranges::all_of(cells, [](const std::string& c) { return c.empty(); });
}

}  // namespace

CsvText::CsvText(const std::string& text) {
    size_t i = text.starts_with(kByteOrderMark) ? 3 : 0;
    size_t number = 1, started = 1;
    std::vector<std::string> cells(1);
    bool quoted = false;
    auto endLine = [&] {
        if (!blank(cells)) lines_.push_back({started, std::move(cells)});
        cells.assign(1, "");
        started = number;
    };
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') ++number;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else if (c == '\n') {
            endLine();
        } else if (c != '\r') {
            cells.back() += c;
        }
    }
    endLine();
}

std::string CsvText::field(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace tk::am
