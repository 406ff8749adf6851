// Reading numbers, parts and SQL literals from the texts the command line gives.
#pragma once
#include <string>
#include <vector>

namespace tk::ledger {

// A number given on the command line, all of the text, not negative;
// otherwise an error naming `what`.
double parseNonNegative(const std::string& text, const std::string& what);
// As parseNonNegative, an amount of at most two decimals within the books' maximum.
double parseAmount(const std::string& text, const std::string& what);
// A whole number from `low` to `high`, all of the text; otherwise an error naming `what`.
int parseInteger(const std::string& text, int low, int high, const std::string& what);
// "a:b:c" cut at the colons into exactly `parts` pieces; otherwise an error naming `what`.
std::vector<std::string> splitParts(const std::string& text, size_t parts, const std::string& what);
// A text as an SQL string literal.
std::string sqlText(const std::string& text);

}  // namespace tk::ledger
