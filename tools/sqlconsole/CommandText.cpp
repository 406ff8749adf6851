// Splitting and matching console command lines.
#include "CommandText.hpp"

#include "host/Dispatchable.hpp"

namespace tk::console {

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string withoutSemicolon(std::string text) {
    text = trimmed(text);
    while (!text.empty() && text.back() == ';') text.pop_back();
    return trimmed(text);
}

std::string unquoted(const std::string& text) {
    bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                  text.back() == text.front();
    return quoted ? text.substr(1, text.size() - 2) : text;
}

bool abbreviates(std::string_view word, std::string_view full, size_t shortest) {
    return word.size() >= shortest && word.size() <= full.size() &&
           lowerAscii(word) == lowerAscii(full.substr(0, word.size()));
}

std::vector<std::string> commandWords(const std::string& text) {
    std::vector<std::string> words;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        char quote = text[i] == '"' || text[i] == '\'' ? text[i] : '\0';
        size_t end = quote ? text.find(quote, i + 1) : text.find_first_of(" \t", i);
        if (end == std::string::npos) end = text.size();
        words.push_back(quote ? text.substr(i + 1, end - i - 1) : text.substr(i, end - i));
        i = quote ? end + 1 : end;
    }
    return words;
}

std::string afterVerb(const std::string& text) {
    size_t blank = text.find_first_of(" \t");
    return blank == std::string::npos ? "" : trimmed(text.substr(blank));
}

bool isNumber(const std::string& text) {
    size_t digits = text.starts_with('-') ? 1 : 0;
    return text.size() > digits &&
           text.find_first_not_of("0123456789", digits) == std::string::npos;
}

}  // namespace tk::console
