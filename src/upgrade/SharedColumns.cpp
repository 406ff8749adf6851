// The columns two tables share, read from the dictionary.
#include "upgrade/SharedColumns.hpp"

#include <algorithm>

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/TableCopier.hpp"

namespace tk::am {

SharedColumns::SharedColumns(const std::string& fromOwner, const std::string& fromTable,
                             const std::string& toTable,
                             std::initializer_list<std::string> filledHere,
                             const std::string& alias) {
    std::string srcCols, dstCols;
    std::string common =
        MapColumns(fromOwner, context().NewUser, fromTable, toTable, srcCols, dstCols);
    std::string column;
    for (int32_t i = 1; GetListItem(common, i, ',', column) && !column.empty(); ++i) {
        if (std::any_of(filledHere.begin(), filledHere.end(), [&](const std::string& filled) {
                return UpperAscii(filled) == UpperAscii(column);
            }))
            continue;
        plain += (plain.empty() ? "" : ", ") + column;
        prefixed += (prefixed.empty() ? "" : ", ") + alias + "." + column;
    }
}

}  // namespace tk::am
