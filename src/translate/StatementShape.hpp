// A statement's shape: its pasted literals lifted out, so that similar statements share a key.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tk::translate {

// A statement with the literals a caller pastes in (numbers and quoted texts)
// lifted out: statements that differ only in those values share one shape,
// and so one translation. Each lifted literal is replaced by a marker that the
// translator handles as it would the literal, and that is found again in the
// translated text. Literals whose translation depends on their value stay in
// the shape: '' (Oracle's NULL), arguments of function calls and type names
// (formats, lengths, DECODE results), ROWNUM limits. Only queries and DML are
// lifted; blocks and DDL are shapes of their own whole text.
class StatementShape {
  public:
    // Throws TranslationError for a text the tokenizer refuses.
    StatementShape(std::string_view oracleSql, bool inTransaction);

    // The cache key: "0" or "1" for the transaction state (it changes how
    // blocks translate), then the text with markers in place of literals.
    const std::string& key() const { return key_; }
    // The text to translate: markers in place of literals.
    std::string_view text() const { return std::string_view(key_).substr(1); }
    // The lifted literals as written, in order; literal i stands for marker(i).
    const std::vector<std::string_view>& literals() const { return literals_; }
    std::vector<std::string> markers() const;

  private:
    static void appendMarker(std::string& out, std::string_view literal, size_t index);

    std::string key_;
    std::vector<std::string_view> literals_;
};

}  // namespace tk::translate
