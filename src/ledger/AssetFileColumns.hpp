// The columns of an asset file, shared by import and export.
#pragma once
#include <array>
#include <string_view>

namespace tk::ledger {

// The columns of an asset file, as the register names them; import and export
// share them so that an export reads back in.
enum class AssetColumn {
    Code,
    Name,
    Category,
    Department,
    Date,
    Method,
    Cost,
    Residual,
    Life,
    Funds,
    AccountLines
};

inline constexpr std::array<std::string_view, 11> kAssetColumnTitles = {
    "资产编码", "资产名称", "类别编码", "部门编码", "入账日期", "折旧方法",
    "原值",     "净残值",   "使用期间", "资金来源", "折旧分摊"};

constexpr std::string_view titleOf(AssetColumn column) {
    return kAssetColumnTitles[static_cast<size_t>(column)];
}

}  // namespace tk::ledger
