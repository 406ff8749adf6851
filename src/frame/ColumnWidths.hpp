// The declared widths of the account set's text columns, against which input is checked.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tk::am {

// The declared character widths of the text columns of the thread
// connection's account set, as the catalog gives them, read once per table.
class ColumnWidths {
  public:
    // The width of table.column, or nothing when it has none (or no such column).
    static std::optional<int> of(std::string_view table, std::string_view column);

  private:
    static const std::map<std::string, int>& tableWidths(const std::string& table);
};

}  // namespace tk::am
