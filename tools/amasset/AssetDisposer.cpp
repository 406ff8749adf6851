#include "AssetDisposer.hpp"

#include <stdexcept>

#include "AssetVersionWriter.hpp"
#include "InputText.hpp"

namespace tk::tools {
namespace {

constexpr int32_t kDecreaseReceiptType = 49;
constexpr int32_t kDecreaseTemplate = 2;
constexpr int32_t kDecreaseWays = 1;  // bytAssetAlterType of the ways of decrease

}  // namespace

void AssetDisposer::dispose(const std::string& assetCode, const std::string& date,
                            const std::string& way) const {
    auto wayID = session_.lookup(
        "Select lngAMAssetMethodID From AMAssetMethod Where bytAssetAlterType = " +
        std::to_string(kDecreaseWays) + " And strAMAssetMethodCode = " + sqlText(way));
    if (!wayID) throw std::runtime_error("减少方式不存在: \"" + way + "\"");
    // The decrease version keeps the figures the asset leaves with.
    AssetVersionWriter(session_).write(
        assetCode, {am::atDec, kDecreaseReceiptType, kDecreaseTemplate, std::stoi(*wayID), date,
                    [](am::clsAMAssetCard&) {}});
}

}  // namespace tk::tools
