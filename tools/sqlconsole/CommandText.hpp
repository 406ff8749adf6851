// Helpers for reading console command lines: blanks, semicolons, quotes and abbreviations.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tk::console {

std::string trimmed(const std::string& text);
// The text without the ";" that may end a command, and the blanks around.
std::string withoutSemicolon(std::string text);
// The text between a pair of single or double quotes around it, else the text itself.
std::string unquoted(const std::string& text);
// Whether `word` (in any case) is `full` or an abbreviation of at least `shortest` letters,
// as the console takes "DESC" for DESCRIBE and "SERVEROUT" for SERVEROUTPUT.
bool abbreviates(std::string_view word, std::string_view full, size_t shortest);
// The command's words split at blanks; a quoted word keeps its blanks and loses its quotes.
std::vector<std::string> commandWords(const std::string& text);
// The text after the command's first word, trimmed.
std::string afterVerb(const std::string& text);
bool isNumber(const std::string& text);

}  // namespace tk::console
