// Cutting translated text at its markers, checking that the cut gives back the exact
// translation, and filling the holes with literals.
#include "translate/TranslationTemplate.hpp"

#include <algorithm>

namespace tk::translate {
namespace {

bool continuesToken(char c) {
    auto u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
           c == '_' || c == '\'' || u >= 0x80;
}

// Where `marker` stands as a whole token in `text`.
std::vector<size_t> occurrences(const std::string& text, const std::string& marker) {
    std::vector<size_t> found;
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + marker.size())) {
        size_t end = at + marker.size();
        bool whole = (at == 0 || !continuesToken(text[at - 1])) &&
                     (end == text.size() || !continuesToken(text[end]));
        if (whole || marker.front() == '\'') found.push_back(at);
    }
    return found;
}

}  // namespace

TranslationTemplate::TranslationTemplate(Translation exact)
    : sql_{std::move(exact.sql), {}},
      insertSelect_{std::move(exact.insertSelect), {}},
      insertTable_(std::move(exact.insertTable)),
      insertValueCount_(exact.insertValueCount) {}

std::optional<TranslationTemplate> TranslationTemplate::cut(const Translation& shaped,
                                                            const StatementShape& shape,
                                                            const Translation& expected) {
    TranslationTemplate t;
    const std::vector<std::string> markers = shape.markers();
    t.sql_ = cutText(shaped.sql, markers);
    t.insertSelect_ = cutText(shaped.insertSelect, markers);
    t.insertTable_ = shaped.insertTable;
    t.insertValueCount_ = shaped.insertValueCount;
    Translation filled = t.fill(shape.literals());
    bool same = filled.sql == expected.sql && filled.insertSelect == expected.insertSelect &&
                filled.insertTable == expected.insertTable &&
                filled.insertValueCount == expected.insertValueCount;
    if (!same) return std::nullopt;
    return t;
}

TranslationTemplate::Text TranslationTemplate::cutText(const std::string& translated,
                                                       const std::vector<std::string>& markers) {
    std::vector<std::pair<size_t, uint32_t>> found;  // offset in `translated`, literal
    for (uint32_t i = 0; i < markers.size(); ++i) {
        for (size_t at : occurrences(translated, markers[i])) found.emplace_back(at, i);
    }
    std::sort(found.begin(), found.end());
    Text t;
    size_t copied = 0;
    for (auto [at, literal] : found) {
        if (at < copied) continue;  // overlapping matches are left to the check in cut()
        t.text.append(translated, copied, at - copied);
        t.holes.emplace_back(t.text.size(), literal);
        copied = at + markers[literal].size();
    }
    t.text.append(translated, copied);
    return t;
}

std::string TranslationTemplate::fillText(const Text& t,
                                          const std::vector<std::string_view>& literals) {
    if (t.holes.empty()) return t.text;
    std::string out;
    size_t copied = 0;
    for (auto [at, literal] : t.holes) {
        out.append(t.text, copied, at - copied);
        out += literals[literal];
        copied = at;
    }
    out.append(t.text, copied);
    return out;
}

Translation TranslationTemplate::fill(const std::vector<std::string_view>& literals) const {
    Translation t;
    t.sql = fillText(sql_, literals);
    t.insertSelect = fillText(insertSelect_, literals);
    t.insertTable = insertTable_;
    t.insertValueCount = insertValueCount_;
    return t;
}

}  // namespace tk::translate
