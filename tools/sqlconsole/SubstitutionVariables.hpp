// The console's substitution variables: DEFINE, UNDEFINE and &name / &&name in script text.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tk::console {

// Text variables a script defines and refers to as &name (or &&name, which
// also defines the value it was given). Names are case-insensitive. A "."
// right after the name ends it and is dropped, so "&file..log" is "x.log".
class SubstitutionVariables {
  public:
    // Asks for the value of an undefined variable; nothing when no one can answer.
    using Asker = std::function<std::optional<std::string>(const std::string& name)>;

    void define(const std::string& name, const std::string& value);
    // False when the variable was not defined.
    bool undefine(const std::string& name);
    std::optional<std::string> value(const std::string& name) const;
    // Name (upper case) to value, in name order.
    const std::map<std::string, std::string>& all() const { return values_; }

    // The text with each &name replaced. Throws ConsoleError naming the first
    // undefined variable `ask` cannot give a value for.
    std::string substitute(const std::string& text, const Asker& ask);

    bool enabled = true;  // SET DEFINE ON / OFF
    char prefix = '&';    // SET DEFINE <char>
    char concat = '.';    // SET CONCAT <char>
    bool verify = true;   // SET VERIFY: list lines before and after substitution

  private:
    std::string valueFor(const std::string& name, bool keep, const Asker& ask);

    std::map<std::string, std::string> values_;
};

}  // namespace tk::console
