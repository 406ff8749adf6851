// Copying rows from the old account set's schema into the new one's, for the
// carry-forward and the upgrade.
#pragma once
#include <string>

namespace tk::am {

// Moves rows from the old account set's schema (OldUser) into the new one's (NewUser).
bool CopyTable(const std::string& tableList, const std::string& condition, std::string& errorText);
bool CopyViewRows(const std::string& oldOwner, const std::string& newOwner);
bool CopyRowsByCursor(const std::string& table, const std::string& condition);
std::string MapColumns(const std::string& srcOwner, const std::string& dstOwner,
                       const std::string& srcTable, const std::string& dstTable,
                       std::string& srcCols, std::string& dstCols);
bool GetListItem(const std::string& list, int32_t index, char separator, std::string& item);

}  // namespace tk::am
