// The console's bind variables: VARIABLE, their values, and :name in statements and blocks.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tk::console {

// Variables a script declares with VARIABLE and uses as :name. The server
// never sees them: a statement gets their values written in as literals, and
// a PL/SQL block is wrapped in one that holds them in local variables and
// reports their final values back as marked output lines (see absorb).
class BindVariables {
  public:
    enum class Kind { Number, Text, Date };
    struct Variable {
        std::string name;      // upper case
        std::string typeName;  // NUMBER, VARCHAR2, CHAR, DATE, CLOB …
        Kind kind = Kind::Text;
        int size = 0;  // for VARCHAR2 and CHAR
        std::optional<std::string> value;
        std::string type() const;  // as VARIABLE shows it: "VARCHAR2(20)"
    };

    // Declares (or declares again, with no value) a variable of a type such as
    // "NUMBER" or "VARCHAR2(20)"; throws ConsoleError for a bad name or type.
    void declare(const std::string& name, const std::string& type);
    const Variable* find(const std::string& name) const;
    const std::vector<Variable>& all() const { return variables_; }

    // Whether the text refers to a bind variable outside its literals and comments.
    static bool mentioned(const std::string& sql);
    // The statement with each :name replaced by its value as a literal.
    std::string inlined(const std::string& sql) const;
    // The block inside one that works on local copies of the variables it
    // names and reports their values at its end.
    std::string wrapped(const std::string& block) const;
    // Takes a value a wrapped block reported; false for any other output line.
    bool absorb(const std::string& line);

  private:
    Variable* slot(const std::string& name);
    const Variable& declared(const std::string& name) const;
    std::vector<std::string> namesIn(const std::string& sql) const;

    std::vector<Variable> variables_;
};

}  // namespace tk::console
