// The columns two tables have in common, as an upgrade statement names them.
#pragma once
#include <initializer_list>
#include <string>

namespace tk::am {

// The columns a table of fromOwner shares with a table of [NewUser], less
// those the statement fills itself: "a, b" and, with the alias, "o.a, o.b".
// A column one release or module adds is carried wherever both sides have it.
struct SharedColumns {
    std::string plain, prefixed;

    SharedColumns(const std::string& fromOwner, const std::string& fromTable,
                  const std::string& toTable, std::initializer_list<std::string> filledHere,
                  const std::string& alias = "o");
};

}  // namespace tk::am
